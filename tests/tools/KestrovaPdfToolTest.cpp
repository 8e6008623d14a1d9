// kestrova-pdf end to end: the built tool run as a process on shared and written documents, its JSON parsed,
// its failures on standard error with their exit codes.
#include "support/PdfFixtures.h"
#include "support/Programs.h"
#include "support/SmallFilesystem.h"
#include "support/TestData.h"
#include "tests/tools/ToolRun.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

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
    REQUIRE_TESTDATA("pdf/text_form_multiple.pdf");
    REQUIRE_TESTDATA("pdf/combobox_form.pdf");
    REQUIRE_TESTDATA("pdf/bad_page_type.pdf");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString notPdf = dir.filePath("notes.pdf");
    {
        QFile file(notPdf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("These bytes are a shopping list, not a PDF.\n");
    }
    const QString hello = Shared("pdf/hello_world.pdf");
    const QString texts = Shared("pdf/text_form_multiple.pdf");
    const QString combos = Shared("pdf/combobox_form.pdf");
    const QString png = dir.filePath("page.png");
    const QString out = dir.filePath("out.pdf");
    const QString picture = dir.filePath("picture.png");
    ASSERT_TRUE(QImage(QSize(8, 4), QImage::Format_RGB32).save(picture));
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
        {{"render", hello, "1", "nan", png}, 2, "DPI must be a positive number"},
        {{"render", hello, "1", "inf", png}, 2, "DPI must be a positive number"},
        {{"info", Shared("pdf/encrypted.pdf")}, 1, "Password required or incorrect password"},
        {{"info", Shared("pdf/encrypted.pdf"), "--password", "4321"},
         1,
         "Password required or incorrect password"},
        {{"info", notPdf}, 1, "File not in PDF format or corrupted"},
        {{"outline", Shared("pdf/bug_325_a.pdf")}, 1, "File not in PDF format or corrupted"},
        {{"info", dir.filePath("absent.pdf")}, 1, "File not found or could not be opened"},
        {{"text", hello, "2"}, 1, "Incorrect page number"},
        {{"render", hello, "1", "72", dir.filePath("no/such/folder/page.png")},
         1,
         "Its folder does not exist"},
        {{"objects", hello}, 2, "Usage: kestrova-pdf"},
        {{"images", hello, "1"}, 2, "Usage: kestrova-pdf"},
        {{"edit", hello}, 2, "edit needs FILE and OUT"},
        {{"edit", hello, out}, 2, "edit needs at least one placement"},
        {{"edit", hello, out, "circle", "1", "2", "3"}, 2, "expected text, image, rect or polyline"},
        {{"edit", hello, out, "text", "1", "left", "10", "t"}, 2, "X must be a finite number"},
        {{"edit", hello, out, "rect", "1", "1", "1", "inf", "2"}, 2, "WIDTH must be a finite number: inf"},
        {{"edit", hello, out, "polyline", "1", "0", "0", "nan", "5"}, 2, "X must be a finite number: nan"},
        {{"edit", hello, out, "text", "1", "1e30", "10", "Hi"}, 1, "Number out of range: 1e+30"},
        {{"edit", hello, out, "text", "1", "20", "20", QStringLiteral("A😀B")},
         1,
         "(U+1F600): the engine draws no character beyond the Basic Multilingual Plane"},
        {{"edit", hello, out, "text", "1", "20", "20", QStringLiteral("שלום")},
         1,
         "(U+05E9): text is laid out left to right"},
        {{"edit", hello, out, "text", "1", "20", "20", "Hi", "size=0"},
         2,
         "size must be a number above 0: 0"},
        {{"edit", hello, out, "text", "1", "20", "20", "Hi", "size=-5"},
         2,
         "size must be a number above 0: -5"},
        {{"edit", hello, out, "image", "1", "10", "10", picture, "width=1e30"},
         1,
         "Number out of range: 1e+30"},
        {{"edit", hello, out, "image", "1", "10", "10", picture, "width=-80", "height=60"},
         2,
         "width must be a number above 0: -80"},
        {{"edit", hello, out, "image", "1", "10", "10", picture, "height=0"},
         2,
         "height must be a number above 0: 0"},
        {{"annotate", hello, out, "add", "1", "square", "1", "1", "inf", "2"},
         2,
         "RIGHT must be a finite number: inf"},
        {{"annotate", hello, out, "add", "1", "square", "1", "1", "40000", "2"},
         1,
         "Number out of range: 40000"},
        {{"edit", hello, out, "text", "1", "10", "10"}, 2, "text needs 1 arguments"},
        {{"edit", hello, out, "--version", "2.0", "text", "1", "1", "1", "t"}, 2, "--version must be one of"},
        {{"edit", hello, out, "--sideways", "text", "1", "1", "1", "t"}, 2, "unknown option --sideways"},
        {{"edit", hello, out, "rect", "1", "0", "0", "5", "5", "width=3"}, 2, "unknown setting width=3"},
        {{"edit", hello, out, "rect", "1", "0", "0", "5", "5", "fill=red"}, 2, "six hexadecimal digits"},
        {{"edit", hello, out, "polyline", "1", "0", "0"}, 2, "polyline needs at least two points"},
        {{"edit", hello, out, "text", "2", "1", "1", "t"}, 1, "Incorrect page number"},
        {{"edit", hello, out, "text", "1", "1", "1", "t", "font=NoSuchFont"}, 1, "Cannot create text object"},
        {{"edit", hello, out, "image", "1", "1", "1", notPdf}, 1, "Cannot read picture: "},
        {{"edit", Shared("pdf/bad_page_type.pdf"), out, "rect", "1", "10", "10", "30", "30"},
         1,
         "Cannot change the page: page 2 of the document cannot be read"},
        {{"edit", hello, dir.filePath("no/such/folder/out.pdf"), "text", "1", "1", "1", "t"},
         1,
         "Its folder does not exist"},
        {{"edit", hello, dir.path(), "text", "1", "1", "1", "t"}, 1, "It is a folder"},
        {{"edit", hello, out, "--incremental", "--version", "1.3", "text", "1", "1", "1", "t"},
         2,
         "--version cannot change the version of an --incremental save"},
        {{"edit", hello, out, "rect", "1", "0", "0", "5", "5", "fill=0x1234"}, 2, "six hexadecimal digits"},
        {{"annotate", hello, out, "add", "1", "ink", "1", "2", "3", "4"},
         2,
         "annotate cannot draw the strokes that an ink annotation needs"},
        {{"annots", hello}, 2, "Usage: kestrova-pdf"},
        {{"fields", hello, "1"}, 2, "Usage: kestrova-pdf"},
        {{"annotate", hello}, 2, "annotate needs FILE and OUT"},
        {{"annotate", hello, out}, 2, "annotate needs at least one edit"},
        {{"annotate", hello, out, "circle"}, 2, "expected add, set or delete"},
        {{"annotate", hello, out, "add", "1", "blob", "1", "2", "3", "4"},
         2,
         "unknown annotation subtype blob"},
        {{"annotate", hello, out, "add", "1", "text", "1", "2", "3"}, 2, "add needs 5 arguments"},
        {{"annotate", hello, out, "add", "1", "text", "1", "2", "3", "4", "flags=sideways"},
         2,
         "unknown annotation flag sideways"},
        {{"annotate", hello, out, "add", "1", "text", "1", "2", "3", "4", "points=1,2"},
         2,
         "points needs 8 numbers"},
        {{"annotate", hello, out, "delete", "1", "0", "color=FF0000"}, 2, "delete takes no settings"},
        {{"annotate", hello, out, "delete", "1", "0"}, 1, "Incorrect index"},
        {{"annotate", hello, out, "add", "2", "text", "1", "2", "3", "4"}, 1, "Incorrect page number"},
        {{"annotate", hello, out, "add", "1", "sound", "1", "2", "3", "4"},
         1,
         "Unsupported annotation subtype"},
        // The engine makes no redaction annotation, though it reads them.
        {{"annotate", hello, out, "add", "1", "redact", "1", "2", "3", "4"},
         1,
         "Unsupported annotation subtype"},
        {{"fill", hello, out}, 2, "fill needs at least one NAME=VALUE"},
        {{"fill", hello, out, "novalue"}, 2, "expected NAME=VALUE"},
        {{"fill", texts, out, "Text Box=ok", "Nobody=1"}, 1, "Unknown form field \"Nobody\""},
        {{"fill", texts, out, "ReadOnly=x"}, 1, "Form field \"ReadOnly\" is read-only"},
        {{"fill", combos, out, "Combo1=Coconut"},
         1,
         "Form field \"Combo1\" does not offer the value \"Coconut\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Arguments.join(' ').toStdString());
        const ToolRun run = RunTool(c.Arguments);
        EXPECT_EQ(run.ExitCode, c.ExitCode);
        EXPECT_FALSE(QFile::exists(out));
        EXPECT_TRUE(run.Errors.contains(QString::fromLatin1(c.Message))) << run.Errors.toStdString();
        EXPECT_TRUE(run.Output.isEmpty()) << run.Output.toStdString();
    }
}

