// TPdf's read access to the objects of the current page: count, handle, kind, bounds and transparency of
// each, and the image-only view that numbers just the image objects. Nothing is cached: every access asks
// the engine again.
#include "pdf/Pdf.h"

#include "pdf/binding/EngineHandles.h"
#include "pdf/core/Rendering.h"
#include "pdf/editing/ObjectImages.h"
#include "pdf/engine/FPdfEdit.h"

namespace PDFium {

int TPdf::ObjectCount() const {
    CheckPageActive();
    return FPDFPage_CountObjects(Page());
}

FPDF_PAGEOBJECT TPdf::ObjectHandle(int Index) const {
    CheckPageActive();
    Check(Index >= 0 && Index < ObjectCount(), QStringLiteral("Incorrect index"));
    return FPDFPage_GetObject(Page(), Index);
}

TObjectType TPdf::ObjectType(int Index) const {
    return DecodeObjectType(FPDFPageObj_GetType(ObjectHandle(Index)));
}

TPdfRectangle TPdf::ObjectBounds(int Index) const {
    float left = 0;
    float bottom = 0;
    float right = 0;
    float top = 0;
    Check(FPDFPageObj_GetBounds(ObjectHandle(Index), &left, &bottom, &right, &top) != 0,
          QStringLiteral("Cannot retrieve data"));
    return {left, top, right, bottom};
}

bool TPdf::ObjectTransparent(int Index) const {
    return FPDFPageObj_HasTransparency(ObjectHandle(Index)) != 0;
}

QImage TPdf::ObjectBitmap(int Index) const {
    const OwnedBitmap bitmap(FPDFImageObj_GetBitmap(ObjectHandle(Index)));
    QImage result;
    if (bitmap)
        ToBitmap(bitmap.get(), result);
    return result;
}

// The walks over the objects check the page once, through ObjectCount, and then ask the engine directly.
bool TPdf::IsImageObject(int Index) const {
    return DecodeObjectType(FPDFPageObj_GetType(FPDFPage_GetObject(Page(), Index))) == otImage;
}

int TPdf::ImageCount() const {
    const int count = ObjectCount();
    int images = 0;
    for (int index = 0; index < count; ++index)
        if (IsImageObject(index))
            ++images;
    return images;
}

int TPdf::ImageIndexToObjectIndex(int Index) const {
    const int count = ObjectCount();
    int toSkip = Index;
    for (int index = 0; index < count; ++index) {
        if (!IsImageObject(index))
            continue;
        if (toSkip == 0)
            return index;
        --toSkip;
    }
    return -1;
}

FPDF_PAGEOBJECT TPdf::ImageHandle(int Index) const {
    const int objectIndex = ImageIndexToObjectIndex(Index);
    Check(objectIndex != -1, QStringLiteral("Incorrect index"));
    return ObjectHandle(objectIndex);
}

TPdfImage TPdf::Image(int Index) const {
    return GetImage(ImageHandle(Index));
}

QImage TPdf::Bitmap(int Index) const {
    return GetBitmap(ImageHandle(Index));
}

QImage TPdf::RenderedBitmap(int Index) const {
    const OwnedBitmap bitmap(FPDFImageObj_GetRenderedBitmap(FDocument, Page(), ImageHandle(Index)));
    Check(bitmap != nullptr, QStringLiteral("Cannot draw image"));
    QImage result;
    ToBitmap(bitmap.get(), result);
    return result;
}

bool TPdf::Transparent() const {
    CheckPageActive();
    return FPDFPage_HasTransparency(Page()) != 0;
}

} // namespace PDFium
