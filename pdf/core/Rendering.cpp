#include "pdf/core/Rendering.h"

#include "pdf/PdfError.h"
#include "pdf/binding/ArithmeticMask.h"
#include "pdf/binding/EngineHandles.h"
#include "pdf/core/SystemColors.h"
#include "pdf/engine/FPdfEdit.h"
#include "pdf/engine/FPdfView.h"

#include <cstdint>
#include <cstring>

namespace PDFium {

namespace {

// Ordinal of each option to its engine flag; the flag order is not the option order.
constexpr int RenderFlags[] = {FPDF_ANNOT,
                               FPDF_LCD_TEXT,
                               FPDF_NO_NATIVETEXT,
                               FPDF_GRAYSCALE,
                               FPDF_DEBUG_INFO,
                               FPDF_NO_CATCH,
                               FPDF_RENDER_LIMITEDIMAGECACHE,
                               FPDF_RENDER_FORCEHALFTONE,
                               FPDF_PRINTING,
                               FPDF_REVERSE_BYTE_ORDER,
                               FPDF_RENDER_NO_SMOOTHTEXT,
                               FPDF_RENDER_NO_SMOOTHIMAGE,
                               FPDF_RENDER_NO_SMOOTHPATH};

} // namespace

int EncodeRenderOptions(TRenderOptions Options) {
    int flags = 0;
    for (int option = reAnnotations; option <= reNoSmoothPath; ++option)
        if (Options.Contains(static_cast<TRenderOption>(option)))
            flags |= RenderFlags[option];
    return flags;
}

FPDF_DWORD ColorToARGB(TColor Color, quint8 Alpha) {
    if ((Color >> 24) == 0xFF) {
        const QColor system = SystemColor(static_cast<int>(Color & 0xFFFFFF));
        return FPDF_ARGB(Alpha, system.red(), system.green(), system.blue());
    }
    return FPDF_ARGB(Alpha, Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF);
}

void ToBitmap(FPDF_BITMAP Bitmap, QImage& Result) {
    const int format = FPDFBitmap_GetFormat(Bitmap);
    const int width = FPDFBitmap_GetWidth(Bitmap);
    const int height = FPDFBitmap_GetHeight(Bitmap);
    const int stride = FPDFBitmap_GetStride(Bitmap);
    const auto* source = static_cast<const uchar*>(FPDFBitmap_GetBuffer(Bitmap));

    QImage::Format imageFormat = QImage::Format_RGB32;
    int bytesPerPixel = 4;
    switch (format) {
    case FPDFBitmap_Unknown:
        return;
    case FPDFBitmap_Gray:
        imageFormat = QImage::Format_Grayscale8;
        bytesPerPixel = 1;
        break;
    case FPDFBitmap_BGR:
        imageFormat = QImage::Format_BGR888;
        bytesPerPixel = 3;
        break;
    case FPDFBitmap_BGRA:
        imageFormat = QImage::Format_ARGB32;
        break;
    default:
        break;
    }

    if (Result.format() != imageFormat || Result.width() != width || Result.height() != height)
        Result = QImage(width, height, imageFormat);
    Check(!Result.isNull() || width == 0 || height == 0, QStringLiteral("Cannot create bitmap"));
    const size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel;
    for (int row = 0; row < height; ++row, source += stride)
        std::memcpy(Result.scanLine(row), source, rowBytes);
}

QImage RenderPage(FPDF_FORMHANDLE FormHandle, QImage* ResultBitmap, FPDF_PAGE Page, int Left, int Top,
                  int Width, int Height, TRotation Rotation, TRenderOptions Options, TColor Color) {
    return RenderPageArea(FormHandle, ResultBitmap, Page, QRect(-Left, -Top, Width, Height),
                          QSize(Width, Height), Rotation, Options, Color);
}

QImage RenderPageArea(FPDF_FORMHANDLE FormHandle, QImage* ResultBitmap, FPDF_PAGE Page, const QRect& Area,
                      QSize PageSize, TRotation Rotation, TRenderOptions Options, TColor Color) {
    const int Width = Area.width();
    const int Height = Area.height();
    ArithmeticMaskGuard mask;
    // The engine renders straight into the image's pixels, with no bitmap of its own and no copy: its BGRA
    // and BGRx layouts are the bytes of Qt's 32-bit formats on little-endian machines, its gray layout those
    // of Qt's 8-bit gray, and its 24-bit layout in reversed byte order those of Qt's RGB888. A grayscale
    // rendering into an 8-bit gray image stays 8-bit gray, a quarter of the memory, and a colour rendering in
    // reversed byte order into an RGB888 image stays RGB888, three quarters, with the same pixels.
    const QImage::Format asked = ResultBitmap ? ResultBitmap->format() : QImage::Format_Invalid;
    const bool gray = asked == QImage::Format_Grayscale8 && Options.Contains(reGrayscale);
    const bool rgb = asked == QImage::Format_RGB888 && !Options.Contains(reGrayscale) &&
                     Options.Contains(reReverseByteOrder);
    const bool alpha = !gray && !rgb && FPDFPage_HasTransparency(Page);
    const QImage::Format format = gray    ? QImage::Format_Grayscale8
                                  : rgb   ? QImage::Format_RGB888
                                  : alpha ? QImage::Format_ARGB32
                                          : QImage::Format_RGB32;
    const int engineFormat = gray    ? FPDFBitmap_Gray
                             : rgb   ? FPDFBitmap_BGR
                             : alpha ? FPDFBitmap_BGRA
                                     : FPDFBitmap_BGRx;
    QImage created;
    QImage& target = ResultBitmap ? *ResultBitmap : created;
    // The engine takes no bitmap of 4 GiB or more; nor is one allocated for it here.
    const bool fits = Width > 0 && Height > 0 && qint64(Width) * Height * 4 <= qint64(UINT32_MAX);
    const bool made = target.format() != format || target.width() != Width || target.height() != Height;
    if (made)
        target = fits ? QImage(Width, Height, format) : QImage();
    Check(!target.isNull(), QStringLiteral("Cannot create bitmap"));
    OwnedBitmap bitmap(FPDFBitmap_CreateEx(Width, Height, engineFormat, target.bits(),
                                           static_cast<int>(target.bytesPerLine())));
    Check(bitmap != nullptr, QStringLiteral("Cannot create bitmap"));
    if (Color != clNone || made)
        FPDFBitmap_FillRect(bitmap.get(), 0, 0, Width, Height,
                            ColorToARGB(Color == clNone ? clWhite : Color, 255));

    const int flags = EncodeRenderOptions(Options) & (gray ? ~FPDF_REVERSE_BYTE_ORDER : ~0);
    FPDF_RenderPageBitmap(bitmap.get(), Page, -Area.x(), -Area.y(), PageSize.width(), PageSize.height(),
                          Rotation, flags);
    if (FormHandle) {
        const bool printing = Options.Contains(rePrinting);
        if (printing)
            FPDF_RemoveFormFieldHighlight(FormHandle);
        FPDF_FFLDraw(FormHandle, bitmap.get(), Page, -Area.x(), -Area.y(), PageSize.width(),
                     PageSize.height(), Rotation, flags);
        if (printing) {
            FPDF_SetFormFieldHighlightColor(FormHandle, 0, FormHighlightColor);
            FPDF_SetFormFieldHighlightAlpha(FormHandle, FormHighlightAlpha);
        }
    }
    return target;
}

} // namespace PDFium
