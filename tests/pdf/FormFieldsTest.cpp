// Form fields on the real engine and the shared corpus's AcroForms: values read and written through "V" with
// or without a form-fill environment, flags, fields whose value lives in a parent field, and the form filled
// as a person would, read back after saving by the engine, qpdf and poppler.
#include "pdf/Pdf.h"
#include "pdf/annotations/FormFieldList.h"
#include "pdf/annotations/FormFilling.h"
#include "support/Programs.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"
#include "tests/pdf/SharedDocument.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace PDFium;

namespace {

void OpenForm(TPdf& pdf, const char* file, bool formFill = true) {
    pdf.SetFormFill(formFill);
    OpenShared(pdf, file);
}

QString Saved(TPdf& pdf, const QTemporaryDir& dir, const char* name) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(pdf.SaveAs(path, saNoIncremental, pvUnknown));
    EXPECT_TRUE(RunProgram("qpdf", {"--check", path}).contains("No syntax or stream encoding errors found"));
    return path;
}

// The value qpdf reads for the field of that full name, as its JSON shows it ("u:text", "/Name").
QString QpdfFieldValue(const QString& path, const QString& name) {
    const QJsonObject field = QpdfField(path, name);
    return field.isEmpty() ? QStringLiteral("<absent>") : field["value"].toString();
}

TPdfFormFieldEntry FieldNamed(TPdf& pdf, const QString& name) {
    for (const TPdfFormFieldEntry& field : ListFormFields(pdf))
        if (field.Name == name)
            return field;
    ADD_FAILURE() << "no field " << name.toStdString();
    return {};
}

} // namespace

TEST(FormFields, ValuesAndFlagsOfTheCorpus) {
    const struct {
        const char* File;
        bool FormFill;
        int Index;
        QString Value;
        TPdfFormFieldFlags Flags;
    } cases[] = {
        {"pdf/text_form_multiple.pdf", true, 0, "", {}},
        {"pdf/text_form_multiple.pdf", true, 1, "", {ffReadOnly}},
        {"pdf/text_form_multiple.pdf", true, 2, "Elephant", {}},
        {"pdf/text_form_multiple.pdf", false, 2, "Elephant", {}},
        {"pdf/text_form_multiple.pdf", false, 1, "", {}},
        {"pdf/text_form_multiline.pdf", true, 0, "", {ffMultiline}},
        {"pdf/combobox_form.pdf", true, 0, "", {ffChoiceCombo, ffChoiceEdit}},
        {"pdf/combobox_form.pdf", true, 1, "Banana", {ffChoiceCombo}},
        {"pdf/combobox_form.pdf", true, 2, "", {ffReadOnly, ffChoiceCombo}},
        {"pdf/click_form.pdf", true, 0, "Yes", {ffReadOnly}},
        {"pdf/click_form.pdf", true, 1, "Off", {ffRequired}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.File) + " #" + std::to_string(c.Index) +
                     (c.FormFill ? "" : " without forms"));
        REQUIRE_TESTDATA(c.File);
        TPdf pdf;
        OpenForm(pdf, c.File, c.FormFill);
        EXPECT_EQ(pdf.FormHandle() != nullptr, c.FormFill);
        EXPECT_EQ(pdf.FormField(c.Index), c.Value);
        EXPECT_EQ(pdf.FormFieldFlags(c.Index), c.Flags);
    }
}

TEST(FormFields, WritingAValueChangesVAloneAndSurvivesSaving) {
    REQUIRE_TESTDATA("pdf/text_form.pdf");
    QTemporaryDir dir;
    TPdf pdf;
    OpenForm(pdf, "pdf/text_form.pdf", false);
    const QImage before = pdf.RenderPage(0, 0, 300, 300, ro0, {reAnnotations}, clWhite);
    pdf.SetFormField(0, "Written");
    EXPECT_EQ(pdf.FormField(0), "Written");
    EXPECT_EQ(pdf.RenderPage(0, 0, 300, 300, ro0, {reAnnotations}, clWhite), before);
    TPdf reloaded;
    OpenShared(reloaded, "pdf/text_form.pdf");
    reloaded.SetActive(false);
    reloaded.SetFileName(Saved(pdf, dir, "written.pdf"));
    reloaded.SetActive(true);
    EXPECT_EQ(reloaded.FormField(0), "Written");
    EXPECT_EQ(QpdfFieldValue(reloaded.FileName(), "Text Box"), "u:Written");
}

