// kestrova-pdf's annotation and form commands end to end: annots, fields, annotate and fill run as processes
// on the shared corpus, their saved files read back by the tool itself, qpdf and poppler.
#include "support/PdfFixtures.h"
#include "support/Programs.h"
#include "support/TestData.h"
#include "tests/tools/ToolRun.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The page's annotation dictionaries as qpdf writes them, one a line, their entries in order.
QStringList AnnotationEntries(const QString& path) {
    const QString qdf = RunProgram("qpdf", {"--qdf", "--object-streams=disable", path, "-"});
    const QString flat = qdf.simplified();
    const qsizetype start = flat.indexOf("/Annots [") + 9;
    qsizetype end = start;
    for (int depth = 1; depth > 0 && end < flat.size(); ++end)
        depth += flat[end] == '[' ? 1 : flat[end] == ']' ? -1 : 0;
    QStringList annotations = flat.mid(start, end - 1 - start).split(">> <<");
    for (QString& annotation : annotations)
        annotation = annotation.remove("<<").remove(">>").trimmed();
    return annotations;
}

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

// How many pixels of the box are dark, as a marked check box or radio button draws them.
int DarkPixels(const QImage& page, QRect box) {
    int dark = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    return dark;
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

// The radio groups of this form are fields that no annotation holds; the engine's form still names them.
TEST(KestrovaPdfFormsTool, FieldsNamesRadioGroupsWhoseFieldIsNoAnnotation) {
    REQUIRE_TESTDATA("pdf/click_form.pdf");
    const ToolRun run = RunTool({"fields", Shared("pdf/click_form.pdf")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QJsonArray fields = run.Json()["Fields"].toArray();
    ASSERT_EQ(fields.size(), 8);
    const struct {
        int Index;
        const char* Name;
        const char* State;
        QJsonArray Flags;
    } cases[] = {
        {2, "readOnlyRadioButton", "Off", {"ffReadOnly"}},
        {4, "readOnlyRadioButton", "value3", {"ffReadOnly"}},
        {5, "radioButton", "Off", {"ffRequired"}},
        {6, "radioButton", "Off", {"ffRequired"}},
        {7, "radioButton", "value3", {"ffRequired"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Index);
        const QJsonObject field = fields[c.Index].toObject();
        EXPECT_EQ(field["Index"].toInt(), c.Index);
        EXPECT_EQ(field["Name"].toString(), c.Name);
        EXPECT_EQ(field["Type"].toString(), "fkRadioButton");
        EXPECT_EQ(field["Value"].toString(), "value3");
        EXPECT_EQ(field["State"].toString(), c.State);
        EXPECT_EQ(field["Flags"].toArray(), c.Flags);
    }
}

// A radio group whose field is no annotation, filled by name with a button's export value: poppler draws
// that button chosen and the others not, qpdf finds the file sound, and the engine reads the value back.
TEST(KestrovaPdfFormsTool, FillChoosesTheButtonOfARadioGroupWhoseFieldIsNoAnnotation) {
    REQUIRE_TESTDATA("pdf/click_form.pdf");
    const QString form = Shared("pdf/click_form.pdf");
    const int buttonsLeft[] = {85, 135, 185}; // the group's buttons in a row, bottom 50, 20 points wide
    const auto box = [](int left) {
        return QRect(left, 300 - 70, 20, 20);
    };
    const struct {
        const char* Setting;
        int Chosen; // index into buttonsLeft; -1 where nothing may be written
        const char* Message;
    } cases[] = {
        {"radioButton=value1", 0, ""},
        {"radioButton=value2", 1, ""},
        {"radioButton=value3", 2, ""},
        {"readOnlyRadioButton=value1", -1, "Form field \"readOnlyRadioButton\" is read-only"},
    };
    QTemporaryDir dir;
    const QImage before = PopplerPage(dir, form);
    ASSERT_FALSE(before.isNull());
    // As poppler draws a chosen and an unchosen button of the original.
    const int chosenDark = DarkPixels(before, box(buttonsLeft[2]));
    const int otherDark = DarkPixels(before, box(buttonsLeft[0]));
    ASSERT_NE(chosenDark, otherDark);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Setting);
        const QString out = dir.filePath("radio.pdf");
        QFile::remove(out);
        const ToolRun run = RunTool({"fill", form, out, c.Setting});
        if (c.Chosen < 0) {
            EXPECT_EQ(run.ExitCode, 1);
            EXPECT_TRUE(run.Errors.contains(c.Message)) << run.Errors.toStdString();
            EXPECT_FALSE(QFile::exists(out));
            continue;
        }
        ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
        ASSERT_TRUE(StructureIsSound(out));
        const QImage after = PopplerPage(dir, out);
        ASSERT_FALSE(after.isNull());
        for (int button = 0; button < 3; ++button)
            EXPECT_EQ(DarkPixels(after, box(buttonsLeft[button])),
                      button == c.Chosen ? chosenDark : otherDark)
                << "button " << button;
        const ToolRun reread = RunTool({"fields", out});
        ASSERT_EQ(reread.ExitCode, 0) << reread.Errors.toStdString();
        const QString value = QString::fromLatin1(c.Setting).section(QLatin1Char('='), 1);
        const QJsonArray fields = reread.Json()["Fields"].toArray();
        for (int button = 0; button < 3; ++button) {
            const QJsonObject field = fields[5 + button].toObject();
            EXPECT_EQ(field["Name"].toString(), "radioButton");
            EXPECT_EQ(field["Value"].toString(), value);
            EXPECT_EQ(field["Checked"].toBool(), button == c.Chosen) << "button " << button;
        }
    }
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
    const QImage before = PopplerPage(dir, form);
    const QImage after = PopplerPage(dir, out);
    ASSERT_FALSE(after.isNull());
    for (const QRect box : {QRect(135, 600 - 270, 20, 20), QRect(85, 600 - 70, 20, 20)}) {
        EXPECT_EQ(DarkPixels(before, box), 0);
        EXPECT_GT(DarkPixels(after, box), 10);
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

// Changing one entry leaves every other as it was: no flags where there were none, the rectangle and the ink
// as written (numbers that the engine's 32-bit floats hold exactly); a colour writes its opacity beside it.
TEST(KestrovaPdfFormsTool, AnnotateSetChangesOnlyWhatItNames) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FixturePage page{{200, 200}};
    page.Annotations = {
        "<< /Type /Annot /Subtype /Ink /Rect [ 10.5 20.25 150.125 160.0625 ] /InkList [ [ 12.375 "
        "22.5 140.0625 150.75 ] ] /C [ 0 0 1 ] >>",
        "<< /Type /Annot /Subtype /Square /Rect [ 30.5 30.25 90.125 80.0625 ] /F 4 /C [ 1 0 0 ] >>"};
    const QString input = WritePdf(dir.path(), "annotated.pdf", FixtureDocument{{page}});
    const QString out = dir.filePath("out.pdf");
    const ToolRun run = RunTool({"annotate", input, out, "set", "1", "0", "contents=hello", "set", "1", "1",
                                 "author=Ada", "set", "1", "1", "color=00FF00"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_TRUE(StructureIsSound(out));
    EXPECT_EQ(
        AnnotationEntries(out).join('\n').toStdString(),
        "/C [ 0 0 1 ] /Contents (hello) /InkList [ [ 12.375 22.5 140.0625 150.75 ] ] /Rect [ 10.5 20.25 "
        "150.125 160.0625 ] /Subtype /Ink /Type /Annot\n"
        "/C [ 0 1 0 ] /CA 1 /F 4 /Rect [ 30.5 30.25 90.125 80.0625 ] /Subtype /Square /T (Ada) /Type /Annot");
}

namespace {

// A form of one page whose widgets overlap: the text field Under and the check box Covered lie under the text
// field Over, listed last and so on top; the check box Stale says Yes, a state that names none of its
// appearances (On and Off), so that it is drawn empty.
FixtureDocument OverlappingForm() {
    const auto stream = [](const QByteArray& content) {
        return "<< /Type /XObject /Subtype /Form /BBox [0 0 20 20] /Length " +
               QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
    };
    const QByteArray widget = "/Type /Annot /Subtype /Widget /P 4 0 R /F 4 ";
    const QByteArray box = "/FT /Btn /AP << /N << /On @object4 /Off @object5 >> >> /MK << /CA (4) >> "
                           "/DA (/ZaDb 0 Tf 0 g) ";
    FixtureDocument document;
    document.Catalog =
        "/AcroForm << /Fields [@object0 @object1 @object2 @object3] /DA (/Helv 0 Tf 0 g) /DR << "
        "/Font << /Helv << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> /ZaDb << /Type /Font "
        "/Subtype /Type1 /BaseFont /ZapfDingbats >> >> >> >>";
    document.Objects = {"<< " + widget + "/FT /Tx /T (Under) /Rect [50 50 150 80] /DA (/Helv 12 Tf 0 g) >>",
                        "<< " + widget + "/FT /Tx /T (Over) /Rect [40 40 160 170] /DA (/Helv 12 Tf 0 g) >>",
                        "<< " + widget + box + "/T (Stale) /Rect [200 100 220 120] /V /Yes /AS /Yes >>",
                        "<< " + widget + box + "/T (Covered) /Rect [60 140 80 160] /V /Off /AS /Off >>",
                        stream("0 0 0 rg 2 2 16 16 re f"),
                        stream("")};
    document.Pages.first().Annotations = {"@object0", "@object2", "@object3", "@object1"};
    return document;
}

} // namespace

// A field under another widget is filled through the focus of its own widget, and a check box drawn empty
// though its state says otherwise is reported so and switched off.
TEST(KestrovaPdfFormsTool, FillReachesCoveredFieldsAndSwitchesEveryCheckBoxOff) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString input = WritePdf(dir.path(), "overlapping.pdf", OverlappingForm());
    const QJsonObject before = RunTool({"fields", input}).Json();
    EXPECT_EQ(FieldNamed(before, "Stale")["State"].toString(), "Off");
    EXPECT_FALSE(FieldNamed(before, "Stale")["Checked"].toBool());
    const QString out = dir.filePath("filled.pdf");
    const ToolRun run = RunTool({"fill", input, out, "Under=hello", "Covered=On", "Stale=Off"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_TRUE(StructureIsSound(out));
    const QJsonObject after = RunTool({"fields", out}).Json();
    EXPECT_EQ(FieldNamed(after, "Under")["Value"].toString(), "hello");
    EXPECT_EQ(FieldNamed(after, "Over")["Value"].toString(), "");
    EXPECT_EQ(FieldNamed(after, "Covered")["State"].toString(), "On");
    EXPECT_EQ(FieldNamed(after, "Stale")["State"].toString(), "Off");
    const struct {
        const char* Name;
        const char* Value;
        const char* State;
    } read[] = {{"Under", "u:hello", ""}, {"Covered", "/On", "/On"}, {"Stale", "/Off", "/Off"}};
    for (const auto& field : read) {
        SCOPED_TRACE(field.Name);
        const QJsonObject qpdf = QpdfField(out, field.Name);
        EXPECT_EQ(qpdf["value"].toString(), field.Value);
        EXPECT_EQ(qpdf["annotation"]["appearancestate"].toString(), field.State);
    }
    // Poppler draws the covered box checked and the stale one empty.
    const QImage page = PopplerPage(dir, out);
    EXPECT_GT(DarkPixels(page, {62, 634, 16, 16}), 100);
    EXPECT_EQ(DarkPixels(page, {202, 674, 16, 16}), 0);
}

// Choice fields whose options each have an export value beside the label: both reported, either taken.
TEST(KestrovaPdfFormsTool, ChoiceFieldsReportExportValuesAndTakeEither) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray choice = "/Type /Annot /Subtype /Widget /P 4 0 R /F 4 /FT /Ch /DA (/Helv 12 Tf 0 g) "
                              "/Opt [[(e1) (Apple)] [(e2) (Banana)] [(e3) (Cherry)]] ";
    FixtureDocument document;
    document.Catalog =
        "/AcroForm << /Fields [@object0 @object1] /DA (/Helv 0 Tf 0 g) /DR << /Font << /Helv << "
        "/Type /Font /Subtype /Type1 /BaseFont /Helvetica >> >> >> >>";
    document.Objects = {"<< " + choice + "/T (Fruit) /Ff 131072 /Rect [50 700 200 720] /V (e1) >>",
                        "<< " + choice + "/T (Pick) /Ff 2097152 /Rect [50 600 200 680] >>"};
    document.Pages.first().Annotations = {"@object0", "@object1"};
    const QString input = WritePdf(dir.path(), "choices.pdf", document);
    const QJsonObject before = RunTool({"fields", input}).Json();
    for (const char* name : {"Fruit", "Pick"}) {
        SCOPED_TRACE(name);
        const QJsonObject field = FieldNamed(before, name);
        EXPECT_EQ(field["Options"].toArray(), QJsonArray({"Apple", "Banana", "Cherry"}));
        EXPECT_EQ(field["ExportValues"].toArray(), QJsonArray({"e1", "e2", "e3"}));
    }
    // Reading the export values leaves the fields as they were.
    EXPECT_EQ(FieldNamed(before, "Fruit")["Selected"].toArray(), QJsonArray({"Apple"}));
    EXPECT_EQ(FieldNamed(before, "Pick")["Selected"].toArray(), QJsonArray());

    const QString out = dir.filePath("chosen.pdf");
    const ToolRun run = RunTool({"fill", input, out, "Fruit=e2", "Pick=Cherry", "Pick=e1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_TRUE(StructureIsSound(out));
    const QJsonObject after = RunTool({"fields", out}).Json();
    EXPECT_EQ(FieldNamed(after, "Fruit")["Selected"].toArray(), QJsonArray({"Banana"}));
    EXPECT_EQ(FieldNamed(after, "Pick")["Selected"].toArray(), QJsonArray({"Apple", "Cherry"}));
    EXPECT_EQ(QpdfField(out, "Fruit")["value"].toString(), "u:e2");
    const ToolRun refused = RunTool({"fill", input, out, "Fruit=e4"});
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_TRUE(refused.Errors.contains("Form field \"Fruit\" does not offer the value \"e4\""));
}
