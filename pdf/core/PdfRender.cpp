// TPdf's rendering of the current page: onto a device context, into a new image or into the caller's image.
#include "pdf/Pdf.h"

#include "pdf/core/Rendering.h"
#include "pdf/engine/FPdfView.h"

namespace PDFium {

void TPdf::RenderPage(TDeviceContext DeviceContext, int Left, int Top, int Width, int Height,
                      TRotation Rotation, TRenderOptions Options) const {
    CheckPageActive();
    FPDF_RenderPage(DeviceContext, FPage, Left, Top, Width, Height, Rotation, EncodeRenderOptions(Options));
}

QImage TPdf::RenderPage(int Left, int Top, int Width, int Height, TRotation Rotation, TRenderOptions Options,
                        TColor Color) const {
    CheckPageActive();
    return PDFium::RenderPage(FFormHandle, nullptr, FPage, Left, Top, Width, Height, Rotation, Options,
                              Color);
}

void TPdf::RenderPage(QImage* Bitmap, int Left, int Top, int Width, int Height, TRotation Rotation,
                      TRenderOptions Options, TColor Color) const {
    CheckPageActive();
    if (Bitmap)
        PDFium::RenderPage(FFormHandle, Bitmap, FPage, Left, Top, Width, Height, Rotation, Options, Color);
}

} // namespace PDFium
