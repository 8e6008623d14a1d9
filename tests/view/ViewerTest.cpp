// kestrova-view in a real window on the tests' own X server: what the screen shows against the engine's own
// rendering, links followed by a click, a form filled by typing and saved, search painted, navigation, zoom,
// rotation, the outline, and errors that leave the window usable.
#include "ViewTestSupport.h"
#include "support/PdfFixtures.h"
#include "support/Programs.h"
#include "support/TestData.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>

using namespace PDFium;

namespace {

// Three pages; page 1 links to page 3 and to a web address.
FixtureDocument LinkedPages() {
    FixtureLink toThree;
    toThree.Area = QRectF(72, 600, 200, 40);
    toThree.TargetPage = 3;
    FixtureLink toWeb;
    toWeb.Area = QRectF(72, 400, 200, 40);
    toWeb.Uri = "https://example.com/kestrova";
    FixtureDocument document;
    document.Pages = {FixturePage{{612, 792}, "Links", 0, {toThree, toWeb}}, FixturePage{{612, 792}, "Two"},
                      FixturePage{{612, 792}, "Three"}};
    return document;
}

// LinkedPages with the page labels i, ii and 1, added as an incremental update adds them: the catalog again,
// with its own cross-reference section after the file's.
QByteArray LabelledLinkedPages() {
    QByteArray pdf = MakePdf(LinkedPages());
    const QByteArray previous = pdf.mid(pdf.lastIndexOf("startxref\n") + 10).split('\n').first();
    const qsizetype sizeAt = pdf.lastIndexOf("/Size ") + 6;
    const QByteArray size = pdf.mid(sizeAt, pdf.indexOf(' ', sizeAt) - sizeAt);
    const qsizetype catalog = pdf.size();
    pdf += "1 0 obj\n<< /Type /Catalog /Pages 2 0 R /PageLabels << /Nums [0 << /S /r >> 2 << /S /D >>] >> "
           ">>\nendobj\n";
    const qsizetype xref = pdf.size();
    pdf += "xref\n1 1\n" + QByteArray::number(catalog).rightJustified(10, '0') +
           " 00000 n \ntrailer\n<< /Size " + size + " /Root 1 0 R /Prev " + previous + " >>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

} // namespace

TEST_F(ViewerTest, TheScreenShowsThePageAsTheEngineRendersIt) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    Open(testDataPath("realworld/libtasn1.pdf"));
    for (int page : {1, 4}) {
        SCOPED_TRACE(page);
        window.GoToPage(page);
        const QImage shown = ShownPage();
        TPdf engine;
        engine.SetFileName(testDataPath("realworld/libtasn1.pdf"));
        engine.SetPageNumber(page);
        engine.SetActive(true);
        const QImage rendered = engine.RenderPage(0, 0, window.View().width(), window.View().height(), ro0,
                                                  window.View().Options(), clWhite);
        const QImage visible = rendered.copy(window.View().visibleRegion().boundingRect());
        ASSERT_EQ(shown.size(), visible.size());
        EXPECT_EQ(DifferentPixels(shown, visible.convertToFormat(QImage::Format_RGB32)), 0);
    }
    KeepScreenshot(QStringLiteral("page"));
}

