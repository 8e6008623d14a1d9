// Search in kestrova-view's window on the tests' own X server: every hit scrolled into sight, the pages
// between two matches read while the window paints, the matches of the whole document counted in the
// background with its progress and a way to stop it, all in sight in the status bar, the search starting as
// a person types, and Control+F reaching the search box in the tool bar's overflow.
#include "ViewTestSupport.h"
#include "support/TestData.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

using namespace PDFium;

class SearchTest : public ManualTest {
protected:
    void SetUp() override {
        ManualTest::SetUp();
        if (IsSkipped())
            return;
        search = window.findChild<QLineEdit*>("edSearch");
        countLabel = window.findChild<QLabel*>("lSearchCount");
    }

    // The current match's rectangle in the page area's viewport.
    QRect HitOnScreen() {
        TPdfView& view = window.View();
        const int current = view.SelectionCurrent();
        EXPECT_GE(current, 0);
        if (current < 0)
            return {};
        const TTextRange hit = view.Selection()[current];
        QRect shown;
        for (const TPdfRectangle& r : view.TextRectangles(hit.StartIndex, hit.Count))
            shown |= QRect(ViewPoint(r.Left, r.Top), ViewPoint(r.Right, r.Bottom)).normalized();
        return QRect(view.mapTo(area->viewport(), shown.topLeft()), shown.size());
    }

    // Waits until the search has got to its match, or to the end.
    void WaitForTheSearch() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !lSearch()->text().contains("Searching"); }, 20000));
    }
    QLabel* lSearch() { return window.findChild<QLabel*>("lSearch"); }

    QLineEdit* search = nullptr;
    QLabel* countLabel = nullptr;
};

TEST_F(SearchTest, EveryHitIsScrolledIntoSight) {
    // At 200 % a page is two screens high and wider than the area: hits lie beyond every edge.
    window.SetZoom({TZoomMode::Factor, 2.0});
    window.Find(QStringLiteral("the"));
    QList<int> places;
    for (int i = 0; i < 40; ++i) {
        SCOPED_TRACE(i);
        const QRect hit = HitOnScreen();
        EXPECT_TRUE(area->viewport()->rect().contains(hit)) << hit.x() << "," << hit.y();
        places.append(area->verticalScrollBar()->value());
        window.FindNext();
        WaitForTheSearch();
    }
    EXPECT_GT(window.View().PageNumber(), 1);
    // The area scrolled on its way.
    EXPECT_GT(QSet<int>(places.begin(), places.end()).size(), 3);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(SearchTest, TheWholeDocumentIsCountedInTheBackground) {
    const int expected = MatchesInTheManual(QStringLiteral("ASN.1"));
    ASSERT_GT(expected, 10);
    auto* progress = window.findChild<QProgressBar*>("pbSearch");
    auto* cancel = window.findChild<QToolButton*>("btStopSearch");
    window.Find(QStringLiteral("ASN.1"));
    // The first match is shown at once; the count goes on while the window takes events.
    EXPECT_EQ(window.View().SelectionCurrent(), 0);
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_EQ(progress->maximum(), window.Pdf().PageCount());
    EXPECT_LT(progress->value(), progress->maximum());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !cancel->isVisible(); }, 10000));
    EXPECT_EQ(progress->value(), progress->maximum());
    EXPECT_EQ(countLabel->text().trimmed(), QStringLiteral("1 of %1 in the document").arg(expected));
    window.FindNext();
    window.FindNext();
    EXPECT_EQ(countLabel->text().trimmed(), QStringLiteral("3 of %1 in the document").arg(expected));
    window.FindPrevious();
    EXPECT_EQ(countLabel->text().trimmed(), QStringLiteral("2 of %1 in the document").arg(expected));

    // Stopped at once, the count says how far it went and goes no further.
    window.Find(QStringLiteral("the"));
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(cancel->isVisible());
    const QString stopped = countLabel->text();
    EXPECT_TRUE(stopped.contains(QStringLiteral(" in pages 1 to "))) << stopped.toStdString();
    Settle();
    EXPECT_EQ(countLabel->text(), stopped);
}