// A radio button is a widget of its group's field, which holds the value; the engine finds that field only
// where the parent calls itself an annotation.
TEST(FormFields, AWidgetOfAParentFieldReadsAndWritesTheParentsValue) {
    REQUIRE_TESTDATA("pdf/multiple_form_types.pdf");
    QTemporaryDir dir;
    TPdf pdf;
    OpenForm(pdf, "pdf/multiple_form_types.pdf");
    const TPdfFormFieldEntry button = FieldNamed(pdf, "radioButton");
    ASSERT_EQ(button.Kind, fkRadioButton);
    EXPECT_EQ(pdf.FormField(button.Index), "value3");
    pdf.SetFormField(button.Index, "value1");
    EXPECT_EQ(pdf.FormField(button.Index), "value1");
    const QString saved = Saved(pdf, dir, "parent.pdf");
    TPdf reloaded;
    reloaded.SetFileName(saved);
    reloaded.SetPageNumber(1);
    reloaded.SetActive(true);
    EXPECT_EQ(FieldNamed(reloaded, "radioButton").Value, "value1");
    EXPECT_EQ(QpdfFieldValue(saved, "radioButton"), "u:value1");
}

TEST(FormFields, AWidgetWhoseParentTheEngineCannotReachRefusesAValue) {
    REQUIRE_TESTDATA("pdf/click_form.pdf");
    QTemporaryDir dir;
    TPdf pdf;
    OpenForm(pdf, "pdf/click_form.pdf");
    // Annotation 4 is the chosen button of the group "readOnlyRadioButton", whose field is no annotation.
    EXPECT_EQ(pdf.FormField(4), "");
    EXPECT_EQ(ErrorOf([&] { pdf.SetFormField(4, "value1"); }), "Cannot set form field value");
    EXPECT_EQ(QpdfFieldValue(Saved(pdf, dir, "kept.pdf"), "readOnlyRadioButton"), "/value3");
}

TEST(FormFields, TheFieldListOfAFormWithEveryKind) {
    REQUIRE_TESTDATA("pdf/click_form.pdf");
    REQUIRE_TESTDATA("pdf/listbox_form.pdf");
    TPdf clicks;
    OpenForm(clicks, "pdf/click_form.pdf");
    const QList<TPdfFormFieldEntry> fields = ListFormFields(clicks);
    ASSERT_FALSE(fields.isEmpty());
    EXPECT_EQ(fields[0].Name, "readOnlyCheckbox");
    EXPECT_EQ(fields[0].Kind, fkCheckBox);
    EXPECT_TRUE(fields[0].Checked);
    EXPECT_EQ(fields[0].State, "Yes");
    TPdf lists;
    OpenForm(lists, "pdf/listbox_form.pdf");
    const TPdfFormFieldEntry single = FieldNamed(lists, "Listbox_SingleSelect");
    EXPECT_EQ(single.Kind, fkListBox);
    EXPECT_FALSE(single.Options.isEmpty());
}