TEST(KestrovaPdfTool, EveryCommandOfTheUsageIsOneTheParserTakes) {
    const QString usage = RunTool({}).Errors;
    QStringList named;
    const QRegularExpression commandLine(QStringLiteral("^  ([a-z]+) FILE"),
                                         QRegularExpression::MultilineOption);
    for (auto match = commandLine.globalMatch(usage); match.hasNext();)
        named.append(match.next().captured(1));
    EXPECT_EQ(named, (QStringList{"info", "text", "find", "links", "outline", "render", "objects", "images",
                                  "edit", "annots", "fields", "annotate", "fill"}));
    for (const QString& command : named) {
        SCOPED_TRACE(command.toStdString());
        const ToolRun run = RunTool({command});
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_FALSE(run.Errors.contains("unknown command")) << run.Errors.toStdString();
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

TEST(KestrovaPdfTool, InfoReportsAPageThatCannotBeReadInItsPlace) {
    REQUIRE_TESTDATA("pdf/bad_page_type.pdf");
    // Page 2 of this document is not a page the engine can load.
    const ToolRun run = RunTool({"info", Shared("pdf/bad_page_type.pdf")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonObject info = run.Json();
    EXPECT_EQ(info["PageCount"].toInt(), 2);
    EXPECT_TRUE(info.contains("PdfVersion"));
    const QJsonArray pages = info["Pages"].toArray();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0]["PageWidth"].toDouble(), 100);
    EXPECT_FALSE(pages[0].toObject().contains("Error"));
    EXPECT_EQ(pages[1].toObject(), (QJsonObject{{"PageNumber", 2}, {"Error", "Cannot open page 2"}}));
}

TEST(KestrovaPdfTool, AnnotsAndFieldsReportAnItemThatCannotBeReadInItsPlace) {
    REQUIRE_TESTDATA("pdf/bad_annots_entry.pdf");
    REQUIRE_TESTDATA("pdf/bug_664284.pdf");
    REQUIRE_TESTDATA("pdf/bad_page_type.pdf");
    for (const char* file : {"pdf/bad_annots_entry.pdf", "pdf/bug_664284.pdf"}) {
        SCOPED_TRACE(file);
        const ToolRun run = RunTool({"annots", Shared(file), "1"});
        ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
        const QJsonArray annotations = run.Json()["Annotations"].toArray();
        ASSERT_FALSE(annotations.isEmpty());
        EXPECT_EQ(annotations[0].toObject(),
                  (QJsonObject{{"Index", 0}, {"Error", "Cannot retrieve annotation"}}));
    }
    const ToolRun run = RunTool({"fields", Shared("pdf/bad_page_type.pdf")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_EQ(run.Json()["PageErrors"].toArray(),
              (QJsonArray{QJsonObject{{"PageNumber", 2}, {"Error", "Cannot open page 2"}}}));
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
        {{hello, "1", ""}, {}},
        {{hello, "1", "", "--backward"}, {}},
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

TEST(KestrovaPdfTool, ADeepOutlineIsListedToADepthLimitInOutputOfBoundedSize) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const int depth : {3000, 100000}) {
        SCOPED_TRACE(depth);
        FixtureDocument document;
        document.OutlineDepth = depth;
        const ToolRun run = RunTool({"outline", WritePdf(dir.path(), "deep.pdf", document)});
        ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
        // The listed levels and their indentation stay within a small, fixed size.
        EXPECT_LT(run.Output.size(), 100000);
        QJsonArray level = run.Json()["Bookmarks"].toArray();
        int levels = 0;
        QJsonObject last;
        while (level.size() == 1) {
            last = level[0].toObject();
            EXPECT_EQ(last["Title"].toString(), QStringLiteral("Level %1").arg(++levels));
            level = last["Children"].toArray();
        }
        EXPECT_TRUE(level.isEmpty());
        EXPECT_EQ(levels, 32);
        EXPECT_TRUE(last["ChildrenOmitted"].toBool());
    }
    // An outline within the limit is listed whole, with nothing omitted.
    FixtureDocument shallow;
    shallow.OutlineDepth = 32;
    const ToolRun run = RunTool({"outline", WritePdf(dir.path(), "shallow.pdf", shallow)});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_FALSE(run.Output.contains("ChildrenOmitted"));
    EXPECT_TRUE(run.Output.contains("Level 32"));
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

TEST(KestrovaPdfTool, RenderDrawsTheAnnotationsAsPopplerDoes) {
    REQUIRE_TESTDATA("pdf/annotation_stamp_with_ap.pdf");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = Shared("pdf/annotation_stamp_with_ap.pdf");
    const ToolRun run = RunTool({"render", source, "1", "36", dir.filePath("ours.png")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    RunProgram("pdftoppm", {"-r", "36", "-png", "-singlefile", source, dir.filePath("poppler")});
    const QImage ours(dir.filePath("ours.png"));
    const QImage poppler(dir.filePath("poppler.png"));
    ASSERT_EQ(ours.size(), poppler.size());
    // The page holds nothing but its stamp: both draw about as many pixels of it.
    const auto inked = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) != QColor(Qt::white) ? 1 : 0;
        return count;
    };
    EXPECT_GT(inked(poppler), 100);
    EXPECT_NEAR(inked(ours), inked(poppler), inked(poppler) / 5);
}

TEST(KestrovaPdfTool, ObjectsListsWhatThePageIsMadeOf) {
    REQUIRE_TESTDATA("pdf/embedded_images.pdf");
    const ToolRun run = RunTool({"objects", Shared("pdf/embedded_images.pdf"), "1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonObject report = run.Json();
    EXPECT_EQ(report["Transparent"].toBool(), false);
    const QJsonArray objects = report["Objects"].toArray();
    ASSERT_EQ(objects.size(), 39);
    EXPECT_EQ(report["ObjectCount"].toInt(), 39);
    for (int index = 0; index < 39; ++index) {
        EXPECT_EQ(objects[index]["Index"].toInt(), index);
        EXPECT_EQ(objects[index]["ObjectType"].toString(), index < 33 ? "otText" : "otImage");
        const QJsonObject bounds = objects[index]["ObjectBounds"].toObject();
        EXPECT_GE(bounds["Right"].toDouble(), bounds["Left"].toDouble());
        EXPECT_GE(bounds["Top"].toDouble(), bounds["Bottom"].toDouble());
    }
}

namespace {

// Width and height of each image as pdfimages -list reports them, in page order.
QList<QSize> ListedImageSizes(const QString& file) {
    QList<QSize> sizes;
    const QStringList lines = RunProgram("pdfimages", {"-list", file}).split('\n');
    for (const QString& line : lines.mid(2)) {
        const QStringList fields = line.simplified().split(' ');
        if (fields.size() > 4)
            sizes.append({fields[3].toInt(), fields[4].toInt()});
    }
    return sizes;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A writable copy of a shared document.
QString CopyShared(const QTemporaryDir& dir, const char* relative, const QString& name) {
    const QString copy = dir.filePath(name);
    QFile::copy(Shared(relative), copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

} // namespace

TEST(KestrovaPdfTool, ImagesAreWrittenAsPngFiles) {
    REQUIRE_TESTDATA("pdf/embedded_images.pdf");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = Shared("pdf/embedded_images.pdf");
    const ToolRun run = RunTool({"images", source, "1", dir.filePath("images")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonArray images = run.Json()["Images"].toArray();
    const QList<QSize> listed = ListedImageSizes(source);
    ASSERT_EQ(images.size(), listed.size());
    for (int index = 0; index < images.size(); ++index) {
        SCOPED_TRACE(index);
        const QJsonObject image = images[index].toObject();
        EXPECT_EQ(QSize(image["Width"].toInt(), image["Height"].toInt()), listed[index]);
        EXPECT_GT(image["ByteCount"].toInt(), 0);
        EXPECT_EQ(QImage(image["File"].toString()).size(), listed[index]);
    }
}

namespace {

// A page with two images side by side: JPEG data that no decoder reads, and a 10 by 10 grey image.
QByteArray TwoImagesOneDamaged() {
    const QByteArray damaged = QByteArray("\xFF\xD8\xFF\xE0 these bytes decode to nothing");
    const QByteArray grey(300, '\x80');
    const QList<QByteArray> objects{
        "<</Type/Catalog/Pages 2 0 R>>",
        "<</Type/Pages/Kids[3 0 R]/Count 1>>",
        "<</Type/Page/Parent 2 0 R/MediaBox[0 0 200 100]/Resources<</XObject<</Im0 5 0 R/Im1 6 0 R>>>>"
        "/Contents 4 0 R>>",
        "<</Length 61>>stream\nq 50 0 0 50 10 10 cm /Im0 Do Q q 50 0 0 50 70 10 cm /Im1 Do Q\nendstream",
        "<</Type/XObject/Subtype/Image/Width 10/Height 10/ColorSpace/DeviceRGB/BitsPerComponent 8"
        "/Filter/DCTDecode/Length " +
            QByteArray::number(damaged.size()) + ">>stream\n" + damaged + "\nendstream",
        "<</Type/XObject/Subtype/Image/Width 10/Height 10/ColorSpace/DeviceRGB/BitsPerComponent 8/Length "
        "300>>"
        "stream\n" +
            grey + "\nendstream"};
    QByteArray pdf = "%PDF-1.7\n";
    QByteArray table = "xref\n0 7\n0000000000 65535 f \n";
    for (qsizetype i = 0; i < objects.size(); ++i) {
        table += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const QByteArray start = QByteArray::number(pdf.size());
    return pdf + table + "trailer\n<</Size 7/Root 1 0 R>>\nstartxref\n" + start + "\n%%EOF\n";
}

} // namespace

TEST(KestrovaPdfTool, AnImageWhoseOwnBitmapCannotBeHadIsWrittenAsDrawn) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("images.pdf");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(TwoImagesOneDamaged());
    }
    const ToolRun run = RunTool({"images", file, "1", dir.filePath("images")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonArray images = run.Json()["Images"].toArray();
    ASSERT_EQ(images.size(), 2);
    // The damaged image as the page draws it, 50 points square; the other as it stands.
    EXPECT_TRUE(images[0]["Rendered"].toBool());
    EXPECT_EQ(QImage(images[0]["File"].toString()).size(), QSize(50, 50));
    EXPECT_FALSE(images[1].toObject().contains("Rendered"));
    EXPECT_EQ(QImage(images[1]["File"].toString()).size(), QSize(10, 10));
}

TEST(KestrovaPdfTool, EditPlacesEverythingAndSavesOverItsInput) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    REQUIRE_TESTDATA("mona_lisa.jpg");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = CopyShared(dir, "pdf/hello_world.pdf", "hello.pdf");
    const QString png = dir.filePath("picture.png");
    ASSERT_TRUE(QImage(QSize(30, 15), QImage::Format_RGB32).save(png));
    const ToolRun run = RunTool({"edit",
                                 file,
                                 file,
                                 "--version",
                                 "1.6",
                                 "text",
                                 "1",
                                 "20",
                                 "150",
                                 "Placed words",
                                 "size=14",
                                 "color=cc0000",
                                 "image",
                                 "1",
                                 "100",
                                 "20",
                                 Shared("mona_lisa.jpg"),
                                 "width=60",
                                 "height=60",
                                 "image",
                                 "1",
                                 "10",
                                 "10",
                                 png,
                                 "rect",
                                 "1",
                                 "150",
                                 "100",
                                 "30",
                                 "20",
                                 "fill=00ff00",
                                 "polyline",
                                 "1",
                                 "10",
                                 "190",
                                 "190",
                                 "190",
                                 "100",
                                 "120",
                                 "close",
                                 "stroke=0000ff",
                                 "line=2"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonObject report = run.Json();
    EXPECT_EQ(report["SaveOption"].toString(), "saNoIncremental");
    EXPECT_EQ(report["PdfVersion"].toString(), "pv16");
    const QJsonArray placed = report["Placements"].toArray();
    ASSERT_EQ(placed.size(), 5);
    EXPECT_EQ(placed[1]["ObjectBounds"]["Right"].toDouble(), 160);

    EXPECT_TRUE(RunProgram("qpdf", {"--check", file}).contains("No syntax or stream encoding errors found"));
    EXPECT_EQ(PdfInfoField(file, "PDF version"), "1.6");
    // The 200-point page measured from the top: the text's baseline at 150 puts its box just above 50.
    const QString words = RunProgram("pdftotext", {"-bbox", file, "-"});
    EXPECT_TRUE(
        words.contains(QRegularExpression(R"(<word xMin="20\.0+" yMin="3\d\.\d+" [^>]*>Placed</word>)")))
        << words.toStdString();
    EXPECT_EQ(ListedImageSizes(file), (QList<QSize>{{120, 120}, {30, 15}}));
}

TEST(KestrovaPdfTool, EditSavesIncrementallyAfterTheOriginalBytes) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath("out.pdf");
    // The second ends in a cross-reference stream.
    for (const char* source : {"pdf/hello_world.pdf", "realworld/libtasn1.pdf"}) {
        SCOPED_TRACE(source);
        const ToolRun run =
            RunTool({"edit", Shared(source), out, "--incremental", "text", "1", "10", "10", "Added"});
        ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
        EXPECT_EQ(run.Json()["SaveOption"].toString(), "saIncremental");
        EXPECT_TRUE(ReadFile(out).startsWith(ReadFile(Shared(source))));
        EXPECT_TRUE(
            RunProgram("qpdf", {"--check", out}).contains("No syntax or stream encoding errors found"));
        EXPECT_TRUE(RunProgram("pdftotext", {"-l", "1", out, "-"}).contains("Added"));
    }
}

TEST(KestrovaPdfTool, EditPlacesFromTheVisiblePagesLowerLeftCorner) {
    REQUIRE_TESTDATA("pdf/cropped_text.pdf");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath("out.pdf");
    // The page shows 50 to 150 of its 200 points each way.
    const ToolRun run = RunTool({"edit", Shared("pdf/cropped_text.pdf"), out, "text", "1", "10", "80",
                                 "Corner", "rect", "1", "0", "0", "20", "10", "fill=ff0000"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonArray placed = run.Json()["Placements"].toArray();
    ASSERT_EQ(placed.size(), 2);
    EXPECT_NEAR(placed[0]["ObjectBounds"]["Left"].toDouble(), 60, 1);
    EXPECT_EQ(placed[1]["ObjectBounds"]["Bottom"].toDouble(), 50);
    const QString words = RunProgram("pdftotext", {"-f", "1", "-l", "1", "-cropbox", "-bbox", out, "-"});
    EXPECT_TRUE(
        words.contains(QRegularExpression(R"(<word xMin="10\.0+" yMin="11\.\d+" [^>]*>Corner</word>)")))
        << words.toStdString();
    // The rectangle fills the visible page's lower-left corner: 20 by 10 of its 100 by 100 points.
    const QString png = dir.filePath("page");
    RunProgram("pdftoppm", {"-f", "1", "-l", "1", "-r", "72", "-cropbox", "-png", "-singlefile", out, png});
    const QImage image(png + ".png");
    ASSERT_EQ(image.size(), QSize(100, 100));
    EXPECT_EQ(image.pixelColor(5, 95), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(25, 85), QColor(Qt::white));
}

TEST(KestrovaPdfTool, AnnotateAddsFromTheVisiblePagesLowerLeftCorner) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FixturePage page{{200, 200}};
    page.Origin = {100, 200};
    const QString input = WritePdf(dir.path(), "corner.pdf", FixtureDocument{{page}});
    const QString out = dir.filePath("out.pdf");
    const ToolRun run =
        RunTool({"annotate", input, out, "add", "1", "square", "10", "100", "60", "150", "interior=00FF00",
                 "add", "1", "highlight", "10", "10", "20", "20", "points=0,1,1,1,0,0,1,0"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonArray edits = run.Json()["Edits"].toArray();
    EXPECT_EQ(edits[0]["Annotation"]["Rectangle"].toObject(),
              (QJsonObject{{"Left", 110}, {"Bottom", 300}, {"Right", 160}, {"Top", 350}}));
    EXPECT_EQ(edits[1]["Annotation"]["AttachmentPoints"].toArray()[3].toObject(),
              (QJsonObject{{"X", 101}, {"Y", 200}}));
    // Poppler draws it 10 points in and 50 to 100 points up the page.
    const QString png = dir.filePath("page");
    RunProgram("pdftoppm", {"-r", "72", "-png", "-singlefile", out, png});
    const QImage image(png + ".png");
    ASSERT_EQ(image.size(), QSize(200, 200));
    EXPECT_EQ(image.pixelColor(35, 75), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(35, 30), QColor(Qt::white));
}

TEST(KestrovaPdfTool, EditDrawsTextInAFontThatCoversItOrRefusesIt) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString hello = Shared("pdf/hello_world.pdf");
    const QString out = dir.filePath("out.pdf");
    const QString text = QStringLiteral("Zoë Ωmega 東京");
    // Beyond the standard fonts, a system font that draws it all is embedded.
    ToolRun run = RunTool({"edit", hello, out, "text", "1", "10", "10", text});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_TRUE(RunProgram("pdftotext", {out, "-"}).contains(text));
    EXPECT_TRUE(RunProgram("qpdf", {"--check", out}).contains("No syntax or stream encoding errors found"));
    const QString fontFile =
        RunProgram("fc-match", {"--format=%{file}", ":charset=3a9 6771 4eac:fontformat=TrueType"});
    EXPECT_TRUE(
        RunProgram("pdffonts", {out}).contains(QRegularExpression(R"(CID TrueType\s+Identity-H\s+yes)")));
    // The same text in the file asked for.
    run = RunTool({"edit", hello, out, "text", "1", "10", "10", text, "font=" + fontFile});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_TRUE(RunProgram("pdftotext", {out, "-"}).contains(text));
    QFile::remove(out);
    // A character of the private-use area, which no font of these machines draws.
    const QString undrawable = QStringLiteral("a\uE123");
    const struct {
        QStringList Arguments;
        QString Message;
    } refusals[] = {
        {{"text", "1", "1", "1", undrawable},
         "No font of this system draws every character of \"" + undrawable + "\""},
        {{"text", "1", "1", "1", undrawable, "font=" + fontFile},
         "The font " + fontFile + " does not draw every character of \"" + undrawable + "\""},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.Message.toStdString());
        run = RunTool(QStringList{"edit", hello, out} + refusal.Arguments);
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_TRUE(run.Errors.contains(refusal.Message)) << run.Errors.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

struct WriteLimit {
    const char* Name;
    bool FullDisk; // a real disk with no room for the output; otherwise a file-size limit
    const char* Reason;
};

void PrintTo(const WriteLimit& c, std::ostream* os) {
    *os << c.Name;
}

class KestrovaPdfToolSave : public testing::TestWithParam<WriteLimit> {};

// A save that cannot be written says what the system said and leaves the input whole.
TEST_P(KestrovaPdfToolSave, ThatCannotBeWrittenSaysWhyAndLeavesTheInputWhole) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    REQUIRE_TESTDATA("mona_lisa.jpg");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Two pages of memory: the input takes one, and the output, with the JPEG, needs two.
    std::optional<SmallFilesystem> disk;
    QString folder = dir.path();
    if (GetParam().FullDisk) {
        disk.emplace(8 * 1024);
        if (disk->Path().isEmpty())
            GTEST_SKIP() << disk->Refusal().toStdString();
        folder = disk->Path();
    }
    const QString file = folder + "/hello.pdf";
    ASSERT_TRUE(QFile::copy(Shared("pdf/hello_world.pdf"), file));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray before = ReadFile(file);
    // Four blocks of 512 bytes: the JPEG alone is larger. The ignored signal stays ignored in the tool, whose
    // writes beyond the limit then fail.
    const QString limit = GetParam().FullDisk ? QString() : QStringLiteral("trap '' XFSZ; ulimit -f 4; ");
    QProcess process;
    process.start("sh", {"-c", limit + "exec \"$0\" \"$@\"", QStringLiteral(KESTROVA_BIN_DIR "/kestrova-pdf"),
                         "edit", file, file, "image", "1", "0", "0", Shared("mona_lisa.jpg")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()).trimmed().toStdString(),
              QStringLiteral("kestrova-pdf: Cannot write file \"%1\". %2")
                  .arg(file, GetParam().Reason)
                  .toStdString());
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"hello.pdf"});
}

INSTANTIATE_TEST_SUITE_P(Limits, KestrovaPdfToolSave,
                         testing::Values(WriteLimit{"FileSize", false, "File too large"},
                                         WriteLimit{"FullDisk", true, "No space left on device"}),
                         [](const auto& info) { return std::string(info.param.Name); });
