#include "pdf/annotations/FormFieldList.h"

#include "pdf/annotations/Annotations.h"
#include "pdf/annotations/FormPage.h"
#include "pdf/binding/EngineText.h"

#include <QBuffer>
#include <algorithm>
#include <optional>

namespace PDFium {

namespace {

constexpr int RadioFlag = 1 << 15;
constexpr int PushButtonFlag = 1 << 16;
constexpr int ComboFlag = 1 << 17;

// The widget and the fields above it, as far as the engine links them as annotations (it follows a parent
// only where that dictionary calls itself an annotation), widget first.
std::vector<OwnedAnnotation> FieldChain(OwnedAnnotation widget) {
    std::vector<OwnedAnnotation> chain;
    chain.push_back(std::move(widget));
    while (chain.size() < 32) {
        OwnedAnnotation parent(FPDFAnnot_GetLinkedAnnot(chain.back().get(), "Parent"));
        if (!parent)
            break;
        chain.push_back(std::move(parent));
    }
    return chain;
}

QString FullName(const std::vector<OwnedAnnotation>& chain) {
    QStringList parts;
    for (const OwnedAnnotation& field : chain) {
        const QString part = AnnotationText(field.get(), "T");
        if (!part.isEmpty())
            parts.prepend(part);
    }
    return parts.join(QLatin1Char('.'));
}

// Whether the chain ends at the field itself rather than at a parent it could not follow.
bool ReachesField(const std::vector<OwnedAnnotation>& chain) {
    return !FPDFAnnot_HasKey(chain.back().get(), "Parent");
}

QString FieldType(const std::vector<OwnedAnnotation>& chain) {
    for (const OwnedAnnotation& field : chain)
        if (FPDFAnnot_HasKey(field.get(), "FT"))
            return AnnotationText(field.get(), "FT");
    return {};
}

TPdfFormFieldKind KindOf(const QString& fieldType, int flags) {
    if (fieldType == QLatin1String("Tx"))
        return fkText;
    if (fieldType == QLatin1String("Ch"))
        return flags & ComboFlag ? fkComboBox : fkListBox;
    if (fieldType == QLatin1String("Sig"))
        return fkSignature;
    if (fieldType == QLatin1String("Btn"))
        return flags & PushButtonFlag ? fkPushButton : flags & RadioFlag ? fkRadioButton : fkCheckBox;
    return fkUnknown;
}

TPdfFormFieldKind KindOfEngineType(int type) {
    switch (type) {
    case FPDF_FORMFIELD_PUSHBUTTON:
        return fkPushButton;
    case FPDF_FORMFIELD_CHECKBOX:
        return fkCheckBox;
    case FPDF_FORMFIELD_RADIOBUTTON:
        return fkRadioButton;
    case FPDF_FORMFIELD_COMBOBOX:
        return fkComboBox;
    case FPDF_FORMFIELD_LISTBOX:
        return fkListBox;
    case FPDF_FORMFIELD_TEXTFIELD:
        return fkText;
    case FPDF_FORMFIELD_SIGNATURE:
        return fkSignature;
    default:
        return fkUnknown;
    }
}

// The field's kind by the engine's own reading where it has one, else by the chain's field type and flags.
TPdfFormFieldKind Kind(FPDF_FORMHANDLE form, const std::vector<OwnedAnnotation>& chain, int flags) {
    const int engineType =
        form && FPDFAnnot_GetFormFieldType ? FPDFAnnot_GetFormFieldType(form, chain.front().get()) : -1;
    return engineType > FPDF_FORMFIELD_UNKNOWN ? KindOfEngineType(engineType)
                                               : KindOf(FieldType(chain), flags);
}

bool IsChoice(const TPdfFormFieldEntry& field) {
    return field.Kind == fkComboBox || field.Kind == fkListBox;
}

// The options offered and those of them selected.
void ReadOptions(FPDF_FORMHANDLE form, FPDF_ANNOTATION widget, TPdfFormFieldEntry& entry) {
    const int count = FPDFAnnot_GetOptionCount(form, widget);
    for (int option = 0; option < count; ++option) {
        entry.Options.append(FetchUtf16Text([&](void* buffer, unsigned long size) {
            return FPDFAnnot_GetOptionLabel(form, widget, option, static_cast<FPDF_WCHAR*>(buffer), size);
        }));
        if (FPDFAnnot_IsOptionSelected(form, widget, option))
            entry.Selected.append(entry.Options.last());
    }
}

// The field of annotation Index of the current page, when it is a widget.
std::optional<TPdfFormFieldEntry> Describe(TPdf& pdf, int index) {
    OwnedAnnotation annotation = OpenAnnotation(pdf.Page(), index);
    if (DecodeAnnotationSubtype(FPDFAnnot_GetSubtype(annotation.get())) != anWidget)
        return std::nullopt;
    TPdfFormFieldEntry entry;
    entry.PageNumber = pdf.PageNumber();
    entry.Index = index;
    entry.Value = pdf.FormField(index);
    const FPDF_FORMHANDLE form = pdf.FormHandle();
    const std::vector<OwnedAnnotation> chain = FieldChain(std::move(annotation));
    FPDF_ANNOTATION widget = chain.front().get();
    entry.Name = FormFieldText(FPDFAnnot_GetFormFieldName, form, widget);
    if (entry.Name.isEmpty())
        entry.Name = FullName(chain);
    // Where the field lies beyond the annotations, only the engine's form reads its value.
    if (!ReachesField(chain))
        entry.Value = FormFieldText(FPDFAnnot_GetFormFieldValue, form, widget);
    entry.EngineFlags = FPDFAnnot_GetFormFieldFlags(form, widget);
    entry.Kind = Kind(form, chain, entry.EngineFlags);
    if (entry.Kind == fkCheckBox || entry.Kind == fkRadioButton) {
        entry.State = ShownState(form, widget);
        entry.Checked = !entry.State.isEmpty() && entry.State != QLatin1String("Off");
    }
    if (IsChoice(entry))
        ReadOptions(form, widget, entry);
    return entry;
}

// The values that choosing each option gives the field, as the engine gives them: the option selected
// through the focus of the field's widget (every other option deselected in a list), the focus released,
// the field's value read.
QStringList ExportValues(TPdf& copy, const TPdfFormFieldEntry& field) {
    const FormPage page(copy, field.PageNumber);
    const OwnedAnnotation widget = OpenAnnotation(page.Page(), field.Index);
    QStringList values;
    for (int option = 0; option < field.Options.size(); ++option) {
        page.Focus(field.Index);
        for (int other = 0; other < field.Options.size(); ++other)
            if (other == option || field.Kind == fkListBox)
                FORM_SetIndexSelected(page.Form(), page.Page(), other, other == option);
        page.Commit();
        values.append(FormFieldText(FPDFAnnot_GetFormFieldValue, page.Form(), widget.get()));
    }
    return values;
}

// Every choice field's export values, read from a copy of the document in memory, so that the document
// itself stays as it was. A field whose values the copy does not give keeps none.
void ReadExportValues(TPdf& pdf, QList<TPdfFormFieldEntry>& fields) {
    if (std::none_of(fields.begin(), fields.end(), IsChoice) || !pdf.FormHandle())
        return;
    QBuffer saved;
    saved.open(QIODevice::WriteOnly);
    TPdf copy;
    try {
        if (!pdf.SaveAs(saved, saNoIncremental, pvUnknown))
            return;
        copy.SetPassword(pdf.Password());
        copy.LoadDocument(saved.data());
    } catch (const EPdfError&) {
        return;
    }
    for (TPdfFormFieldEntry& field : fields) {
        if (!IsChoice(field))
            continue;
        try {
            field.ExportValues = ExportValues(copy, field);
        } catch (const EPdfError&) {
            field.ExportValues.clear();
        }
    }
}

} // namespace

QList<TPdfFormFieldEntry> ListFormFields(TPdf& Pdf, QList<TPdfPageError>* Unreadable) {
    QList<TPdfFormFieldEntry> fields;
    const int startPage = Pdf.PageNumber();
    for (int page = 1; page <= Pdf.PageCount(); ++page) {
        // The engine knows a field's kind, flags and options only on a page announced to the environment.
        std::optional<FormPage> announced;
        try {
            if (Pdf.FormHandle())
                announced.emplace(Pdf, page);
            else
                Pdf.SetPageNumber(page);
        } catch (const EPdfError& error) {
            if (!Unreadable)
                throw;
            Unreadable->append({page, error.Message()});
            continue;
        }
        for (int index = 0; index < Pdf.FormFieldCount(); ++index)
            if (const std::optional<TPdfFormFieldEntry> field = Describe(Pdf, index))
                fields.append(*field);
    }
    Pdf.SetPageNumber(startPage);
    ReadExportValues(Pdf, fields);
    return fields;
}

} // namespace PDFium
