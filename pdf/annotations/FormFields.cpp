#include "pdf/annotations/FormFields.h"

#include "pdf/PdfError.h"
#include "pdf/annotations/Annotations.h"

namespace PDFium {

namespace {

constexpr const char* ValueKey = "V";

// The dictionary that holds the field's value: the widget itself, unless it is a pure widget of a parent
// field.
OwnedAnnotation FieldOf(OwnedAnnotation widget) {
    if (FPDFAnnot_HasKey(widget.get(), "T") || FPDFAnnot_HasKey(widget.get(), ValueKey))
        return widget;
    OwnedAnnotation parent(FPDFAnnot_GetLinkedAnnot(widget.get(), "Parent"));
    return parent ? std::move(parent) : std::move(widget);
}

} // namespace

QString GetFormField(FPDF_PAGE Page, int Index) {
    const OwnedAnnotation field = FieldOf(OpenAnnotation(Page, Index));
    return AnnotationText(field.get(), ValueKey);
}

void SetFormField(FPDF_PAGE Page, int Index, const QString& Value) {
    const OwnedAnnotation field = FieldOf(OpenAnnotation(Page, Index));
    // A widget whose parent field the engine does not reach would keep a value that no reader looks at.
    Check(FPDFAnnot_HasKey(field.get(), "T") || !FPDFAnnot_HasKey(field.get(), "Parent"),
          QStringLiteral("Cannot set form field value"));
    Check(FPDFAnnot_SetStringValue(field.get(), ValueKey, reinterpret_cast<FPDF_WIDESTRING>(Value.utf16())) !=
              0,
          QStringLiteral("Cannot set form field value"));
}

TPdfFormFieldFlags GetFormFieldFlags(FPDF_FORMHANDLE FormHandle, FPDF_PAGE Page, int Index) {
    const OwnedAnnotation annotation = OpenAnnotation(Page, Index);
    return DecodeFormFieldFlags(FPDFAnnot_GetFormFieldFlags(FormHandle, annotation.get()));
}

} // namespace PDFium
