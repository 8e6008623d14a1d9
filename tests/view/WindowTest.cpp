// The viewer's window as a daily tool: passwords asked for, an empty window that offers only what works
// without a document, closing and quitting by keys.
#include "ViewTestSupport.h"
#include "support/TestData.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

using namespace PDFium;

// A document that wants a password asks for it, again after a wrong one, and opens with the right one; a
// cancelled prompt leaves the window empty and says nothing.
TEST_F(ViewerTest, AnEncryptedDocumentAsksForItsPassword) {
    REQUIRE_TESTDATA("pdf/encrypted.pdf");
    struct Case {
        const char* Name;
        QString Given;
        QStringList Answers;
        QList<bool> Prompts; // whether each prompt asked again
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
