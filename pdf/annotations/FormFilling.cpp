#include "pdf/annotations/FormFilling.h"

#include "pdf/annotations/Annotations.h"
#include "pdf/annotations/FormFieldList.h"
#include "pdf/annotations/FormFields.h"
#include "pdf/annotations/FormPage.h"
#include "pdf/binding/EngineText.h"
#include "pdf/engine/FPdfFWLEvent.h"
#include "pdf/engine/FPdfFormFill.h"

#include <optional>

namespace PDFium {

namespace {

constexpr int ReadOnlyFlag = 1;
constexpr int MultiSelectFlag = 1 << 21;

// The page of the field being filled, announced to the environment once for a run of fields on one page.
class FillingPages {
public:
    explicit FillingPages(TPdf& pdf) : FPdf(pdf) {}
    const FormPage& On(int pageNumber) {
        if (!FPage || FPageNumber != pageNumber) {
            FPage.reset();
            FPage.emplace(FPdf, pageNumber);
            FPageNumber = pageNumber;
        }
        return *FPage;
    }

private:
    TPdf& FPdf;
    std::optional<FormPage> FPage;
    int FPageNumber = 0;
};

QString Quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

void CheckTaken(bool taken, const TPdfFormFieldEntry& field, const QString& value) {
    Check(taken,
          QStringLiteral("Form field %1 does not take the value %2").arg(Quoted(field.Name), Quoted(value)));
}

void PressKey(const FormPage& page, int key, int modifiers) {
    FORM_OnKeyDown(page.Form(), page.Page(), key, modifiers);
    FORM_OnKeyUp(page.Form(), page.Page(), key, modifiers);
}

// The engine's editing stores a line break as CR LF and a tab as a space: the typed text stands for the
// value where it differs from it only so.
QString AsTyped(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'))
        .replace(QLatin1Char('\t'), QLatin1Char(' '));
}

void TypeText(FillingPages& pages, const TPdfFormFieldEntry& field, const QString& value) {
    const FormPage& page = pages.On(field.PageNumber);
    page.Focus(field.Index);
    // Select the whole text, as a person would: to its start, then with Shift to its end.
    PressKey(page, FWL_VKEY_Home, FWL_EVENTFLAG_ControlKey);
    PressKey(page, FWL_VKEY_End, FWL_EVENTFLAG_ControlKey | FWL_EVENTFLAG_ShiftKey);
    FORM_ReplaceSelection(page.Form(), page.Page(), reinterpret_cast<FPDF_WIDESTRING>(value.utf16()));
    const QString typed = FetchUtf16Text([&](void* buffer, unsigned long size) {
        return FORM_GetFocusedText(page.Form(), page.Page(), buffer, size);
    });
    page.Commit();
    CheckTaken(AsTyped(typed) == AsTyped(value), field, value);
    // The field's value keeps the tabs that typing cannot give it.
    if (value.contains(QLatin1Char('\t')))
        SetFormField(page.Page(), field.Index, value);
}

// Presses the box until its state is the value: twice at most, so that a box whose state names none of its
// appearances, drawn empty, is switched on and then off. Taken where it then shows the value.
void SetCheckBox(FillingPages& pages, const TPdfFormFieldEntry& field, const QString& value) {
    const FormPage& page = pages.On(field.PageNumber);
    const auto state = [&] {
        return AnnotationText(OpenAnnotation(page.Page(), field.Index).get(), "AS");
    };
    for (int presses = 0; presses < 2 && state() != value; ++presses) {
        page.Press(field.Index);
        page.Commit();
    }
    CheckTaken(page.State(field.Index) == value, field, value);
}

// The buttons of the group that stand for the value, by the engine's export value.
QList<TPdfFormFieldEntry> StandingFor(FillingPages& pages, const QList<TPdfFormFieldEntry>& buttons,
                                      const QString& value) {
    QList<TPdfFormFieldEntry> standing;
    for (const TPdfFormFieldEntry& button : buttons)
        if (pages.On(button.PageNumber).ExportValue(button.Index) == value)
            standing.append(button);
    return standing;
}

// Clicks a button that stands for the value. Where the engine names none, the group is clicked through
// until a button shows the value as its state.
void SetRadioGroup(FillingPages& pages, const QList<TPdfFormFieldEntry>& buttons, const QString& value) {
    const QList<TPdfFormFieldEntry> standing = StandingFor(pages, buttons, value);
    const bool byExportValue = !standing.isEmpty();
    const QList<TPdfFormFieldEntry>& candidates = byExportValue ? standing : buttons;
    for (const TPdfFormFieldEntry& button : candidates) {
        if (button.State == value || (byExportValue && button.Checked))
            return;
    }
    for (const TPdfFormFieldEntry& button : candidates) {
        const FormPage& page = pages.On(button.PageNumber);
        page.Press(button.Index);
        page.Commit();
        const QString state = page.State(button.Index);
        if (state == value || (byExportValue && state != QLatin1String("Off")))
            return;
    }
    CheckTaken(false, buttons.first(), value);
}

// Selects the options named: a list that allows several takes them all and no others, any other choice field
// one.
void SelectOptions(FillingPages& pages, const TPdfFormFieldEntry& field, const QStringList& values) {
    const FormPage& page = pages.On(field.PageNumber);
    page.Focus(field.Index);
    const bool several = field.EngineFlags & MultiSelectFlag;
    for (int option = 0; option < field.Options.size(); ++option)
        if (several || values.contains(field.Options[option]))
            FORM_SetIndexSelected(page.Form(), page.Page(), option, values.contains(field.Options[option]));
    bool selected = true;
    for (const QString& value : values)
        selected = selected &&
                   FORM_IsIndexSelected(page.Form(), page.Page(), int(field.Options.indexOf(value))) != 0;
    page.Commit();
    CheckTaken(selected, field, values.join(QLatin1Char(',')));
}

// The widgets of the named field; raises when the field cannot take the value.
QList<TPdfFormFieldEntry> FillableWidgets(const QList<TPdfFormFieldEntry>& fields, const QString& name,
                                          const QString& value) {
    QList<TPdfFormFieldEntry> widgets;
    for (const TPdfFormFieldEntry& field : fields)
        if (field.Name == name)
            widgets.append(field);
    Check(!name.isEmpty() && !widgets.isEmpty(), QStringLiteral("Unknown form field %1").arg(Quoted(name)));
    const TPdfFormFieldEntry& field = widgets.first();
    Check(!(field.EngineFlags & ReadOnlyFlag),
          QStringLiteral("Form field %1 is read-only").arg(Quoted(name)));
    Check(field.Kind == fkText || field.Kind == fkCheckBox || field.Kind == fkRadioButton ||
              field.Kind == fkComboBox || field.Kind == fkListBox,
          QStringLiteral("Form field %1 cannot be filled").arg(Quoted(name)));
    // A person chooses a button of a radio group and never switches the group off.
    CheckTaken(field.Kind != fkRadioButton || value != QLatin1String("Off"), field, value);
    if (field.Kind == fkComboBox || field.Kind == fkListBox)
        Check(field.Options.contains(value) || field.ExportValues.contains(value),
              QStringLiteral("Form field %1 does not offer the value %2").arg(Quoted(name), Quoted(value)));
    return widgets;
}

// The option that a value given to a choice field names: by its label, or else by its export value.
QString OptionLabel(const TPdfFormFieldEntry& field, const QString& value) {
    if (field.Options.contains(value) || !field.ExportValues.contains(value))
        return value;
    return field.Options.value(field.ExportValues.indexOf(value));
}

// Fills the field with its values: a list that allows several selects them all, every other field takes
// one after the other, so that the last one stays.
void Fill(FillingPages& pages, const QList<TPdfFormFieldEntry>& widgets, const QStringList& values) {
    const TPdfFormFieldEntry& field = widgets.first();
    if (field.Kind == fkListBox && (field.EngineFlags & MultiSelectFlag)) {
        SelectOptions(pages, field, values);
        return;
    }
    for (const QString& value : values) {
        switch (field.Kind) {
        case fkText:
            TypeText(pages, field, value);
            break;
        case fkCheckBox:
            SetCheckBox(pages, field, value);
            break;
        case fkRadioButton:
            SetRadioGroup(pages, widgets, value);
            break;
        default:
            SelectOptions(pages, field, {value});
            break;
        }
    }
}

} // namespace

void FillFormFields(TPdf& Pdf, const TFormValues& Values) {
    Check(Pdf.FormHandle() != nullptr, QStringLiteral("Form filling needs the form-fill environment"));
    // The fields of a page that cannot be read are not there to fill.
    QList<TPdfPageError> unreadable;
    const QList<TPdfFormFieldEntry> fields = ListFormFields(Pdf, &unreadable);
    // Each field once, with its values in the order given.
    QStringList names;
    QList<QStringList> values;
    QList<QList<TPdfFormFieldEntry>> targets;
    for (const auto& [name, value] : Values) {
        const QList<TPdfFormFieldEntry> widgets = FillableWidgets(fields, name, value);
        if (!names.contains(name)) {
            names.append(name);
            values.append(QStringList());
            targets.append(widgets);
        }
        values[names.indexOf(name)].append(OptionLabel(widgets.first(), value));
    }
    const int startPage = Pdf.PageNumber();
    {
        FillingPages pages(Pdf);
        for (qsizetype i = 0; i < names.size(); ++i)
            Fill(pages, targets[i], values[i]);
    }
    Pdf.SetPageNumber(startPage);
}

} // namespace PDFium
