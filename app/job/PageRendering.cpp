#include "app/job/PageRendering.h"

#include "app/printing/PagePlacement.h"
#include "pdf/Pdf.h"

namespace {

// The options of a colour page: all thirteen but gray.
constexpr PDFium::TRenderOptions ColorRenderOptions{
    PDFium::reAnnotations,      PDFium::reLcd,          PDFium::reNoNativeText,  PDFium::reDebugInfo,
    PDFium::reNoCatchException, PDFium::reLimitCache,   PDFium::reHalftone,      PDFium::rePrinting,
    PDFium::reReverseByteOrder, PDFium::reNoSmoothText, PDFium::reNoSmoothImage, PDFium::reNoSmoothPath};

} // namespace

TPageRendering RenderingOn(const TPwgPageSetup& Setup, TScaling Scaling, std::optional<int> Orientation,
                           bool Color) {
    return {Setup.PrintableWidth(), Setup.PrintableHeight(), Setup.Resolution, Scaling, Orientation, Color,
            Setup.Margins()};
}

void RenderPlacedPage(PDFium::TPdf& Pdf, int PageNumber, const TPageRendering& Rendering,
                      TPageBitmap& Bitmap) {
    Pdf.SetPageNumber(PageNumber);
    const TPagePlacement place =
        PlacePage(Rendering.AreaWidth, Rendering.AreaHeight, Rendering.Dpi, Pdf.PageWidth(), Pdf.PageHeight(),
                  Rendering.Scaling, Rendering.Orientation, Rendering.Margins);
    const QImage::Format format = Rendering.Color ? QImage::Format_RGB888 : QImage::Format_Grayscale8;
    QImage& image = Bitmap.Image;
    if (image.format() != format) {
        image = QImage(place.Width, place.Height, format);
        Bitmap.White = false;
    }
    Pdf.RenderPage(&image, 0, 0, place.Width, place.Height, place.Rotation,
                   Rendering.Color ? ColorRenderOptions : PDFium::AllRenderOptions,
                   Bitmap.White ? PDFium::clNone : PDFium::clWhite);
    image.setOffset(QPoint(place.X, place.Y));
}
