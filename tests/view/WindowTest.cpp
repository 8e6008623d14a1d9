// The viewer's window as a daily tool: passwords asked for, an empty window that offers only what works
// without a document, closing and quitting by keys, typed form data never lost without a question, a file
// changed on disk shown anew, text selected with the mouse and copied, the way back after a jump, and each
// file back where it was left.
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
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <optional>
#include <unistd.h>

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
    const QStringList needsDocument = {"acFirst",       "acNext",     "acFitWidth",     "acFitPage",
                                       "acZoomIn",      "acZoomOut",  "acRotateLeft",   "acRotateRight",
                                       "acSaveAs",      "acFindNext", "acFindPrevious", "acClose",
                                       "acPresentation"};
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

// A drag that starts in the margin beside a line and ends in the margin beyond it copies the line; a click
// then takes the selection away, so that Ctrl+C copies nothing stale.
TEST_F(ViewerTest, ADragFromTheMarginCopiesTheLineAndAClickClearsIt) {
    FixtureDocument document;
    document.Pages = {FixturePage{{612, 792}, "The quick brown fox jumps"}};
    Open(WritePdf(folder.path(), "line.pdf", document));
    TPdfView& view = window.View();
    const TPdfRectangle line = view.TextRectangles(0, view.CharacterCount()).first();
    const double middle = (line.Top + line.Bottom) / 2;
    Drag(view, ViewPoint(line.Left / 3, middle), ViewPoint(line.Right + (612 - line.Right) / 2, middle));
    Settle();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "The quick brown fox jumps");

    QTest::mouseClick(&view, Qt::LeftButton, {}, ViewPoint(300, 300));
    EXPECT_TRUE(view.Selection().isEmpty());
    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
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

