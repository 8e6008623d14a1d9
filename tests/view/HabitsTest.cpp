// The habits of the desktop viewers in kestrova-view's window on the tests' own X server: Space and
// Shift+Space, a file dropped on the window, full screen, the presentation, night colours kept for the next
// run, and the list of search results.
#include "ViewTestSupport.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

using namespace PDFium;

class HabitsTest : public ManualTest {
protected:
    QScrollBar& Bar() { return *area->verticalScrollBar(); }
    QAction& Action(const char* name) { return *window.findChild<QAction*>(QLatin1String(name)); }
};

// Space goes a screen on as Page Down does, Shift+Space a screen back as Page Up does.
TEST_F(HabitsTest, SpaceAndShiftSpacePageOnAndBack) {
    window.GoToPage(3);
    struct Case {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        Qt::Key Like;
    };
    for (const Case& c : {Case{Qt::Key_Space, Qt::NoModifier, Qt::Key_PageDown},
                          Case{Qt::Key_Space, Qt::ShiftModifier, Qt::Key_PageUp}}) {
        SCOPED_TRACE(c.Modifiers == Qt::NoModifier ? "Space" : "Shift+Space");
        const int from = Bar().value();
        QTest::keyClick(&window.View(), c.Like);
        const int expected = Bar().value();
        ASSERT_NE(expected, from);
        Bar().setValue(from);
        QTest::keyClick(&window.View(), c.Key, c.Modifiers);
        EXPECT_EQ(Bar().value(), expected);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// A PDF dropped on the window opens in it; what is not a file is refused.
TEST_F(HabitsTest, AFileDroppedOnTheWindowOpens) {
    FixtureDocument document;
    document.Pages = {FixturePage{{612, 792}, "Dropped"}};
    const QString file = WritePdf(folder.path(), "dropped.pdf", document);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    const QPoint middle = area->viewport()->rect().center();
    QDragEnterEvent enter(area->viewport()->mapTo(&window, middle), Qt::CopyAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(area->viewport()->mapTo(&window, middle)), Qt::CopyAction, &data, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_EQ(window.Pdf().FileName(), file);
    EXPECT_EQ(window.View().Text(0, 7), "Dropped");

    QMimeData web;
    web.setUrls({QUrl("https://example.com/a.pdf")});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// F11 makes the window full screen and back; F5 shows one page fitted whole on black with nothing else, moved
// on and back by the keys and clicks of the desktop viewers' presentations, and Escape gives the window back
// as it was.
TEST_F(HabitsTest, FullScreenAndThePresentation) {
    QTest::keyClick(&window, Qt::Key_F11);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isFullScreen(); }));
    QTest::keyClick(&window, Qt::Key_F11);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isFullScreen(); }));

    window.SetZoom({TZoomMode::Factor, 1.5});
    window.GoToPage(4);
    QList<QWidget*> chrome{window.menuBar(), window.findChild<QToolBar*>(), window.statusBar(),
                           window.findChild<QTabWidget*>("tcSide")};
    QTest::keyClick(&window, Qt::Key_F5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isFullScreen(); }));
    Settle();
    for (QWidget* widget : chrome)
        EXPECT_FALSE(widget->isVisible()) << widget->objectName().toStdString();
    EXPECT_FALSE(window.Column().Continuous());
    EXPECT_EQ(window.Zoom().Mode, TZoomMode::FitPage);
    EXPECT_EQ(window.Column().ShownViews(), QList<TPdfView*>{&window.View()});
    // The page whole in the screen, black beside it.
    EXPECT_TRUE(area->viewport()->rect().contains(window.View().geometry()));
    const QImage screen = Shown(*area->viewport());
    EXPECT_EQ(QColor(screen.pixel(2, screen.height() / 2)), QColor(Qt::black));

    // The keys and clicks of evince's and okular's presentations, each from the fifth page of 36.
    struct Step {
        const char* Name;
        std::function<void()> Action;
        int Page;
    };
    auto key = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return [&, key, modifiers] {
            QTest::keyClick(&window.View(), key, modifiers);
        };
    };
    auto click = [&](Qt::MouseButton button) {
        return [&, button] {
            QTest::mouseClick(&window.View(), button, {}, QPoint(20, 20));
        };
    };
    const QList<Step> steps = {
        {"Right", key(Qt::Key_Right), 6},
        {"Down", key(Qt::Key_Down), 6},
        {"Page Down", key(Qt::Key_PageDown), 6},
        {"Space", key(Qt::Key_Space), 6},
        {"Return", key(Qt::Key_Return), 6},
        {"a click", click(Qt::LeftButton), 6},
        {"Left", key(Qt::Key_Left), 4},
        {"Up", key(Qt::Key_Up), 4},
        {"Page Up", key(Qt::Key_PageUp), 4},
        {"Backspace", key(Qt::Key_Backspace), 4},
        {"Shift+Space", key(Qt::Key_Space, Qt::ShiftModifier), 4},
        {"a right click", click(Qt::RightButton), 4},
        {"Home", key(Qt::Key_Home), 1},
        {"End", key(Qt::Key_End), 36},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.Name);
        window.GoToPage(5);
        step.Action();
        EXPECT_EQ(window.Column().CurrentPage(), step.Page);
        EXPECT_TRUE(window.isFullScreen());
    }
    window.GoToPage(5);
    QTest::keyClick(&window.View(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isFullScreen(); }));
    Settle();
    for (QWidget* widget : chrome)
        EXPECT_TRUE(widget->isVisible()) << widget->objectName().toStdString();
    EXPECT_TRUE(window.Column().Continuous());
    EXPECT_EQ(window.Zoom().Factor, 1.5);
    EXPECT_EQ(window.Column().CurrentPage(), 5);
    EXPECT_FALSE(Action("acPresentation").isChecked());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// Night colours show every pixel of the page inverted, and the next window starts in them.
