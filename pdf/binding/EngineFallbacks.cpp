#include "pdf/binding/EngineFallbacks.h"

#include "pdf/binding/EngineHandles.h"

#include <QImage>
#include <QPainter>
#include <cstring>

namespace PDFium::EngineFallbacks {

namespace {

int BitsPerPixel(int format) {
    switch (format) {
    case FPDFBitmap_Gray:
        return 8;
    case FPDFBitmap_BGR:
        return 24;
    default:
        return 32;
    }
}

// The bitmap that a call for the size alone decoded, kept for the call with a buffer that follows it for the
// same object, as the two-call pattern makes it: the image is decoded once. Whatever call comes next takes
// it out, so it never outlives the pair.
struct PendingDIB {
    FPDF_PAGEOBJECT Object = nullptr;
    OwnedBitmap Bitmap;
};
PendingDIB Pending;

OwnedBitmap DecodedBitmap(FPDF_PAGEOBJECT object, bool forSizeOnly) {
    PendingDIB taken = std::exchange(Pending, {});
    OwnedBitmap bitmap = !forSizeOnly && taken.Object == object && taken.Bitmap
                             ? std::move(taken.Bitmap)
                             : OwnedBitmap(FPDFImageObj_GetBitmap(object));
    return bitmap;
}

} // namespace

void ReleasePending() {
    Pending = {};
}

void RenderPage(void* dc, FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y, int rotate,
                int flags) {
    auto* painter = static_cast<QPainter*>(dc);
    if (!painter || size_x <= 0 || size_y <= 0)
        return;
    OwnedBitmap bitmap(FPDFBitmap_Create(size_x, size_y, 1));
    if (!bitmap)
        return;
    FPDFBitmap_FillRect(bitmap.get(), 0, 0, size_x, size_y, 0x00000000);
    // The bitmap is ours and is drawn as BGRA, so the byte-order flag, which means something only for a
    // caller's own bitmap, would trade red for blue on the device.
    FPDF_RenderPageBitmap(bitmap.get(), page, 0, 0, size_x, size_y, rotate, flags & ~FPDF_REVERSE_BYTE_ORDER);
    const QImage image(static_cast<const uchar*>(FPDFBitmap_GetBuffer(bitmap.get())), size_x, size_y,
                       FPDFBitmap_GetStride(bitmap.get()), QImage::Format_ARGB32);
    painter->drawImage(QPoint(start_x, start_y), image);
}

FPDF_BOOL GetImage(FPDF_PAGEOBJECT object, int* height, int* width, unsigned int* size, void* buffer) {
    if (!object || !height || !width || !size || FPDFPageObj_GetType(object) != FPDF_PAGEOBJ_IMAGE)
        return false;
    FPDF_IMAGEOBJ_METADATA metadata{};
    if (!FPDFImageObj_GetImageMetadata(object, nullptr, &metadata))
        return false;
    *height = static_cast<int>(metadata.height);
    *width = static_cast<int>(metadata.width);
    const unsigned long required = FPDFImageObj_GetImageDataRaw(object, nullptr, 0);
    if (!buffer) {
        *size = static_cast<unsigned int>(required);
        return true;
    }
    if (*size < required)
        return false;
    *size = static_cast<unsigned int>(FPDFImageObj_GetImageDataRaw(object, buffer, required));
    return true;
}

FPDF_BOOL GetDIB(FPDF_PAGEOBJECT object, int* height, int* width, int* bpp, int* scanLineSize, void* buffer) {
    if (!object || !height || !width || !bpp || !scanLineSize ||
        FPDFPageObj_GetType(object) != FPDF_PAGEOBJ_IMAGE)
        return false;
    OwnedBitmap bitmap = DecodedBitmap(object, buffer == nullptr);
    if (!bitmap)
        return false;
    const int rows = FPDFBitmap_GetHeight(bitmap.get());
    const int stride = FPDFBitmap_GetStride(bitmap.get());
    *height = rows;
    *width = FPDFBitmap_GetWidth(bitmap.get());
    *bpp = BitsPerPixel(FPDFBitmap_GetFormat(bitmap.get()));
    *scanLineSize = stride;
    if (buffer)
        std::memcpy(buffer, FPDFBitmap_GetBuffer(bitmap.get()), static_cast<size_t>(rows) * stride);
    else
        Pending = {object, std::move(bitmap)};
    return true;
}

} // namespace PDFium::EngineFallbacks