// The window's size and the files opened last come back in the next window, and each file opens at the
// page and zoom it was left at; a file new to the viewer opens at the width of the window, whatever the one
// before was zoomed to.
TEST_F(ViewerTest, TheNextWindowRemembersSizeRecentFilesAndWhereEachFileWasLeft) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    FixtureDocument document;
    document.Pages = {FixturePage{}, FixturePage{}, FixturePage{}};
    const QString small = WritePdf(folder.path(), "small.pdf", document);
    const QString manual = testDataPath("realworld/libtasn1.pdf");
    Open(manual);
    window.SetZoom({TZoomMode::Factor, 1.5});
    window.GoToPage(7);
    Open(small);
    EXPECT_EQ(window.Zoom().Mode, TZoomMode::FitWidth);
    window.SetZoom({TZoomMode::FitPage});
    window.GoToPage(3);
    window.resize(720, 540);
    Settle();
    window.close();

    TViewerWindow next;
    next.ShowError = window.ShowError;
    EXPECT_EQ(next.size(), QSize(720, 540));
    const QList<QAction*> recent = next.findChild<QMenu*>("mnRecent")->actions();
    ASSERT_GE(recent.size(), 2);
    EXPECT_EQ(recent[0]->text(), QDir::toNativeSeparators(QFileInfo(small).absoluteFilePath()));
    EXPECT_EQ(recent[1]->text(), QDir::toNativeSeparators(QFileInfo(manual).absoluteFilePath()));
    struct Case {
        QAction* Action;
        QString File;
        int Page;
        TZoomMode Mode;
        double Factor;
    };
    for (const Case& c : {Case{recent[1], manual, 7, TZoomMode::Factor, 1.5},
                          Case{recent[0], small, 3, TZoomMode::FitPage, 1.0}}) {
        SCOPED_TRACE(c.File.toStdString());
        c.Action->trigger();
        EXPECT_EQ(next.Pdf().FileName(), QFileInfo(c.File).absoluteFilePath());
        EXPECT_TRUE(next.View().Active());
        EXPECT_EQ(next.Column().CurrentPage(), c.Page);
        EXPECT_EQ(next.Zoom().Mode, c.Mode);
        EXPECT_EQ(next.Zoom().Factor, c.Factor);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

namespace {

// Three pages that say Text and their number.
FixtureDocument Pages(const QString& text) {
    FixtureDocument document;
    document.Pages = {FixturePage{{612, 792}, text + " 1"}, FixturePage{{612, 792}, text + " 2"},
                      FixturePage{{612, 792}, text + " 3"}};
    return document;
}

// While it lives, the process meets files' permissions as a person who is not root does: under root, whose
// reads no permission stops, it takes the user and group of nobody as its real and effective ids, keeping
// root as the saved one to return to. Elsewhere it changes nothing.
class ActingAsAPerson {
public:
    ActingAsAPerson() : FRoot(geteuid() == 0) {
        if (FRoot) {
            EXPECT_EQ(setresgid(Nobody, Nobody, 0), 0);
            EXPECT_EQ(setresuid(Nobody, Nobody, 0), 0);
        }
    }
    ~ActingAsAPerson() {
        if (FRoot) {
            EXPECT_EQ(setresuid(0, 0, 0), 0);
            EXPECT_EQ(setresgid(0, 0, 0), 0);
        }
    }
    ActingAsAPerson(const ActingAsAPerson&) = delete;
    ActingAsAPerson& operator=(const ActingAsAPerson&) = delete;

private:
    static constexpr uid_t Nobody = 65534;
    const bool FRoot;
};

} // namespace

// A file rewritten under the viewer is read again and shown at the page and zoom it was shown at; a file
// that cannot be read (no longer a document, its permissions taken away, a folder in its place), or is gone,
// leaves the document as it was last read, and the status bar says so.
TEST_F(ViewerTest, AFileChangedOnDiskIsShownAnewAtItsPage) {
    // A person who may not read the file may still reach its folder.
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                         QFile::ExeGroup | QFile::ExeOther));
    const QString file = WritePdf(folder.path(), "changing.pdf", Pages("First"));
    std::optional<ActingAsAPerson> person;
    Open(file);
    window.SetZoom({TZoomMode::Factor, 1.25});
    window.GoToPage(2);
    auto* state = window.findChild<QLabel*>("lFileState");
    auto shownText = [&] {
        return window.View().Text(0, window.View().CharacterCount());
    };
    struct Case {
        const char* Name;
        std::function<void()> Change;
        QString Shown;
        QString State;
    };
    const QList<Case> cases = {
        {"rewritten", [&] { WritePdf(folder.path(), "changing.pdf", Pages("Second")); }, "Second 2", ""},
        {"rewritten with no document",
         [&] {
             QFile broken(file);
             ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
             broken.write("%PDF-1.7\nno longer a document\n");
         },
         "Second 2", "Cannot read " + file},
        {"written again", [&] { WritePdf(folder.path(), "changing.pdf", Pages("Third")); }, "Third 2", ""},
        {"removed", [&] { ASSERT_TRUE(QFile::remove(file)); }, "Third 2", file + " is gone"},
        {"made again", [&] { WritePdf(folder.path(), "changing.pdf", Pages("Fourth")); }, "Fourth 2", ""},
        {"no longer readable",
         [&] {
             ASSERT_TRUE(QFile::setPermissions(file, {}));
             person.emplace();
         },
         "Fourth 2", "Cannot read " + file + " (Permission denied)"},
        {"readable and written again",
         [&] {
             person.reset();
             ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
             WritePdf(folder.path(), "changing.pdf", Pages("Fifth"));
         },
         "Fifth 2", ""},
        {"a folder in its place", [&] { ASSERT_TRUE(QFile::remove(file) && QDir().mkdir(file)); }, "Fifth 2",
         "Cannot read " + file},
        {"a file again",
         [&] {
             ASSERT_TRUE(QDir().rmdir(file));
             WritePdf(folder.path(), "changing.pdf", Pages("Sixth"));
         },
         "Sixth 2", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Change();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return c.State.isEmpty() ? shownText() == c.Shown : state->text().startsWith(c.State);
        })) << state->text().toStdString();
        Settle();
        EXPECT_EQ(shownText(), c.Shown);
        EXPECT_EQ(window.Column().CurrentPage(), 2);
        EXPECT_EQ(window.Zoom().Factor, 1.25);
        EXPECT_EQ(state->text().isEmpty(), c.State.isEmpty()) << state->text().toStdString();
        if (!c.State.isEmpty()) {
            EXPECT_TRUE(state->text().startsWith(c.State)) << state->text().toStdString();
        }
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// Text typed into a field is never lost without a question: Ctrl+Q, Ctrl+W, opening another file and a
// reload each ask to save it, discard it or stay; Save writes it into the file, whole.
TEST_F(ViewerTest, TypedFormDataIsNeverLostWithoutAQuestion) {
    REQUIRE_TESTDATA("pdf/text_form.pdf");
    const QString file = folder.filePath("form.pdf");
    const QString other = WritePdf(folder.path(), "other.pdf", Pages("Other"));
    QList<QMessageBox::StandardButton> answers;
    // Shown again after Ctrl+Q, the window takes the keys once it is active.
    auto show = [&] {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    };
    QStringList asked;
    window.AskSaveChanges = [&](const QString& name) {
        asked.append(name);
        return answers.isEmpty() ? QMessageBox::Cancel : answers.takeFirst();
    };
    auto pdfText = [&] {
        return RunProgram(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    };
    struct Case {
        const char* Name;
        std::function<void()> Leave;
        QMessageBox::StandardButton Answer;
        bool Stays;      // the document stays in the window
        bool WindowOpen; // the window stays
        bool Saved;      // the file holds what was typed
    };
    const QList<Case> cases = {
        {"Ctrl+Q, cancelled", [&] { QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier); },
         QMessageBox::Cancel, true, true, false},
        {"Ctrl+W, cancelled", [&] { QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier); },
         QMessageBox::Cancel, true, true, false},
        {"open, cancelled", [&] { window.OpenFile(other); }, QMessageBox::Cancel, true, true, false},
        {"Ctrl+W, discarded", [&] { QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier); },
         QMessageBox::Discard, false, true, false},
        {"open, saved", [&] { window.OpenFile(other); }, QMessageBox::Save, false, true, true},
        {"Ctrl+Q, saved", [&] { QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier); },
         QMessageBox::Save, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        window.CloseDocument();
        QFile::remove(file);
        ASSERT_TRUE(QFile::copy(testDataPath("pdf/text_form.pdf"), file));
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        show();
        Open(file);
        QTest::mouseClick(&window.View(), Qt::LeftButton, {}, ViewPoint(120, 120));
        QTest::keyClicks(&window.View(), QStringLiteral("Typed 42"));
        asked.clear();
        answers = {c.Answer};
        c.Leave();
        Settle();
        EXPECT_EQ(asked, QStringList{"form.pdf"});
        EXPECT_EQ(window.Pdf().Active() && window.Pdf().FileName() == file, c.Stays);
        EXPECT_EQ(window.isVisible(), c.WindowOpen);
        EXPECT_EQ(pdfText().contains("Typed 42"), c.Saved) << pdfText().toStdString();
        // Once saved or discarded, nothing is asked again.
        if (c.Answer != QMessageBox::Cancel) {
            asked.clear();
            window.CloseDocument();
            EXPECT_TRUE(asked.isEmpty());
        }
    }
    // A file changed on disk under typed data asks too: kept, it is not read again.
    show();
    QFile::remove(file);
    ASSERT_TRUE(QFile::copy(testDataPath("pdf/text_form.pdf"), file));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    Open(file);
    QTest::mouseClick(&window.View(), Qt::LeftButton, {}, ViewPoint(120, 120));
    QTest::keyClicks(&window.View(), QStringLiteral("Typed 42"));
    asked.clear();
    answers = {QMessageBox::Cancel};
    WritePdf(folder.path(), "form.pdf", Pages("Rewritten"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return asked == QStringList{"form.pdf"}; }))
        << asked.join('\n').toStdString();
    Settle();
    EXPECT_TRUE(window.findChild<QLabel*>("lFileState")->text().contains("not read again"));
    EXPECT_FALSE(window.View().Text(0, window.View().CharacterCount()).contains("Rewritten"));
    // A document untouched is closed and quit without a question.
    answers.clear();
    asked.clear();
    window.findChild<QAction*>("acClose")->setEnabled(true);
    window.CloseDocument();
    Open(other);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// What the form takes as a field's new value is what counts, however it came: typed, pasted or a box ticked