TEST_F(ViewerTest, AClickOnALinkGoesToItsPageOrHandsTheAddressToTheDesktop) {
    Open(WritePdf(folder.path(), "links.pdf", LinkedPages()));
    QTest::mouseClick(&window.View(), Qt::LeftButton, {}, ViewPoint(100, 420));
    EXPECT_EQ(window.View().PageNumber(), 1);
    EXPECT_EQ(openedUrls, QList<QUrl>{QUrl("https://example.com/kestrova")});

    QTest::mouseClick(&window.View(), Qt::LeftButton, {}, ViewPoint(100, 300)); // no link there
    EXPECT_EQ(window.View().PageNumber(), 1);

    QTest::mouseClick(&window.View(), Qt::LeftButton, {}, ViewPoint(100, 620));
    Settle();
    EXPECT_EQ(window.View().PageNumber(), 3);
    EXPECT_EQ(window.findChild<QSpinBox*>("sePage")->value(), 3);
    EXPECT_EQ(window.View().Text(0, 5), "Three");
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// A link under the mouse shows where it goes in the status bar, a page by its label; an address the desktop
// cannot open is said to be so.
TEST_F(ViewerTest, ALinkShowsWhereItGoesAndSaysWhenItCannotBeOpened) {
    const QString file = folder.filePath("labelled.pdf");
    QFile labelled(file);
    ASSERT_TRUE(labelled.open(QIODevice::WriteOnly));
    labelled.write(LabelledLinkedPages());
    labelled.close();
    Open(file);
    ASSERT_EQ(window.Pdf().PageLabel(3), "1");
    auto* status = window.findChild<QStatusBar*>();
    ASSERT_NE(status, nullptr);
    const QList<std::pair<QPoint, QString>> hovers = {{ViewPoint(100, 420), "https://example.com/kestrova"},
                                                      {ViewPoint(100, 620), "Page 1"},
                                                      {ViewPoint(100, 300), ""}};
    for (const auto& [point, shown] : hovers) {
        // Sent, not moved to: the pointer of the tests' display may already stand there.
        QMouseEvent move(QEvent::MouseMove, point, window.View().mapToGlobal(point), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window.View(), &move);
        EXPECT_EQ(status->currentMessage(), shown) << point.y();
    }
    window.OpenUrl = [](const QUrl&) {
        return false;
    };
    QTest::mouseClick(&window.View(), Qt::LeftButton, {}, ViewPoint(100, 420));
    EXPECT_EQ(errors, QStringList{"Cannot open https://example.com/kestrova"});
    EXPECT_TRUE(window.View().Active());

    // The desktop's own opener starts, and says only by its exit that nothing could open the address: on
    // this display no desktop and no browser can.
    errors.clear();
    const QByteArray browser = qgetenv("BROWSER");
    qputenv("BROWSER", "false");
    window.OpenUrl = [&](const QUrl& url) {
        return window.OpenWithDesktop(url);
    };
    QTest::mouseClick(&window.View(), Qt::LeftButton, {}, ViewPoint(100, 420));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return errors == QStringList{"Cannot open https://example.com/kestrova"}; }, 10000))
        << errors.join('\n').toStdString();
    qputenv("BROWSER", browser);

    // Another document opened leaves nothing of the link shown before in the status bar.
    QMouseEvent move(QEvent::MouseMove, ViewPoint(100, 420), window.View().mapToGlobal(ViewPoint(100, 420)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window.View(), &move);
    ASSERT_FALSE(status->currentMessage().isEmpty());
    openFileName = WritePdf(folder.path(), "other.pdf", FixtureDocument{});
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(window.Pdf().FileName(), openFileName);
    EXPECT_TRUE(status->currentMessage().isEmpty()) << status->currentMessage().toStdString();
}