// The engine tells kinds and flags only for pages announced to the form environment, which these files'
// fields would otherwise never meet.
TEST(FormFields, KindsAndFlagsAreReadOnPagesAnnouncedToTheEnvironment) {
    REQUIRE_TESTDATA("pdf/bug_707673.pdf");
    REQUIRE_TESTDATA("pdf/363015187.pdf");
    const struct {
        const char* File;
        int Index;
        const char* Name;
        TPdfFormFieldKind Kind;
        int Flags;
    } cases[] = {
        {"pdf/bug_707673.pdf", 29, "myRadio", fkRadioButton, 1 << 15},
        {"pdf/bug_707673.pdf", 35, "myButton4", fkPushButton, 1 << 16},
        {"pdf/363015187.pdf", 0, "Text", fkText, 4097},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TPdf pdf;
        OpenForm(pdf, c.File);
        const QList<TPdfFormFieldEntry> fields = ListFormFields(pdf);
        ASSERT_GT(fields.size(), c.Index);
        EXPECT_EQ(fields[c.Index].Name, c.Name);
        EXPECT_EQ(fields[c.Index].Kind, c.Kind);
        EXPECT_EQ(fields[c.Index].EngineFlags, c.Flags);
    }
    TPdf radios;
    OpenForm(radios, "pdf/bug_707673.pdf");
    FillFormFields(radios, {{"myRadio", "Female"}});
    QTemporaryDir dir;
    EXPECT_EQ(QpdfFieldValue(Saved(radios, dir, "radio.pdf"), "myRadio"), "/Female");
}

