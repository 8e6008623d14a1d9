#pragma once

// Document catalog queries: whether a document is tagged.

#include "FPdfView.h"

namespace PDFium {

inline FPDF_BOOL (*FPDFCatalog_IsTagged)(FPDF_DOCUMENT document) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFCATALOG_ENTRY_POINTS(X) X(FPDFCatalog_IsTagged)
