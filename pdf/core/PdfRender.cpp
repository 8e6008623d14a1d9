// TPdf's rendering of the current page: onto a device context, into a new image or into the caller's image.
#include "pdf/Pdf.h"

#include "pdf/core/Rendering.h"
#include "pdf/engine/FPdfView.h"

namespace PDFium {

// Drawing the form layer builds the page's form view, where the engine reports the annotations it does not
// support: a handler's error surfaces from the drawing.
void TPdf::RenderPage(TDeviceContext DeviceContext, int Left, int Top, int Width, int Height,
                      TRotation Rotation, TRenderOptions Options) const {
    CheckPageActive();
    CallEngine([&] {
        FPDF_RenderPage(DeviceContext, Page(), Left, Top, Width, Height, Rotation,
                        EncodeRenderOptions(Options));
    });
}

QImage TPdf::RenderPage(int Left, int Top, int Width, int Height, TRotation Rotation, TRenderOptions Options,
                        TColor Color) const {
    CheckPageActive();
    QImage image;
    CallEngine([&] {
        image = PDFium::RenderPage(FFormHandle, nullptr, Page(), Left, Top, Width, Height, Rotation, Options,
                                   Color);
    });
    return image;
}

void TPdf::RenderPage(QImage* Bitmap, int Left, int Top, int Width, int Height, TRotation Rotation,
                      TRenderOptions Options, TColor Color) const {
    CheckPageActive();
    if (Bitmap)
        CallEngine([&] {
            PDFium::RenderPage(FFormHandle, Bitmap, Page(), Left, Top, Width, Height, Rotation, Options,
                               Color);
        });
}

} // namespace PDFium
