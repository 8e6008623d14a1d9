#pragma once

// Flattening: merging a page's annotations and form fields into its content.

#include "FPdfView.h"

namespace PDFium {

// Results of FPDFPage_Flatten.
constexpr int FLATTEN_FAIL = 0;
constexpr int FLATTEN_SUCCESS = 1;
constexpr int FLATTEN_NOTHINGTODO = 2;

// Purposes of the flattened result.
constexpr int FLAT_NORMALDISPLAY = 0;
constexpr int FLAT_PRINT = 1;

inline int (*FPDFPage_Flatten)(FPDF_PAGE page, int nFlag) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFFLATTEN_ENTRY_POINTS(X) X(FPDFPage_Flatten)
