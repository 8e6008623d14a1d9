// A page object that no page owns yet, held for the length of a scope: FPDFPageObj_Destroy runs on every way
// out unless the object was handed to a page with release().
#pragma once

#include "pdf/engine/FPdfEdit.h"

#include <memory>

namespace PDFium {

struct EnginePageObjectDeleter {
    void operator()(fpdf_pageobject_t__* object) const { FPDFPageObj_Destroy(object); }
};
using OwnedPageObject = std::unique_ptr<fpdf_pageobject_t__, EnginePageObjectDeleter>;

} // namespace PDFium