TEST_F(ViewerTest, TextTypedIntoAFieldIsInTheFileThatSaveAsWrites) {
    REQUIRE_TESTDATA("pdf/text_form.pdf");
    Open(testDataPath("pdf/text_form.pdf"));
    QTest::mouseClick(&window.View(), Qt::LeftButton, {}, ViewPoint(120, 120));
    QTest::keyClicks(&window.View(), QStringLiteral("Kestrovx"));
    QTest::keyClick(&window.View(), Qt::Key_Backspace);
    QTest::keyClicks(&window.View(), QStringLiteral("a 42"));
    Settle();
    KeepScreenshot(QStringLiteral("form"));

    saveFileName = folder.filePath(QStringLiteral("filled.pdf"));
    QTest::keySequence(&window, QKeySequence::Save);
    ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    const QString text = RunProgram(QStringLiteral("pdftotext"), {saveFileName, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Kestrova 42"))) << text.toStdString();
}

TEST_F(ViewerTest, ControlFWithAWordPaintsItsMatches) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    Open(testDataPath("realworld/libtasn1.pdf"));
    window.GoToPage(4);
    window.SetZoom({TZoomMode::FitPage});
    const QImage plain = ShownPage();

    QTest::keySequence(&window, QKeySequence::Find);
    auto* search = window.findChild<QLineEdit*>("edSearch");
    ASSERT_TRUE(search->hasFocus());
    QTest::keyClicks(search, QStringLiteral("ASN.1"));
    QTest::keyClick(search, Qt::Key_Return);
    const QImage painted = ShownPage();
    KeepScreenshot(QStringLiteral("search"));

    const TTextRanges matches = window.View().Selection();
    ASSERT_GT(matches.size(), 1);
    EXPECT_EQ(window.View().SelectionCurrent(), 0);
    EXPECT_EQ(window.View().PageNumber(), 4);
    // Every match is tinted on the screen; a point away from them is not.
    for (const TTextRange& match : matches) {
        EXPECT_EQ(window.View().Text(match.StartIndex, match.Count).toLower(), "asn.1");
        const TPdfRectangle r = window.View().TextRectangles(match.StartIndex, match.Count).first();
        const QPoint middle = ViewPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        const QPoint inside = middle + QPoint(0, 1);
        EXPECT_NE(plain.pixel(inside), painted.pixel(inside)) << middle.x() << "," << middle.y();
    }
    EXPECT_EQ(plain.pixel(2, 2), painted.pixel(2, 2));

    // Next moves through this page's matches, then on to the next page that has one.
    for (int i = 1; i < matches.size(); ++i)
        window.FindNext();
    EXPECT_EQ(window.View().SelectionCurrent(), matches.size() - 1);
    window.FindNext();
    EXPECT_GT(window.View().PageNumber(), 4);
    EXPECT_EQ(window.View().SelectionCurrent(), 0);
    window.FindPrevious();
    EXPECT_EQ(window.View().PageNumber(), 4);
    EXPECT_EQ(window.View().SelectionCurrent(), matches.size() - 1);
    auto* state = window.findChild<QLabel*>("lSearch");
    EXPECT_EQ(state->text().trimmed(), QStringLiteral("%1 of %1 on this page").arg(matches.size()));
    // Turning the page shows that page's matches, none of them current.
    window.GoToPage(5);
    EXPECT_EQ(state->text().trimmed(),
              QStringLiteral("%1 on this page").arg(window.View().Selection().size()));
    window.Find(QStringLiteral("no such words anywhere"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return state->text().trimmed() == "No match"; }, 10000))
        << state->text().toStdString();
    EXPECT_TRUE(window.View().Selection().isEmpty());
}

TEST_F(ViewerTest, PagesTurnByKeysButtonsAndThePageBox) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    Open(testDataPath("realworld/libtasn1.pdf"));
    // Whole pages in sight, so that a screen on is a page on.
    window.SetZoom({TZoomMode::FitPage});
    const int count = window.Pdf().PageCount();
    struct Step {
        const char* what;
        std::function<void()> act;
        int page;
    };
    auto key = [this](Qt::Key k) {
        return [this, k] {
            QTest::keyClick(&window.View(), k);
        };
    };
    auto button = [this](const char* name) {
        return [this, name] {
            window.findChild<QAction*>(QLatin1String(name))->trigger();
        };
    };
    const QList<Step> steps = {
        {"page down", key(Qt::Key_PageDown), 2},
        {"page down", key(Qt::Key_PageDown), 3},
        {"page up", key(Qt::Key_PageUp), 2},
        {"end", key(Qt::Key_End), count},
        {"page down at the end", key(Qt::Key_PageDown), count},
        {"home", key(Qt::Key_Home), 1},
        {"page up at the start", key(Qt::Key_PageUp), 1},
        {"next button", button("acNext"), 2},
        {"last button", button("acLast"), count},
        {"previous button", button("acPrevious"), count - 1},
        {"first button", button("acFirst"), 1},
        {"page box",
         [this] {
             auto* box = window.findChild<QSpinBox*>("sePage");
             box->setFocus();
             box->selectAll();
             QTest::keyClicks(box, QStringLiteral("17"));
             QTest::keyClick(box, Qt::Key_Return);
         },
         17},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(window.View().PageNumber(), step.page);
        EXPECT_EQ(window.findChild<QSpinBox*>("sePage")->value(), step.page);
        window.View().setFocus();
    }
    EXPECT_EQ(window.findChild<QLabel*>("lPageCount")->text().trimmed(), QStringLiteral("of %1").arg(count));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(ViewerTest, ZoomAndRotationSizeThePage) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    Open(testDataPath("realworld/libtasn1.pdf"));
    auto* area = window.findChild<QWidget*>("saPage");
    auto* zoom = window.findChild<QLabel*>("lZoom");
    TPdfView& view = window.View();

    window.SetZoom({TZoomMode::FitPage});
    Settle();
    EXPECT_LE(view.height(), area->height());
    EXPECT_LE(view.width(), area->width());
    window.SetZoom({TZoomMode::Factor, 1.0});
    EXPECT_EQ(zoom->text(), "100%");
    EXPECT_EQ(view.width(), 816); // 612 points at 96 pixels an inch
    window.findChild<QAction*>("acZoomIn")->trigger();
    EXPECT_EQ(zoom->text(), "125%");
    window.findChild<QAction*>("acZoomOut")->trigger();
    window.findChild<QAction*>("acZoomOut")->trigger();
    EXPECT_EQ(zoom->text(), "75%");
    // Control with the wheel over the page zooms in a step.
    const QPointF middle(view.width() / 2, view.height() / 2);
    QWheelEvent wheel(middle, view.mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&view, &wheel);
    EXPECT_EQ(zoom->text(), "100%");
    window.ZoomBy(-1);

    const QSize upright = view.size();
    window.findChild<QAction*>("acRotateRight")->trigger();
    EXPECT_EQ(view.Rotation(), ro90);
    EXPECT_EQ(view.size(), upright.transposed());
    window.findChild<QAction*>("acRotateLeft")->trigger();
    window.findChild<QAction*>("acRotateLeft")->trigger();
    EXPECT_EQ(view.Rotation(), ro270);
    Settle();
    KeepScreenshot(QStringLiteral("rotated"));
    window.SetZoom({TZoomMode::FitWidth});
    Settle();
    EXPECT_LE(view.width(), area->width());
    EXPECT_GT(view.width(), area->width() - 60);
}

