// An engine bitmap owned for the length of a scope: FPDFBitmap_Destroy runs on every way out.
#pragma once

#include "pdf/engine/FPdfView.h"

#include <memory>

namespace PDFium {

struct EngineBitmapDeleter {
    void operator()(fpdf_bitmap_t__* bitmap) const { FPDFBitmap_Destroy(bitmap); }
};
using OwnedBitmap = std::unique_ptr<fpdf_bitmap_t__, EngineBitmapDeleter>;

} // namespace PDFium
