// The viewer's window as a daily tool: passwords asked for, an empty window that offers only what works
// without a document, closing and quitting by keys, text selected with the mouse and copied, the way back
// after a jump.
#include "ViewTestSupport.h"
#include "support/PdfFixtures.h"
#include "support/Programs.h"
#include "support/TestData.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include <functional>

using namespace PDFium;

// A document that wants a password asks for it, again after a wrong one, and opens with the right one; a
// cancelled prompt leaves the window empty and says nothing.
TEST_F(ViewerTest, AnEncryptedDocumentAsksForItsPassword) {
    REQUIRE_TESTDATA("pdf/encrypted.pdf");
    struct Case {
        const char* Name;
        QString Given;
        QStringList Answers;
        std::vector<bool> Prompts; // whether each prompt asked again
        bool Opens;
    };
    const QList<Case> cases = {
        {"RightAnswer", {}, {"1234"}, {false}, true},
        {"OwnerPassword", {}, {"5678"}, {false}, true},
        {"WrongGiven", "wrong", {"1234"}, {true}, true},
        {"WrongThenRight", {}, {"bad", "1234"}, {false, true}, true},
        {"Cancelled", {}, {}, {false}, false},
        {"WrongThenCancelled", {}, {"bad"}, {false, true}, false},
        {"RightGiven", "1234", {}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        window.CloseDocument();
        passwords = c.Answers;
        passwordPrompts.clear();
        errors.clear();
        EXPECT_EQ(window.OpenFile(testDataPath("pdf/encrypted.pdf"), c.Given), c.Opens);
        EXPECT_EQ(passwordPrompts, c.Prompts);
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        EXPECT_EQ(window.View().Active(), c.Opens);
        EXPECT_EQ(window.findChild<QLabel*>("lPageCount")->text(), c.Opens ? " of 1 " : " of 0 ");
    }
}

// Without a document only opening and quitting are offered; a document brings the rest; opening another
// clears the search; Ctrl+W closes the document, Ctrl+Q the window.
TEST_F(ViewerTest, TheEmptyWindowOffersOnlyWhatWorksWithoutADocument) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    const QStringList needsDocument = {"acFirst",  "acNext",     "acFitWidth",     "acFitPage",
                                       "acZoomIn", "acZoomOut",  "acRotateLeft",   "acRotateRight",
                                       "acSaveAs", "acFindNext", "acFindPrevious", "acClose"};
    auto enabled = [&](const QString& name) {
        return window.findChild<QAction*>(name)->isEnabled();
    };
    auto* search = window.findChild<QLineEdit*>("edSearch");
    for (const QString& name : needsDocument)
        EXPECT_FALSE(enabled(name)) << name.toStdString();
    EXPECT_FALSE(search->isEnabled());
    EXPECT_TRUE(enabled("acOpen"));
    EXPECT_TRUE(enabled("acQuit"));

    openFileName = testDataPath("realworld/libtasn1.pdf");
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(window.View().Active()) << errors.join('\n').toStdString();
    for (const QString& name : needsDocument)
        EXPECT_EQ(enabled(name), name != "acFirst") << name.toStdString();
    EXPECT_TRUE(search->isEnabled());

    search->setText("ASN.1");
    window.Find("ASN.1");
    Open(testDataPath("realworld/libtasn1.pdf"));
    EXPECT_TRUE(search->text().isEmpty());
    EXPECT_TRUE(window.View().Selection().isEmpty());

    QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(window.Pdf().Active());
    EXPECT_FALSE(enabled("acSaveAs"));
    EXPECT_EQ(window.windowTitle(), "kestrova-view");

    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// The program starts without a file, to an empty window, rather than with its usage.
TEST(ViewerProgram, StartsWithoutAFile) {
    QProcess viewer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    viewer.setProcessEnvironment(environment);
    viewer.start(QCoreApplication::applicationDirPath() + "/kestrova-view", {});
    ASSERT_TRUE(viewer.waitForStarted());
    EXPECT_FALSE(viewer.waitForFinished(1500)) << viewer.readAllStandardOutput().toStdString();
    viewer.kill();
    viewer.waitForFinished();
}

namespace {

// Text with its runs of white space made single spaces, as a selection and pdftotext may lay out one line
// differently.
QString Words(const QString& text) {
    return text.simplified();
}

// What pdftotext reads of page 1 of File inside a rectangle of page space (points, origin bottom-left) on a
// page PageHeight tall.
QString PdfToTextOf(const QString& file, const TPdfRectangle& area, double pageHeight) {
    const auto number = [](double value) {
        return QString::number(qRound(value));
    };
    return RunProgram("pdftotext", {"-f", "1", "-l", "1", "-x", number(area.Left), "-y",
                                    number(pageHeight - area.Top), "-W", number(area.Right - area.Left), "-H",
                                    number(area.Top - area.Bottom), file, "-"});
}

void Drag(QWidget& widget, const QPoint& from, const QPoint& to) {
    auto send = [&](QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

} // namespace

// Dragging over words selects them by the characters' boxes, and Ctrl+C puts on the clipboard what pdftotext
// reads in that part of the page; Ctrl+A takes the whole page.
TEST_F(ViewerTest, TextDraggedOverIsCopiedAsTheFileHoldsIt) {
    FixtureDocument document;
    document.Pages = {FixturePage{{612, 792}, "The quick brown fox jumps"}};
    const QString file = WritePdf(folder.path(), "words.pdf", document);
    Open(file);
    TPdfView& view = window.View();
    const QString text = view.Text(0, view.CharacterCount());
    const int first = int(text.indexOf("quick"));
    const int last = int(text.indexOf("fox")) + 2;
    const TPdfRectangle from = view.TextRectangles(first, 1).first();
    const TPdfRectangle to = view.TextRectangles(last, 1).first();
    Drag(view, ViewPoint(from.Left + 1, (from.Top + from.Bottom) / 2),
         ViewPoint(to.Right - 1, (to.Top + to.Bottom) / 2));
    Settle();

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied, "quick brown fox");
    const TPdfRectangle words{from.Left, std::max(from.Top, to.Top), to.Right,
                              std::min(from.Bottom, to.Bottom)};
    EXPECT_EQ(Words(copied), Words(PdfToTextOf(file, words, 792)));

    QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Words(QGuiApplication::clipboard()->text()), Words(RunProgram("pdftotext", {file, "-"})));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// A word that a hyphen breaks at the end of a line is copied whole, as pdftotext reads it.
TEST_F(ViewerTest, AWordBrokenAtALineEndIsCopiedWhole) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    const QString file = testDataPath("realworld/libtasn1.pdf");
    Open(file);
    window.GoToPage(4); // "structures man-agement"
    Settle();
    QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_FALSE(copied.contains(QChar(0xFFFE)));
    EXPECT_TRUE(copied.contains("management")) << copied.toStdString();
    EXPECT_TRUE(RunProgram("pdftotext", {"-f", "4", "-l", "4", file, "-"}).contains("management"));
}

// Jumps (the page box, an outline entry, the last page) can be gone back on and forward again with Alt+Left
// and Alt+Right; stepping to the next page is no jump; a new jump forgets the way forward. The outline marks
// the entry of the page shown.
TEST_F(ViewerTest, BackAndForwardRetraceTheJumpsAndTheOutlineFollows) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    Open(testDataPath("realworld/libtasn1.pdf"));
    auto* tree = window.findChild<QTreeWidget*>("tvOutline");
    auto* pageBox = window.findChild<QSpinBox*>("sePage");
    auto key = [&](int k, Qt::KeyboardModifiers modifiers = Qt::AltModifier) {
        return [&, k, modifiers] {
            QTest::keyClick(&window, Qt::Key(k), modifiers);
        };
    };
    struct Step {
        const char* Name;
        std::function<void()> Action;
        int Page;
        bool CanGoBack;
        bool CanGoForward;
    };
    const QList<Step> steps = {
        {"page box", [&] { pageBox->setValue(10); }, 10, true, false},
        {"back", key(Qt::Key_Left), 1, false, true},
        {"forward", key(Qt::Key_Right), 10, true, false},
        {"next page", [&] { window.findChild<QAction*>("acNext")->trigger(); }, 11, true, false},
        {"outline",
         [&] {
             QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                               tree->visualItemRect(tree->topLevelItem(0)).center());
         },
         4, true, false},
        {"back to the page left", key(Qt::Key_Left), 11, true, true},
        {"back again", key(Qt::Key_Left), 1, false, true},
        {"last page", [&] { window.findChild<QAction*>("acLast")->trigger(); }, 36, true, false},
        {"back from the last", key(Qt::Key_Left), 1, false, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.Name);
        step.Action();
        EXPECT_EQ(window.View().PageNumber(), step.Page);
        EXPECT_EQ(window.findChild<QAction*>("acBack")->isEnabled(), step.CanGoBack);
        EXPECT_EQ(window.findChild<QAction*>("acForward")->isEnabled(), step.CanGoForward);
    }
    for (const auto& [page, entry] :
         {std::pair{2, ""}, {4, "1 Introduction"}, {5, "2 ASN.1 structure handling"}}) {
        window.GoToPage(page);
        EXPECT_EQ(tree->currentItem() ? tree->currentItem()->text(0) : QString(), entry) << page;
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// The page box shows a page's label beside its number, and takes a label typed into it, or a number.
TEST_F(ViewerTest, ThePageBoxShowsAndTakesPageLabels) {
    REQUIRE_TESTDATA("pdf/page_labels.pdf");
    Open(testDataPath("pdf/page_labels.pdf"));
    auto* box = window.findChild<QSpinBox*>("sePage");
    const int count = window.Pdf().PageCount();
    QStringList labels;
    for (int page = 1; page <= count; ++page)
        labels.append(window.Pdf().PageLabel(page));
    ASSERT_NE(labels.count(""), count) << "the document gives its pages labels";
    for (int page = 1; page <= count; ++page) {
        SCOPED_TRACE(page);
        window.GoToPage(page);
        const QString& label = labels[page - 1];
        EXPECT_EQ(box->text(), label.isEmpty() || label == QString::number(page)
                                   ? QString::number(page)
                                   : QStringLiteral("%1 (%2 / %3)").arg(label).arg(page).arg(count));
    }
    auto type = [&](const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    };
    // A label that is a number is that page number; the others name their pages.
    int labelsTyped = 0;
    for (int page = count; page >= 1; --page) {
        const QString& label = labels[page - 1];
        bool number = false;
        label.toInt(&number);
        if (label.isEmpty() || number || labels.indexOf(label) != page - 1)
            continue;
        ++labelsTyped;
        SCOPED_TRACE(label.toStdString());
        window.GoToPage(page == 1 ? count : 1);
        type(label);
        EXPECT_EQ(window.View().PageNumber(), page);
    }
    EXPECT_GT(labelsTyped, 0);
    window.GoToPage(1);
    type(QString::number(count));
    EXPECT_EQ(window.View().PageNumber(), count);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// The window's size, the zoom and the files opened last come back in the next window; a recent file opens
// from the menu.
TEST_F(ViewerTest, TheNextWindowRemembersSizeZoomAndRecentFiles) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    FixtureDocument document;
    const QString small = WritePdf(folder.path(), "small.pdf", document);
    const QString manual = testDataPath("realworld/libtasn1.pdf");
    Open(manual);
    Open(small);
    window.SetZoom({TZoomMode::Factor, 1.5});
    window.resize(720, 540);
    Settle();
    window.close();

    TViewerWindow next;
    next.ShowError = window.ShowError;
    EXPECT_EQ(next.size(), QSize(720, 540));
    EXPECT_EQ(next.Zoom().Mode, TZoomMode::Factor);
    EXPECT_EQ(next.Zoom().Factor, 1.5);
    const QList<QAction*> recent = next.findChild<QMenu*>("mnRecent")->actions();
    ASSERT_GE(recent.size(), 2);
    EXPECT_EQ(recent[0]->text(), QDir::toNativeSeparators(QFileInfo(small).absoluteFilePath()));
    EXPECT_EQ(recent[1]->text(), QDir::toNativeSeparators(QFileInfo(manual).absoluteFilePath()));
    recent[1]->trigger();
    EXPECT_EQ(next.Pdf().FileName(), QFileInfo(manual).absoluteFilePath());
    EXPECT_TRUE(next.View().Active());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}
