#pragma once

// Thumbnail images stored with a page: their decoded and raw data and a
// bitmap made from them.

#include "FPdfView.h"

namespace PDFium {

// Both return the data's size, 0 when the page has no thumbnail; buffer is
// filled only when buflen is large enough.
inline unsigned long (*FPDFPage_GetDecodedThumbnailData)(FPDF_PAGE page, void* buffer,
                                                         unsigned long buflen) = nullptr;
inline unsigned long (*FPDFPage_GetRawThumbnailData)(FPDF_PAGE page, void* buffer,
                                                     unsigned long buflen) = nullptr;
// The caller frees the bitmap with FPDFBitmap_Destroy.
inline FPDF_BITMAP (*FPDFPage_GetThumbnailAsBitmap)(FPDF_PAGE page) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFTHUMBNAIL_ENTRY_POINTS(X)                                                                 \
    X(FPDFPage_GetDecodedThumbnailData)                                                                      \
    X(FPDFPage_GetRawThumbnailData)                                                                          \
    X(FPDFPage_GetThumbnailAsBitmap)