// The radio groups of this form are fields that no annotation dictionary holds: the engine's form names
// them and reads their value.
TEST(FormFields, RadioGroupsWhoseFieldIsNoAnnotationHaveNameKindAndValue) {
    REQUIRE_TESTDATA("pdf/click_form.pdf");
    TPdf pdf;
    OpenForm(pdf, "pdf/click_form.pdf");
    const QList<TPdfFormFieldEntry> fields = ListFormFields(pdf);
    ASSERT_EQ(fields.size(), 8);
    const struct {
        int Index;
        const char* Name;
        int Flags;
        const char* State;
    } cases[] = {
        {2, "readOnlyRadioButton", 49153, "Off"},
        {3, "readOnlyRadioButton", 49153, "Off"},
        {4, "readOnlyRadioButton", 49153, "value3"},
        {5, "radioButton", 49154, "Off"},
        {6, "radioButton", 49154, "Off"},
        {7, "radioButton", 49154, "value3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Index);
        const TPdfFormFieldEntry& field = fields[c.Index];
        EXPECT_EQ(field.Index, c.Index);
        EXPECT_EQ(field.Name, c.Name);
        EXPECT_EQ(field.Kind, fkRadioButton);
        EXPECT_EQ(field.EngineFlags, c.Flags);
        EXPECT_EQ(field.Value, "value3");
        EXPECT_EQ(field.State, c.State);
        EXPECT_EQ(field.Checked, c.State != QStringLiteral("Off"));
    }
    // The widget's own value stays what the annotations hold.
    EXPECT_EQ(pdf.FormField(4), "");
}

// Filled by a button's export value, the group shows that button chosen to the engine after reloading and
// to qpdf.
TEST(FormFields, ARadioGroupWhoseFieldIsNoAnnotationIsFilledByName) {
    REQUIRE_TESTDATA("pdf/click_form.pdf");
    const struct {
        const char* Value;
        int Chosen;
    } cases[] = {{"value1", 5}, {"value2", 6}, {"value3", 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        TPdf pdf;
        OpenForm(pdf, "pdf/click_form.pdf");
        FillFormFields(pdf, {{"radioButton", c.Value}});
        QTemporaryDir dir;
        const QString saved = Saved(pdf, dir, "radio.pdf");
        EXPECT_EQ(QpdfFieldValue(saved, "radioButton"), QStringLiteral("/") + c.Value);
        TPdf reloaded;
        reloaded.SetFormFill(true);
        reloaded.SetFileName(saved);
        reloaded.SetPageNumber(1);
        reloaded.SetActive(true);
        const QList<TPdfFormFieldEntry> fields = ListFormFields(reloaded);
        ASSERT_EQ(fields.size(), 8);
        for (int index = 5; index <= 7; ++index) {
            SCOPED_TRACE(index);
            EXPECT_EQ(fields[index].Value, c.Value);
            EXPECT_EQ(fields[index].Checked, index == c.Chosen);
        }
    }
}

TEST(FormFields, FillingRefusesWhatTheFormDoesNotOfferAndChangesNothing) {
    REQUIRE_TESTDATA("pdf/multiple_form_types.pdf");
    REQUIRE_TESTDATA("pdf/text_form_multiple.pdf");
    REQUIRE_TESTDATA("pdf/click_form.pdf");
    REQUIRE_TESTDATA("pdf/363015187.pdf");
    const struct {
        const char* File;
        TFormValues Values;
        QString Message;
    } cases[] = {
        {"pdf/text_form_multiple.pdf",
         {{"Text Box", "ok"}, {"Nobody", "x"}},
         "Unknown form field \"Nobody\""},
        {"pdf/text_form_multiple.pdf",
         {{"Text Box", "ok"}, {"ReadOnly", "x"}},
         "Form field \"ReadOnly\" is read-only"},
        {"pdf/multiple_form_types.pdf",
         {{"Text Box", "ok"}, {"Listbox_MultiSelectMultipleSelected", "Omega"}},
         "Form field \"Listbox_MultiSelectMultipleSelected\" does not offer the value \"Omega\""},
        {"pdf/text_form_multiple.pdf", {{"", "x"}}, "Unknown form field \"\""},
        {"pdf/click_form.pdf",
         {{"radioButton", "value1"}, {"readOnlyRadioButton", "value1"}},
         "Form field \"readOnlyRadioButton\" is read-only"},
        {"pdf/363015187.pdf", {{"Text", "x"}}, "Form field \"Text\" is read-only"},
        {"pdf/click_form.pdf",
         {{"radioButton", "value1"}, {"radioButton", "Off"}},
         "Form field \"radioButton\" does not take the value \"Off\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message.toStdString());
        TPdf pdf;
        OpenForm(pdf, c.File);
        const QList<TPdfFormFieldEntry> before = ListFormFields(pdf);
        EXPECT_EQ(ErrorOf([&] { FillFormFields(pdf, c.Values); }), c.Message);
        const QList<TPdfFormFieldEntry> after = ListFormFields(pdf);
        ASSERT_EQ(after.size(), before.size());
        for (qsizetype i = 0; i < after.size(); ++i)
            EXPECT_EQ(after[i].Value, before[i].Value);
    }
    TPdf withoutForms;
    OpenForm(withoutForms, "pdf/text_form_multiple.pdf", false);
    EXPECT_EQ(ErrorOf([&] {
                  FillFormFields(withoutForms, {{"Text Box", "x"}});
              }),
              "Form filling needs the form-fill environment");
}

TEST(FormFields, TypedTextReplacesWhatTheFieldHeldOrIsRefusedWhenTooLong) {
    const struct {
        const char* File;
        const char* Name;
        QString Value;
        QString Message;
    } cases[] = {
        {"pdf/text_form.pdf", "Text Box", "Hello", "<none>"},
        {"pdf/text_form_multiple.pdf", "CharLimit", "Cat", "<none>"},
        {"pdf/text_form_multiline.pdf", "Text Box", "One\r\nTwo", "<none>"},
        {"pdf/text_form_multiline.pdf", "Text Box", "One\nTwo\rThree", "<none>"},
        {"pdf/text_form_multiline.pdf", "Text Box", "Tab\tstop", "<none>"},
        {"pdf/text_form.pdf", "Text Box", "Tab\tstop", "<none>"},
        {"pdf/text_form_multiple.pdf", "CharLimit", "Hippopotamus",
         "Form field \"CharLimit\" does not take the value \"Hippopotamus\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.File) + " " + c.Value.toStdString());
        REQUIRE_TESTDATA(c.File);
        TPdf pdf;
        OpenForm(pdf, c.File);
        EXPECT_EQ(ErrorOf([&] { FillFormFields(pdf, {{c.Name, c.Value}}); }), c.Message);
        if (c.Message == "<none>") {
            // Line breaks are kept as the engine writes them, CR LF.
            const QString stored =
                QString(c.Value).replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
            EXPECT_EQ(FieldNamed(pdf, c.Name).Value, stored);
            QTemporaryDir dir;
            EXPECT_EQ(QpdfFieldValue(Saved(pdf, dir, "typed.pdf"), c.Name), "u:" + stored);
        }
    }
}

TEST(FormFields, APageThatCannotBeReadIsListedApartOrRaises) {
    REQUIRE_TESTDATA("pdf/bad_page_type.pdf");
    TPdf pdf;
    OpenForm(pdf, "pdf/bad_page_type.pdf");
    EXPECT_EQ(ErrorOf([&] { ListFormFields(pdf); }), "Cannot open page 2");
    QList<TPdfPageError> unreadable;
    EXPECT_TRUE(ListFormFields(pdf, &unreadable).isEmpty());
    ASSERT_EQ(unreadable.size(), 1);
    EXPECT_EQ(unreadable[0].PageNumber, 2);
    EXPECT_EQ(unreadable[0].Message, "Cannot open page 2");
    EXPECT_EQ(ErrorOf([&] { FillFormFields(pdf, {{"Text", "x"}}); }), "Unknown form field \"Text\"");
}

TEST(FormFields, ListBoxesReportEverySelectedOptionAndTakeSeveral) {
    REQUIRE_TESTDATA("pdf/listbox_form.pdf");
    TPdf pdf;
    OpenForm(pdf, "pdf/listbox_form.pdf");
    const struct {
        const char* Name;
        QStringList Selected;
    } cases[] = {
        {"Listbox_SingleSelect", {}},
        {"Listbox_MultiSelect", {"Banana"}},
        {"Listbox_MultiSelectMultipleIndices", {"Belgium", "Denmark"}},
        {"Listbox_MultiSelectMultipleValues", {"Gamma", "Epsilon"}},
        {"Listbox_SingleSelectLastSelected", {"Saskatchewan"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FieldNamed(pdf, c.Name).Selected, c.Selected) << c.Name;

    // Several values for a list that allows several select them all and drop what was selected before; a list
    // of one choice keeps the last value given.
    FillFormFields(pdf, {{"Listbox_MultiSelect", "Apple"},
                         {"Listbox_SingleSelect", "Foo"},
                         {"Listbox_MultiSelect", "Cherry"},
                         {"Listbox_SingleSelect", "Qux"}});
    EXPECT_EQ(FieldNamed(pdf, "Listbox_MultiSelect").Selected, (QStringList{"Apple", "Cherry"}));
    EXPECT_EQ(FieldNamed(pdf, "Listbox_SingleSelect").Selected, QStringList{"Qux"});
    QTemporaryDir dir;
    EXPECT_EQ(QpdfField(Saved(pdf, dir, "lists.pdf"), "Listbox_MultiSelect")["value"].toArray(),
              (QJsonArray{"u:Apple", "u:Cherry"}));
}

TEST(FormFields, AFormFilledTwiceShowsTheSecondValues) {
    REQUIRE_TESTDATA("pdf/multiple_form_types.pdf");
    TPdf pdf;
    OpenForm(pdf, "pdf/multiple_form_types.pdf");
    FillFormFields(pdf, {{"Text Box", "First words"}, {"Checkbox", "Yes"}, {"Combo_Editable", "Bar"}});
    FillFormFields(pdf, {{"Text Box", "Second words"}, {"Checkbox", "Off"}, {"Combo_Editable", "Qux"}});
    EXPECT_EQ(FieldNamed(pdf, "Text Box").Value, "Second words");
    EXPECT_EQ(FieldNamed(pdf, "Checkbox").State, "Off");
    EXPECT_EQ(FieldNamed(pdf, "Combo_Editable").Value, "qux");
}