TEST_F(SearchTest, TheSearchStartsAsAPersonTypes) {
    search->setFocus();
    QTest::keyClicks(search, QStringLiteral("ASN.1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.View().SelectionCurrent() == 0; }));
    EXPECT_EQ(window.View().Text(window.View().Selection()[0].StartIndex, 5).toLower(), "asn.1");
    EXPECT_TRUE(search->hasFocus());
    QTest::keyClicks(search, QStringLiteral(" no such"));
    auto* state = window.findChild<QLabel*>("lSearch");
    EXPECT_TRUE(QTest::qWaitFor([&] { return state->text().trimmed() == "No match"; }))
        << state->text().toStdString();
    EXPECT_TRUE(window.View().Selection().isEmpty());
}

TEST_F(SearchTest, ControlFReachesTheSearchBoxInTheOverflow) {
    window.resize(640, 600);
    Settle();
    ASSERT_FALSE(search->isVisible());
    QTest::keySequence(&window, QKeySequence::Find);
    Settle();
    EXPECT_TRUE(search->isVisible());
    ASSERT_TRUE(search->hasFocus());
    QTest::keyClicks(search, QStringLiteral("ASN.1"));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(window.View().SelectionCurrent(), 0);
}

// A word that no page holds is sought through every page while the window goes on painting, with the page it
// has got to and Stop in sight at the window's own size; Stop ends it where it is, and left alone it ends
// with "No match".
TEST_F(SearchTest, AnAbsentWordIsSoughtWhileTheWindowPaintsAndStops) {
    TPdf manual;
    manual.SetFileName(testDataPath(Manual));
    manual.SetActive(true);
    TPdf pages;
    pages.CreateDocument();
    for (int copy = 0; copy < 10; ++copy)
        ASSERT_TRUE(
            pages.ImportPages(manual, QStringLiteral("1-%1").arg(manual.PageCount()), pages.PageCount() + 1));
    const QString longer = folder.filePath("longer.pdf");
    ASSERT_TRUE(pages.SaveAs(longer, saNoIncremental, pvUnknown));
    Open(longer);
    auto* stop = window.findChild<QToolButton*>("btStopSearch");
    int paints = 0;
    window.View().OnPaint = [&](QObject*) {
        ++paints;
    };

    for (const bool stopped : {true, false}) {
        SCOPED_TRACE(stopped ? "stopped" : "to the end");
        window.GoToPage(1);
        window.Find(QStringLiteral("zqxjv absent"));
        ASSERT_TRUE(lSearch()->text().contains("Searching page")) << lSearch()->text().toStdString();
        // At the window's own size all of it is in sight, none in the tool bar's overflow.
        ASSERT_EQ(window.size(), QSize(1000, 800));
        for (QWidget* shown : {static_cast<QWidget*>(stop), static_cast<QWidget*>(lSearch()),
                               static_cast<QWidget*>(countLabel), static_cast<QWidget*>(search),
                               window.findChild<QWidget*>("pbSearch")})
            EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
        // Asked to repaint while the search goes on, the page repaints before the search has ended.
        paints = 0;
        window.View().update();
        ASSERT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 5000));
        EXPECT_TRUE(lSearch()->text().contains("Searching page")) << lSearch()->text().toStdString();
        if (stopped) {
            QTest::mouseClick(stop, Qt::LeftButton);
            EXPECT_TRUE(lSearch()->text().contains("Stopped at page")) << lSearch()->text().toStdString();
            Settle();
            EXPECT_TRUE(lSearch()->text().contains("Stopped at page")) << lSearch()->text().toStdString();
        } else {
            WaitForTheSearch();
            EXPECT_EQ(lSearch()->text().trimmed(), "No match");
        }
        // The count of the whole document ends after the search, or with it when stopped.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !stop->isVisible(); }, 20000));
        EXPECT_EQ(window.View().PageNumber(), 1);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}
