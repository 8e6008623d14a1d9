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

void FormPage::Focus(int Index) const {
    Check(FORM_SetFocusedAnnot(FForm, OpenAnnotation(FPage, Index).get()) != 0,
          QStringLiteral("Cannot give the focus to a form field"));
}

void FormPage::Press(int Index) const {
    FS_RECTF rect{};
    FPDFAnnot_GetRect(OpenAnnotation(FPage, Index).get(), &rect);
    const double x = (rect.left + rect.right) / 2;
    const double y = (rect.top + rect.bottom) / 2;
    // A click on a widget under another one would reach the wrong field.
    const FS_POINTF point{float(x), float(y)};
    const OwnedAnnotation hit(FPDFAnnot_GetFormFieldAtPoint(FForm, FPage, &point));
    if (hit && FPDFPage_GetAnnotIndex(FPage, hit.get()) == Index) {
        FORM_OnMouseMove(FForm, FPage, 0, x, y);
        FORM_OnLButtonDown(FForm, FPage, 0, x, y);
        FORM_OnLButtonUp(FForm, FPage, 0, x, y);
        return;
    }
    Focus(Index);
    FORM_OnChar(FForm, FPage, ' ', 0);
}

void FormPage::Commit() const {
    FORM_ForceToKillFocus(FForm);
}

QString ShownState(FPDF_FORMHANDLE Form, FPDF_ANNOTATION Widget) {
    const QString state = AnnotationText(Widget, "AS");
    const bool drawnEmpty =
        Form && !state.isEmpty() && state != QLatin1String("Off") && !FPDFAnnot_IsChecked(Form, Widget);
    return drawnEmpty ? QStringLiteral("Off") : state;
}

QString FormPage::State(int Index) const {
    return ShownState(FForm, OpenAnnotation(FPage, Index).get());
}

QString FormPage::ExportValue(int Index) const {
    return FormFieldText(FPDFAnnot_GetFormFieldExportValue, FForm, OpenAnnotation(FPage, Index).get());
}

} // namespace PDFium
