// kestrova-pdf end to end: the built tool run as a process on shared and written documents, its JSON parsed,
// its failures on standard error with their exit codes.
#include "support/PdfFixtures.h"
#include "support/TestData.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int ExitCode = -1;
    QByteArray Output;
    QString Errors;
    QJsonObject Json() const { return QJsonDocument::fromJson(Output).object(); }
};

ToolRun RunTool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(KESTROVA_BIN_DIR "/kestrova-pdf"), arguments);
    const bool finished = process.waitForFinished(60000);
    if (!finished)
        process.kill();
    EXPECT_TRUE(finished) << "kestrova-pdf did not end: " << arguments.join(' ').toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

QString Shared(const char* relative) {
    return testDataPath(QString::fromLatin1(relative));
}

QList<int> Ints(const QJsonValue& array) {
    QList<int> values;
    for (const QJsonValue& value : array.toArray())
        values.append(value.toInt());
    return values;
}

} // namespace

TEST(KestrovaPdfTool, FailuresGoToStandardErrorWithTheirExitCode) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    REQUIRE_TESTDATA("pdf/encrypted.pdf");
    REQUIRE_TESTDATA("pdf/bug_325_a.pdf");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString notPdf = dir.filePath("notes.pdf");
    {
        QFile file(notPdf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("These bytes are a shopping list, not a PDF.\n");
    }
    const QString hello = Shared("pdf/hello_world.pdf");
    const QString png = dir.filePath("page.png");
    const struct {
        QStringList Arguments;
        int ExitCode;
        const char* Message;
    } cases[] = {
        {{}, 2, "Usage: kestrova-pdf"},
        {{"bogus", hello}, 2, "Usage: kestrova-pdf"},
        {{"text", hello}, 2, "Usage: kestrova-pdf"},
        {{"text", hello, "0"}, 2, "Usage: kestrova-pdf"},
        {{"links", hello, "one"}, 2, "Usage: kestrova-pdf"},
        {{"find", hello, "1", "x", "--sideways"}, 2, "Usage: kestrova-pdf"},
        {{"info", hello, "--password"}, 2, "Usage: kestrova-pdf"},
        {{"render", hello, "1", "-5", png}, 2, "Usage: kestrova-pdf"},
        {{"info", Shared("pdf/encrypted.pdf")}, 1, "Password required or incorrect password"},
        {{"info", Shared("pdf/encrypted.pdf"), "--password", "4321"},
         1,
         "Password required or incorrect password"},
        {{"info", notPdf}, 1, "File not in PDF format or corrupted"},
        {{"outline", Shared("pdf/bug_325_a.pdf")}, 1, "File not in PDF format or corrupted"},
        {{"info", dir.filePath("absent.pdf")}, 1, "File not found or could not be opened"},
        {{"text", hello, "2"}, 1, "Incorrect page number"},
        {{"render", hello, "1", "72", dir.filePath("no/such/folder/page.png")}, 1, "Cannot write"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Arguments.join(' ').toStdString());
        const ToolRun run = RunTool(c.Arguments);
        EXPECT_EQ(run.ExitCode, c.ExitCode);
        EXPECT_TRUE(run.Errors.contains(QString::fromLatin1(c.Message))) << run.Errors.toStdString();
        EXPECT_TRUE(run.Output.isEmpty()) << run.Output.toStdString();
    }
}

TEST(KestrovaPdfTool, InfoOfAnEncryptedDocumentWithItsPassword) {
    REQUIRE_TESTDATA("pdf/encrypted.pdf");
    const ToolRun run = RunTool({"info", Shared("pdf/encrypted.pdf"), "--password", "1234"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonObject info = run.Json();
    const int pages = info["PageCount"].toInt();
    EXPECT_GE(pages, 1);
    EXPECT_EQ(info["Pages"].toArray().size(), pages);
    EXPECT_NE(info["Permissions"].toInteger(), 0xFFFFFFFF); // encryption restricts something
    for (const char* key : {"PdfVersion", "Title", "Author", "Subject", "Keywords", "Creator", "Producer",
                            "CreationDate", "ModifiedDate", "PageMode", "IsTagged", "PrintScaling",
                            "PrintCopies", "PrintPaperHandling", "FormType"})
        EXPECT_TRUE(info.contains(key)) << key;
}

TEST(KestrovaPdfTool, InfoListsEveryPage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FixtureDocument document;
    document.Title = "Two pages";
    document.Version = "1.4";
    FixturePage turned{{300, 400}};
    turned.Rotation = 90;
    document.Pages = {FixturePage{{612, 792}}, turned};
    const ToolRun run = RunTool({"info", WritePdf(dir.path(), "two.pdf", document)});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonObject info = run.Json();
    EXPECT_EQ(info["PageCount"].toInt(), 2);
    EXPECT_EQ(info["Title"].toString(), "Two pages");
    EXPECT_EQ(info["PdfVersion"].toString(), "pv14");
    const QJsonArray pages = info["Pages"].toArray();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0]["PageNumber"].toInt(), 1);
    EXPECT_EQ(pages[0]["PageWidth"].toDouble(), 612);
    EXPECT_EQ(pages[1]["PageRotation"].toString(), "ro90");
    EXPECT_EQ(pages[1]["PageWidth"].toDouble(), 400); // turned a quarter
}

