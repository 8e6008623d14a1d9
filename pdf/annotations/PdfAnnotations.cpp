// TPdf's annotations and form fields of the current page: each member checks that a page is loaded and hands
// the page to the unit routine of the same name.
#include "pdf/Pdf.h"

#include "pdf/annotations/Annotations.h"
#include "pdf/annotations/FormFields.h"

namespace PDFium {

int TPdf::AnnotationCount() const {
    CheckPageActive();
    return FPDFPage_GetAnnotCount(Page());
}

TPdfAnnotation TPdf::Annotation(int Index) const {
    CheckPageActive();
    return GetAnnotation(FDocument, FPageNumber - 1, Page(), Index);
}

void TPdf::SetAnnotation(int Index, const TPdfAnnotation& Value) {
    CheckPageActive();
    PDFium::SetAnnotation(FDocument, FPageNumber - 1, Page(), Index, Value);
}

void TPdf::CreateAnnotation(const TPdfAnnotation& Annotation) {
    CheckPageActive();
    PDFium::CreateAnnotation(Page(), Annotation);
}

void TPdf::DeleteAnnotation(int Index) {
    CheckPageActive();
    PDFium::DeleteAnnotation(Page(), Index);
}

int TPdf::FormFieldCount() const {
    return AnnotationCount();
}

// The index is checked before the page, so that a negative index says "Incorrect index" without a page.
void TPdf::CheckFormFieldIndex(int Index) const {
    Check(Index >= 0 && Index < FormFieldCount(), QStringLiteral("Incorrect index"));
}

QString TPdf::FormField(int Index) const {
    CheckFormFieldIndex(Index);
    return GetFormField(Page(), Index);
}

void TPdf::SetFormField(int Index, const QString& Value) {
    CheckFormFieldIndex(Index);
    PDFium::SetFormField(Page(), Index, Value);
}

TPdfFormFieldFlags TPdf::FormFieldFlags(int Index) const {
    CheckFormFieldIndex(Index);
    return GetFormFieldFlags(FFormHandle, Page(), Index);
}

} // namespace PDFium
