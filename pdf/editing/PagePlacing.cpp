// TPdf's placing of a page on a sheet: the page becomes the sheet, its content drawn where a printer would
// draw it, so that a document can be handed to a print system placed as a PDF rather than as page images.
#include "pdf/Pdf.h"

#include "pdf/annotations/Annotations.h"
#include "pdf/engine/FPdfEdit.h"
#include "pdf/engine/FPdfFlatten.h"
#include "pdf/engine/FPdfTransformPage.h"

#include <QTransform>

namespace PDFium {

namespace {

// Whether flattening the page for print would draw anything: an annotation that prints, is not hidden and
// has an appearance. The engine's flattening parses the page's content whatever it finds, so a page with
// nothing to draw is spared it.
bool HasPrintedAppearances(FPDF_PAGE Page) {
    for (int index = 0, count = FPDFPage_GetAnnotCount(Page); index < count; ++index) {
        const OwnedAnnotation annotation = OpenAnnotation(Page, index);
        const int flags = FPDFAnnot_GetFlags(annotation.get());
        if ((flags & FPDF_ANNOT_FLAG_PRINT) != 0 && (flags & FPDF_ANNOT_FLAG_HIDDEN) == 0 &&
            FPDFAnnot_HasKey(annotation.get(), "AP") != 0)
            return true;
    }
    return false;
}

} // namespace

void TPdf::PlacePagesOnSheets(const QList<int>& Pages, const std::function<TSheetPlacement()>& Place) {
    // A placed page is not parsed again: loading the next closes it, and the page current before is loaded
    // anew at the end, on an error too.
    const int count = PageCount();
    for (const int pageNumber : Pages)
        Check(pageNumber >= 1 && pageNumber <= count, QStringLiteral("Incorrect page number"));
    const int current = FPageNumber;
    try {
        for (const int pageNumber : Pages) {
            FPageNumber = pageNumber;
            ReloadPage();
            PlaceCurrentPage(Place());
        }
    } catch (...) {
        FPageNumber = current;
        ReloadPage();
        throw;
    }
    FPageNumber = current;
    ReloadPage();
}

void TPdf::PlaceCurrentPage(const TSheetPlacement& Placement) {
    CheckPageEditable();
    const QTransform& m = Placement.Matrix;
    Check(Placement.SheetWidth > 0 && Placement.SheetHeight > 0 && m.isInvertible(),
          QStringLiteral("Cannot place page on sheet"));
    // The annotations that print (form fields with their values among them) are drawn with the content, so
    // that they move with it; the engine then wants the page loaded anew. The others go, as flattening would
    // take them away, rather than stay where the page was.
    if (HasPrintedAppearances(Page())) {
        const int flattened = FPDFPage_Flatten(Page(), FLAT_PRINT);
        Check(flattened != FLATTEN_FAIL, QStringLiteral("Cannot place page on sheet"));
        if (flattened == FLATTEN_SUCCESS)
            ReloadPage();
    } else {
        for (int index = FPDFPage_GetAnnotCount(Page()) - 1; index >= 0; --index)
            Check(FPDFPage_RemoveAnnot(Page(), index) != 0, QStringLiteral("Cannot place page on sheet"));
    }
    const FS_MATRIX matrix{float(m.m11()), float(m.m12()), float(m.m21()),
                           float(m.m22()), float(m.dx()),  float(m.dy())};
    const TPdfRectangle& c = Placement.Clip;
    const FS_RECTF clip{float(c.Left), float(c.Top), float(c.Right), float(c.Bottom)};
    Check(FPDFPage_TransFormWithClip(Page(), &matrix, &clip) != 0,
          QStringLiteral("Cannot place page on sheet"));
    const float width = float(Placement.SheetWidth);
    const float height = float(Placement.SheetHeight);
    for (auto setBox : {FPDFPage_SetMediaBox, FPDFPage_SetCropBox, FPDFPage_SetBleedBox, FPDFPage_SetTrimBox,
                        FPDFPage_SetArtBox})
        setBox(Page(), 0, 0, width, height);
    FPDFPage_SetRotation(Page(), ro0);
}

} // namespace PDFium
