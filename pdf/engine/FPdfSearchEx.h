#pragma once

// Index mapping on a text page between character indexes and positions in
// the text that FPDFText_GetText extracts.

#include "FPdfView.h"

namespace PDFium {

// Both return -1 on error.
inline int (*FPDFText_GetCharIndexFromTextIndex)(FPDF_TEXTPAGE text_page, int nTextIndex) = nullptr;
inline int (*FPDFText_GetTextIndexFromCharIndex)(FPDF_TEXTPAGE text_page, int nCharIndex) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFSEARCHEX_ENTRY_POINTS(X)                                                                  \
    X(FPDFText_GetCharIndexFromTextIndex)                                                                    \
    X(FPDFText_GetTextIndexFromCharIndex)
