#pragma once

// Saving: the write callback record through which the engine hands out the
// bytes of a saved document, the save modes, and the save entry points.

#include "FPdfView.h"

namespace PDFium {

// Sink for saved bytes (version 1); WriteBlock returns non-zero on success.
struct FPDF_FILEWRITE {
    int version;
    int (*WriteBlock)(FPDF_FILEWRITE* pThis, const void* pData, unsigned long size);
};

// Save modes.
constexpr FPDF_DWORD FPDF_INCREMENTAL = 1;
constexpr FPDF_DWORD FPDF_NO_INCREMENTAL = 2;
constexpr FPDF_DWORD FPDF_REMOVE_SECURITY = 3;

inline FPDF_BOOL (*FPDF_SaveAsCopy)(FPDF_DOCUMENT document, FPDF_FILEWRITE* pFileWrite,
                                    FPDF_DWORD flags) = nullptr;
// fileVersion is ten times the PDF version: 14 for 1.4, 17 for 1.7.
inline FPDF_BOOL (*FPDF_SaveWithVersion)(FPDF_DOCUMENT document, FPDF_FILEWRITE* pFileWrite, FPDF_DWORD flags,
                                         int fileVersion) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFSAVE_ENTRY_POINTS(X)                                                                      \
    X(FPDF_SaveAsCopy)                                                                                       \
    X(FPDF_SaveWithVersion)