TEST(KestrovaPdfTool, InfoShowsPageLabels) {
    REQUIRE_TESTDATA("pdf/page_labels.pdf");
    const ToolRun run = RunTool({"info", Shared("pdf/page_labels.pdf")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    QStringList labels;
    for (const QJsonValue& page : run.Json()["Pages"].toArray())
        labels.append(page["PageLabel"].toString());
    EXPECT_EQ(labels, (QStringList{"i", "ii", "1", "2", "zzA", "zzB", ""}));
}

TEST(KestrovaPdfTool, TextWithEveryCharacter) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    const ToolRun run = RunTool({"text", Shared("pdf/hello_world.pdf"), "1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonObject text = run.Json();
    EXPECT_EQ(text["CharacterCount"].toInt(), 30);
    EXPECT_EQ(text["Text"].toString(), "Hello, world!\r\nGoodbye, world!");
    const QJsonArray characters = text["Characters"].toArray();
    ASSERT_EQ(characters.size(), 30);
    EXPECT_EQ(characters[0]["Character"].toInt(), 'H');
    EXPECT_EQ(characters[0]["FontSize"].toDouble(), 12);
    EXPECT_EQ(characters[0]["CharacterOrigin"]["X"].toDouble(), 20);
    EXPECT_EQ(characters[0]["CharacterOrigin"]["Y"].toDouble(), 50);
    const QJsonObject box = characters[0]["CharacterRectangle"].toObject();
    EXPECT_GT(box["Right"].toDouble(), box["Left"].toDouble());
    EXPECT_GT(box["Top"].toDouble(), box["Bottom"].toDouble());
    EXPECT_EQ(characters[29]["Index"].toInt(), 29);
}

TEST(KestrovaPdfTool, FindListsMatchesInTheSearchOrder) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    REQUIRE_TESTDATA("pdf/find_text_consecutive.pdf");
    const QString hello = Shared("pdf/hello_world.pdf");
    const QString consecutive = Shared("pdf/find_text_consecutive.pdf");
    const struct {
        QStringList Arguments;
        QList<int> Matches;
    } cases[] = {
        {{hello, "1", "world"}, {7, 24}},
        {{hello, "1", "world", "--backward"}, {24, 7}},
        {{hello, "1", "WORLD"}, {7, 24}},
        {{hello, "1", "WORLD", "--case"}, {}},
        {{hello, "1", "wor", "--whole-word"}, {}},
        {{consecutive, "1", "aaa"}, {0, 3, 6}},
        {{consecutive, "1", "aaa", "--consecutive"}, {0, 1, 2, 3, 4, 5, 6, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Arguments.join(' ').toStdString());
        const ToolRun run = RunTool(QStringList{"find"} + c.Arguments);
        ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
        EXPECT_EQ(Ints(run.Json()["Matches"]), c.Matches);
    }
}

TEST(KestrovaPdfTool, LinksOfBothKinds) {
    REQUIRE_TESTDATA("pdf/goto_action.pdf");
    REQUIRE_TESTDATA("pdf/weblinks.pdf");
    ToolRun run = RunTool({"links", Shared("pdf/goto_action.pdf"), "1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonArray annotations = run.Json()["LinkAnnotations"].toArray();
    ASSERT_EQ(annotations.size(), 1);
    EXPECT_EQ(annotations[0]["Action"].toString(), "acGoto");
    EXPECT_EQ(annotations[0]["ActionPageNumber"].toInt(), 2);
    EXPECT_EQ(annotations[0]["Rectangle"]["Right"].toDouble(), 199);
    EXPECT_TRUE(annotations[0]["Points"].toArray().isEmpty());

    run = RunTool({"links", Shared("pdf/weblinks.pdf"), "1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonObject links = run.Json();
    EXPECT_EQ(links["LinkAnnotationCount"].toInt(), 0);
    const QJsonArray web = links["WebLinks"].toArray();
    ASSERT_EQ(web.size(), 2);
    EXPECT_EQ(web[0]["Url"].toString(), "http://example.com?q=foo");
    EXPECT_EQ(web[1]["Rectangles"].toArray().size(), 1);
}

TEST(KestrovaPdfTool, OutlineNestsAndEndsOnALoopingOutline) {
    REQUIRE_TESTDATA("pdf/bookmarks.pdf");
    REQUIRE_TESTDATA("pdf/bookmarks_circular.pdf");
    REQUIRE_TESTDATA("pdf/named_dests.pdf");
    ToolRun run = RunTool({"outline", Shared("pdf/bookmarks.pdf")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonArray top = run.Json()["Bookmarks"].toArray();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[1]["Title"].toString(), "Open Middle");
    EXPECT_EQ(top[1]["Action"].toString(), "acUri");
    const QJsonArray children = top[1]["Children"].toArray();
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(children[0]["Title"].toString(), "Open Middle Descendant");
    EXPECT_EQ(children[0]["PageNumber"].toInt(), 1);
    EXPECT_EQ(top[2]["Children"].toArray().size(), 2);

    run = RunTool({"outline", Shared("pdf/bookmarks_circular.pdf")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_EQ(run.Json()["Bookmarks"].toArray().size(), 2);

    run = RunTool({"outline", Shared("pdf/named_dests.pdf")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonArray destinations = run.Json()["Destinations"].toArray();
    ASSERT_EQ(destinations.size(), 6);
    EXPECT_EQ(destinations[0]["Name"].toString(), "First");
    EXPECT_EQ(destinations[0]["PageNumber"].toInt(), 2);
}

TEST(KestrovaPdfTool, RenderWritesThePageAsPng) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString png = dir.filePath("hello.png");
    // A 200-point page at 150 dots per inch: 416.67 pixels, rounded.
    const ToolRun run = RunTool({"render", Shared("pdf/hello_world.pdf"), "1", "150", png});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_EQ(run.Json()["Width"].toInt(), 417);
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(417, 417));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    bool inked = false;
    for (int y = 0; y < image.height() && !inked; ++y)
        for (int x = 0; x < image.width() && !inked; ++x)
            inked = image.pixelColor(x, y).lightness() < 128;
    EXPECT_TRUE(inked) << "the text left no dark pixel";
}
