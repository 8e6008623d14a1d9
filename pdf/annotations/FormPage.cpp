#include "pdf/annotations/FormPage.h"

#include "pdf/PdfError.h"
#include "pdf/annotations/Annotations.h"
#include "pdf/engine/FPdfFormFill.h"

namespace PDFium {

FormPage::FormPage(TPdf& Pdf, int PageNumber) : FForm(Pdf.FormHandle()) {
    Pdf.SetPageNumber(PageNumber);
    FPage = Pdf.Page();
    FORM_OnAfterLoadPage(FPage, FForm);
}

FormPage::~FormPage() {
    FORM_ForceToKillFocus(FForm);
    FORM_OnBeforeClosePage(FPage, FForm);
}

void FormPage::Click(int Index) const {
    FS_RECTF rect{};
    FPDFAnnot_GetRect(OpenAnnotation(FPage, Index).get(), &rect);
    const double x = (rect.left + rect.right) / 2;
    const double y = (rect.top + rect.bottom) / 2;
    // A widget under another one would hand the click to the wrong field.
    const FS_POINTF point{float(x), float(y)};
    const OwnedAnnotation hit(FPDFAnnot_GetFormFieldAtPoint(FForm, FPage, &point));
    Check(hit && FPDFPage_GetAnnotIndex(FPage, hit.get()) == Index,
          QStringLiteral("Cannot reach the widget of a form field"));
    FORM_OnMouseMove(FForm, FPage, 0, x, y);
    FORM_OnLButtonDown(FForm, FPage, 0, x, y);
    FORM_OnLButtonUp(FForm, FPage, 0, x, y);
}

void FormPage::Commit() const {
    FORM_ForceToKillFocus(FForm);
}

QString FormPage::State(int Index) const {
    return AnnotationText(OpenAnnotation(FPage, Index).get(), "AS");
}

QString FormPage::ExportValue(int Index) const {
    return FormFieldText(FPDFAnnot_GetFormFieldExportValue, FForm, OpenAnnotation(FPage, Index).get());
}

} // namespace PDFium
