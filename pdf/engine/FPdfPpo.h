#pragma once

// Page import between documents: copying pages, placing several pages on one
// sheet, and copying viewer preferences.

#include "FPdfView.h"

#include <cstddef>

namespace PDFium {

// pagerange is a list such as "1,3,5-7" (one-based); null imports all pages.
inline FPDF_BOOL (*FPDF_ImportPages)(FPDF_DOCUMENT dest_doc, FPDF_DOCUMENT src_doc, FPDF_BYTESTRING pagerange,
                                     int index) = nullptr;
// A new document whose pages each carry a grid of the source's pages.
inline FPDF_DOCUMENT (*FPDF_ImportNPagesToOne)(FPDF_DOCUMENT src_doc, float output_width, float output_height,
                                               std::size_t num_pages_on_x_axis,
                                               std::size_t num_pages_on_y_axis) = nullptr;
inline FPDF_BOOL (*FPDF_CopyViewerPreferences)(FPDF_DOCUMENT dest_doc, FPDF_DOCUMENT src_doc) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFPPO_ENTRY_POINTS(X)                                                                       \
    X(FPDF_ImportPages)                                                                                      \
    X(FPDF_ImportNPagesToOne)                                                                                \
    X(FPDF_CopyViewerPreferences)