TEST_F(ViewerTest, TheOutlineIsATreeThatNavigates) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    Open(testDataPath("realworld/libtasn1.pdf"));
    auto* tree = window.findChild<QTreeWidget*>("tvOutline");
    ASSERT_GT(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* introduction = tree->topLevelItem(0);
    EXPECT_EQ(introduction->text(0), "1 Introduction");
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(introduction).center());
    EXPECT_EQ(window.View().PageNumber(), 4);

    QTreeWidgetItem* chapter = tree->topLevelItem(1);
    EXPECT_EQ(chapter->childCount(), 0); // read when opened
    chapter->setExpanded(true);
    ASSERT_GT(chapter->childCount(), 1);
    Settle();
    KeepScreenshot(QStringLiteral("outline"));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(chapter->child(1)).center());
    EXPECT_EQ(window.View().PageNumber(), 6);
}

TEST_F(ViewerTest, ErrorsAreShownAndTheWindowStaysUsable) {
    REQUIRE_TESTDATA("pdf/encrypted.pdf");
    const QString damaged = folder.filePath(QStringLiteral("damaged.pdf"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.7\nthis is no document\n");
    file.close();
    struct Case {
        QString file;
        QString password;
        QString error;
    };
    const QList<Case> cases = {
        {damaged, {}, "Cannot open " + damaged + ": File not in PDF format or corrupted"},
        {folder.filePath("missing.pdf"),
         {},
         "Cannot open " + folder.filePath("missing.pdf") + ": No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        errors.clear();
        EXPECT_FALSE(window.OpenFile(c.file, c.password));
        EXPECT_EQ(errors.join('|').toStdString(), c.error.toStdString());
        EXPECT_FALSE(window.Pdf().Active());
        EXPECT_FALSE(window.View().Active());
        // Commands on the empty window do nothing and say nothing.
        window.findChild<QAction*>("acNext")->trigger();
        window.findChild<QAction*>("acZoomIn")->trigger();
        QTest::keyClick(&window.View(), Qt::Key_PageDown);
        EXPECT_EQ(errors.size(), 1);
        // The right password opens it.
        errors.clear();
        EXPECT_TRUE(window.OpenFile(testDataPath("pdf/encrypted.pdf"), QStringLiteral("1234")));
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        EXPECT_TRUE(window.View().Active());
    }
    // A save that cannot be written is an error too, and the document stays open.
    errors.clear();
    EXPECT_FALSE(window.SaveAs(QStringLiteral("/nonexistent/folder/out.pdf")));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().startsWith("Cannot create file")) << errors.first().toStdString();
    EXPECT_TRUE(window.View().Active());
}
