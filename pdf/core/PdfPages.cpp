// TPdf's current page: loading and releasing it, its size, bounds and rotation, coordinate conversion, and
// the page edits of the document (add, delete, import, labels).
#include "pdf/Pdf.h"

#include "pdf/binding/EngineText.h"
#include "pdf/text/PageState.h"

#include "pdf/engine/FPdfDoc.h"
#include "pdf/engine/FPdfEdit.h"
#include "pdf/engine/FPdfPpo.h"
#include "pdf/engine/FPdfText.h"

namespace PDFium {

FPDF_PAGE TPdf::Page() const {
    return FPageState->Page();
}

void TPdf::ReloadPage() {
    UnloadPage();
    CheckActive();
    if (FPageNumber != 0)
        CallEngine([&] { FPageState->Load(FDocument, FPageNumber); });
    if (OnPageChange)
        OnPageChange(this);
}

void TPdf::UnloadPage() {
    // A path in progress belongs to the page and is never inserted now.
    if (FPath)
        FPDFPageObj_Destroy(std::exchange(FPath, nullptr));
    FPageState->Unload();
}

int TPdf::PageCount() const {
    CheckActive();
    return FPDF_GetPageCount(FDocument);
}

double TPdf::PageWidth() const {
    CheckPageActive();
    return FPDF_GetPageWidth(Page());
}

double TPdf::PageHeight() const {
    CheckPageActive();
    return FPDF_GetPageHeight(Page());
}

TPdfRectangle TPdf::PageBounds() const {
    CheckPageActive();
    FS_RECTF rect{};
    Check(FPDF_GetPageBoundingBox(Page(), &rect) != 0, QStringLiteral("Cannot retrieve page bounds"));
    return {rect.left, rect.top, rect.right, rect.bottom};
}

TRotation TPdf::PageRotation() const {
    CheckPageActive();
    return static_cast<TRotation>(FPDFPage_GetRotation(Page()));
}

void TPdf::SetPageRotation(TRotation Value) {
    CheckPageActive();
    FPDFPage_SetRotation(Page(), Value);
    ReloadPage();
}

bool TPdf::DeviceToPage(int X, int Y, int Left, int Top, int Width, int Height, TRotation Rotation,
                        double& PageX, double& PageY) const {
    CheckPageActive();
    return FPDF_DeviceToPage(Page(), Left, Top, Width, Height, Rotation, X, Y, &PageX, &PageY) != 0;
}

bool TPdf::PageToDevice(double PageX, double PageY, int Left, int Top, int Width, int Height,
                        TRotation Rotation, int& X, int& Y) const {
    CheckPageActive();
    return FPDF_PageToDevice(Page(), Left, Top, Width, Height, Rotation, PageX, PageY, &X, &Y) != 0;
}

void TPdf::AddPage(int PageNumber, double Width, double Height) {
    CheckActive();
    // Checked here: the engine quietly appends a page it is asked to put beyond the end, and the current
    // page number would then not name the page that is loaded.
    Check(PageNumber >= 1 && PageNumber <= PageCount() + 1, QStringLiteral("Incorrect page number"));
    UnloadPage();
    ForgetPages();
    FPageNumber = PageNumber;
    FPDF_PAGE page = FPDFPage_New(FDocument, PageNumber - 1, Width, Height);
    Check(page != nullptr, QStringLiteral("Cannot create PDF page"));
    FPageState->Take(FDocument, page);
}

void TPdf::DeletePage(int PageNumber) {
    CheckActive();
    // The engine reports nothing back, so a page that does not exist is refused here.
    Check(PageNumber >= 1 && PageNumber <= PageCount(), QStringLiteral("Incorrect page number"));
    UnloadPage();
    ForgetPages();
    FPDFPage_Delete(FDocument, PageNumber - 1);
    ReloadPage();
}

void TPdf::CheckPageEditable() const {
    CheckPageActive();
    // Regenerating a page's content, the engine looks at every page of the document and ends the process at
    // one whose page dictionary it cannot find, the same page it refuses to load: such a document is refused
    // before anything is changed.
    // Pages found once stay found until pages move, so that editing every page costs no pass over all.
    const int count = PageCount();
    if (count == FReadablePageCount)
        return;
    for (int page = 1; page <= count; ++page)
        Check(PageSize(page).isValid(),
              QStringLiteral("Cannot change the page: page %1 of the document cannot be read").arg(page));
    FReadablePageCount = count;
}

void TPdf::ForgetPages() {
    FIsolatedPages.clear();
    FReadablePageCount = 0;
}

QSizeF TPdf::PageSize(int PageNumber) const {
    CheckActive();
    double width = 0;
    double height = 0;
    if (FPDF_GetPageSizeByIndex(FDocument, EngineIndex(PageNumber), &width, &height) == 0)
        return {};
    return {width, height};
}

void TPdf::UpdatePage() {
    CheckPageEditable();
    Check(FPDFPage_GenerateContent(Page()) != 0, QStringLiteral("Cannot create page content"));
}

bool TPdf::ImportPages(TPdf& Pdf, const QString& Range, int PageNumber) {
    CheckActive();
    Pdf.SetActive(true);
    UnloadPage();
    ForgetPages();
    const QByteArray range = Range.toLocal8Bit();
    const bool imported =
        FPDF_ImportPages(FDocument, Pdf.FDocument, range.constData(), EngineIndex(PageNumber)) != 0;
    ReloadPage();
    return imported;
}

bool TPdf::ImportPreferences(TPdf& Pdf) {
    CheckActive();
    Pdf.SetActive(true);
    return FPDF_CopyViewerPreferences(FDocument, Pdf.FDocument) != 0;
}

QString TPdf::PageLabel(int PageNumber) const {
    CheckActive();
    Check(PageNumber >= 1 && PageNumber <= PageCount(), QStringLiteral("Incorrect page number"));
    return FetchUtf16Text([&](void* buffer, unsigned long size) {
        return FPDF_GetPageLabel(FDocument, PageNumber - 1, buffer, size);
    });
}

} // namespace PDFium
