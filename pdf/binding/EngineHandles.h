// Engine objects owned for the length of a scope: the engine's release function runs on every way out,
// unless the object was handed on with release() (a page object to the page that takes it).
#pragma once

#include "pdf/engine/FPdfEdit.h"
#include "pdf/engine/FPdfView.h"

#include <memory>

namespace PDFium {

template <auto& Release> struct EngineDeleter {
    template <typename Handle> void operator()(Handle* handle) const { Release(handle); }
};

using OwnedBitmap = std::unique_ptr<fpdf_bitmap_t__, EngineDeleter<FPDFBitmap_Destroy>>;
using OwnedPageObject = std::unique_ptr<fpdf_pageobject_t__, EngineDeleter<FPDFPageObj_Destroy>>;

} // namespace PDFium
