// kestrova-pdf's annotation and form commands end to end: annots, fields, annotate and fill run as processes
// on the shared corpus, their saved files read back by the tool itself, qpdf and poppler.
#include "support/Programs.h"
#include "support/TestData.h"
#include "tests/tools/ToolRun.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

bool StructureIsSound(const QString& path) {
    return RunProgram("qpdf", {"--check", path}).contains("No syntax or stream encoding errors found");
}

QJsonObject FieldNamed(const QJsonObject& fields, const QString& name) {
    for (const QJsonValue& field : fields["Fields"].toArray())
        if (field["Name"].toString() == name)
            return field.toObject();
    return {};
}

// Poppler's rendering of the first page at 72 dots per inch.
QImage PopplerPage(const QTemporaryDir& dir, const QString& pdf) {
    const QString prefix = dir.filePath("poppler");
    RunProgram("pdftoppm", {"-png", "-r", "72", "-singlefile", "-f", "1", "-l", "1", pdf, prefix});
    return QImage(prefix + ".png");
}

} // namespace

TEST(KestrovaPdfFormsTool, AnnotsListsEveryRecord) {
    REQUIRE_TESTDATA("pdf/annotation_highlight_long_content.pdf");
    const ToolRun run = RunTool({"annots", Shared("pdf/annotation_highlight_long_content.pdf"), "1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonObject json = run.Json();
    EXPECT_EQ(json["PageNumber"].toInt(), 1);
    const QJsonArray annotations = json["Annotations"].toArray();
    ASSERT_EQ(json["AnnotationCount"].toInt(), annotations.size());
    ASSERT_FALSE(annotations.isEmpty());
    const QJsonObject highlight = annotations[0].toObject();
    EXPECT_EQ(highlight["Subtype"].toString(), "anHighlight");
    EXPECT_TRUE(highlight["HasAttachmentPoints"].toBool());
    EXPECT_EQ(highlight["AttachmentPoints"].toArray().size(), 4);
    EXPECT_GT(highlight["ContentsText"].toString().size(), 1000);
    for (const char* key : {"Index", "Flags", "HasColor", "Color", "ColorAlpha", "HasInteriorColor",
                            "InteriorColor", "InteriorColorAlpha", "Rectangle", "AuthorText"})
        EXPECT_TRUE(highlight.contains(key)) << key;
}

TEST(KestrovaPdfFormsTool, AnnotateAddsChangesAndDeletesAndEveryReaderSeesIt) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    QTemporaryDir dir;
    const QString out = dir.filePath("annotated.pdf");
    const ToolRun run = RunTool({"annotate",
                                 Shared("pdf/hello_world.pdf"),
                                 out,
                                 "add",
                                 "1",
                                 "text",
                                 "20",
                                 "20",
                                 "40",
                                 "40",
                                 "contents=First note",
                                 "author=Ada",
                                 "add",
                                 "1",
                                 "highlight",
                                 "20",
                                 "90",
                                 "180",
                                 "110",
                                 "color=FFFF00",
                                 "add",
                                 "1",
                                 "square",
                                 "100",
                                 "150",
                                 "180",
                                 "190",
                                 "color=0000FF",
                                 "interior=00FF00",
                                 "set",
                                 "1",
                                 "0",
                                 "contents=Changed note",
                                 "flags=print,locked",
                                 "add",
                                 "1",
                                 "underline",
                                 "20",
                                 "60",
                                 "120",
                                 "70",
                                 "delete",
                                 "1",
                                 "3"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_EQ(run.Json()["Edits"].toArray().size(), 6);
    ASSERT_TRUE(StructureIsSound(out));

    const ToolRun listed = RunTool({"annots", out, "1"});
    ASSERT_EQ(listed.ExitCode, 0) << listed.Errors.toStdString();
    const QJsonArray annotations = listed.Json()["Annotations"].toArray();
    ASSERT_EQ(annotations.size(), 3);
    EXPECT_EQ(annotations[0]["Subtype"].toString(), "anText");
    EXPECT_EQ(annotations[0]["ContentsText"].toString(), "Changed note");
    EXPECT_EQ(annotations[0]["AuthorText"].toString(), "Ada");
    EXPECT_EQ(annotations[0]["Flags"].toArray(), (QJsonArray{"afPrint", "afLocked"}));
    EXPECT_EQ(annotations[1]["Subtype"].toString(), "anHighlight");
    EXPECT_TRUE(annotations[1]["HasAttachmentPoints"].toBool());
    EXPECT_EQ(annotations[2]["Subtype"].toString(), "anSquare");

    // Poppler draws the square's green inside and blue border.
    const QImage page = PopplerPage(dir, out);
    ASSERT_FALSE(page.isNull());
    const int top = page.height() - 190;
    EXPECT_EQ(page.pixelColor(140, top + 20), QColor(0, 255, 0));
    EXPECT_EQ(page.pixelColor(100, top + 20).blue(), 255);
}

TEST(KestrovaPdfFormsTool, FieldsListsEveryWidgetWithItsKind) {
    REQUIRE_TESTDATA("pdf/multiple_form_types.pdf");
    const ToolRun run = RunTool({"fields", Shared("pdf/multiple_form_types.pdf")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonObject fields = run.Json();
    EXPECT_EQ(fields["FormType"].toString(), "ftAcroForm");
    const struct {
        const char* Name;
        const char* Type;
        const char* Value;
    } cases[] = {
        {"Combo_Editable", "fkComboBox", ""},
        {"Listbox_MultiSelectMultipleSelected", "fkListBox", ""},
        {"Text Box", "fkText", ""},
        {"Checkbox", "fkCheckBox", ""},
        {"radioButton", "fkRadioButton", "value3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QJsonObject field = FieldNamed(fields, c.Name);
        EXPECT_EQ(field["Type"].toString(), c.Type);
        EXPECT_EQ(field["Value"].toString(), c.Value);
        EXPECT_EQ(field["PageNumber"].toInt(), 1);
    }
    EXPECT_EQ(FieldNamed(fields, "Combo_Editable")["Options"].toArray(), (QJsonArray{"Foo", "Bar", "Qux"}));
    EXPECT_EQ(FieldNamed(fields, "Combo_Editable")["Flags"].toArray(),
              (QJsonArray{"ffChoiceCombo", "ffChoiceEdit"}));
}

// Every kind of field filled, and each shows in poppler's text and rendering of the saved file.
TEST(KestrovaPdfFormsTool, FillShowsEveryValueToEveryReader) {
    REQUIRE_TESTDATA("pdf/multiple_form_types.pdf");
    QTemporaryDir dir;
    const QString form = Shared("pdf/multiple_form_types.pdf");
    const QString out = dir.filePath("filled.pdf");
    const ToolRun run =
        RunTool({"fill", form, out, "Text Box=Hello Kestrova", "Combo_Editable=Bar",
                 "Listbox_MultiSelectMultipleSelected=Beta", "Checkbox=Yes", "radioButton=Yes"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    ASSERT_TRUE(StructureIsSound(out));

    const QString text = RunProgram("pdftotext", {out, "-"});
    for (const char* shown : {"Hello Kestrova", "Bar", "Beta"})
        EXPECT_TRUE(text.contains(shown)) << shown << " in " << text.toStdString();
    // The check box and the radio button, blank before, are marked after.
    const auto inked = [](const QImage& page, QRect box) {
        int dark = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
        return dark;
    };
    const QImage before = PopplerPage(dir, form);
    const QImage after = PopplerPage(dir, out);
    ASSERT_FALSE(after.isNull());
    for (const QRect box : {QRect(135, 600 - 270, 20, 20), QRect(85, 600 - 70, 20, 20)}) {
        EXPECT_EQ(inked(before, box), 0);
        EXPECT_GT(inked(after, box), 10);
    }
    const ToolRun fields = RunTool({"fields", out});
    ASSERT_EQ(fields.ExitCode, 0) << fields.Errors.toStdString();
    EXPECT_EQ(FieldNamed(fields.Json(), "Text Box")["Value"].toString(), "Hello Kestrova");
    EXPECT_EQ(FieldNamed(fields.Json(), "Combo_Editable")["Value"].toString(), "bar");
    EXPECT_EQ(FieldNamed(fields.Json(), "Checkbox")["Checked"].toBool(), true);
    EXPECT_EQ(FieldNamed(fields.Json(), "radioButton")["State"].toString(), "Yes");
}

TEST(KestrovaPdfFormsTool, AValueTheFieldDoesNotTakeWritesNothing) {
    REQUIRE_TESTDATA("pdf/click_form.pdf");
    QTemporaryDir dir;
    const QString out = dir.filePath("filled.pdf");
    const ToolRun run = RunTool({"fill", Shared("pdf/click_form.pdf"), out, "checkbox=Maybe"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Errors.contains("Form field \"checkbox\" does not take the value \"Maybe\""))
        << run.Errors.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}