// asks before the document goes, and Save keeps it; text typed and deleted again changes nothing and asks
// nothing. The engine here runs no scripts (it is built without JavaScript), so no script changes a field.
TEST_F(ViewerTest, EveryWayAFieldIsFilledInIsAskedAbout) {
    REQUIRE_TESTDATA("pdf/text_form.pdf");
    REQUIRE_TESTDATA("pdf/click_form.pdf");
    QStringList asked;
    window.AskSaveChanges = [&](const QString& name) {
        asked.append(name);
        return QMessageBox::Save;
    };
    // A field of the file's first page as the file holds it: where its widget lies, and its value.
    struct Field {
        QPointF Centre;
        QString Value;
    };
    auto field = [](const QString& file, int index) {
        TPdf pdf;
        pdf.SetFileName(file);
        pdf.SetActive(true);
        pdf.SetPageNumber(1);
        const TPdfRectangle box = pdf.Annotation(index).Rectangle;
        return Field{{(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2}, pdf.FormField(index)};
    };
    struct Case {
        const char* Name;
        const char* Fixture;
        int Field;
        std::function<void()> Fill;
        bool Asked;
        QString Value; // the field's value in the file afterwards
    };
    const QList<Case> cases = {
        {"typed", "pdf/text_form.pdf", 0,
         [&] { QTest::keyClicks(&window.View(), QStringLiteral("Typed 42")); }, true, "Typed 42"},
        {"pasted with Ctrl+V", "pdf/text_form.pdf", 0,
         [&] {
             QGuiApplication::clipboard()->setText(QStringLiteral("Pasted 17"));
             QTest::keyClick(&window.View(), Qt::Key_V, Qt::ControlModifier);
         },
         true, "Pasted 17"},
        {"pasted with Shift+Insert", "pdf/text_form.pdf", 0,
         [&] {
             QGuiApplication::clipboard()->setText(QStringLiteral("Inserted 9"));
             QTest::keyClick(&window.View(), Qt::Key_Insert, Qt::ShiftModifier);
         },
         true, "Inserted 9"},
        {"typed and deleted again", "pdf/text_form.pdf", 0,
         [&] {
             QTest::keyClicks(&window.View(), QStringLiteral("ab"));
             QTest::keyClick(&window.View(), Qt::Key_Backspace);
             QTest::keyClick(&window.View(), Qt::Key_Backspace);
         },
         false, ""},
        {"a box ticked", "pdf/click_form.pdf", 1, [] {}, true, "Yes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString file = folder.filePath(QStringLiteral("filled.pdf"));
        QFile::remove(file);
        ASSERT_TRUE(QFile::copy(testDataPath(c.Fixture), file));
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        Open(file);
        const QPointF centre = field(file, c.Field).Centre;
        QTest::mouseClick(&window.View(), Qt::LeftButton, {}, ViewPoint(centre.x(), centre.y()));
        c.Fill();
        asked.clear();
        QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
        EXPECT_FALSE(window.Pdf().Active());
        EXPECT_EQ(asked, c.Asked ? QStringList{"filled.pdf"} : QStringList{});
        EXPECT_EQ(field(file, c.Field).Value, c.Value);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}