TEST_F(HabitsTest, NightColoursInvertThePageAndAreKept) {
    window.SetZoom({TZoomMode::FitPage});
    const QImage day = ShownPage();
    Action("acNightMode").trigger();
    const QImage night = ShownPage();
    ASSERT_EQ(night.size(), day.size());
    QImage inverted = day;
    inverted.invertPixels();
    EXPECT_EQ(DifferentPixels(night, inverted), 0);
    EXPECT_LT(qGray(night.pixel(night.width() / 2, 2)), 10); // the white margin is black

    TViewerWindow next;
    EXPECT_TRUE(next.findChild<QAction*>("acNightMode")->isChecked());
    next.OpenFile(testDataPath(Manual));
    EXPECT_TRUE(next.View().Inverted());
    Action("acNightMode").trigger();
    EXPECT_FALSE(window.View().Inverted());
}

// The results list a line for each match of the whole document, with its page and the words around it; a
// line goes to its match.
TEST_F(HabitsTest, TheListOfResultsHoldsEveryMatchAndGoesToIt) {
    window.Find(QStringLiteral("ASN.1"));
    auto* results = window.findChild<QListWidget*>("lwResults");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !window.findChild<QWidget*>("btStopSearch")->isVisible(); }, 20000));
    ASSERT_EQ(results->count(), MatchesInTheManual("ASN.1"));
    for (int row : {0, results->count() / 2, results->count() - 1}) {
        SCOPED_TRACE(row);
        QListWidgetItem* item = results->item(row);
        EXPECT_TRUE(item->text().contains("ASN.1", Qt::CaseInsensitive)) << item->text().toStdString();
        results->scrollToItem(item);
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, results->visualItemRect(item).center());
        const int page = item->data(Qt::UserRole).toInt();
        EXPECT_EQ(window.Column().CurrentPage(), page);
        const QString label = window.Pdf().PageLabel(page);
        EXPECT_TRUE(item->text().startsWith((label.isEmpty() ? QString::number(page) : label) + ": "));
        TPdfView& view = *window.Column().ShownView(page);
        ASSERT_GE(view.SelectionCurrent(), 0);
        const TTextRange hit = view.Selection()[view.SelectionCurrent()];
        EXPECT_EQ(view.Text(hit.StartIndex, hit.Count).toLower(), "asn.1");
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}
