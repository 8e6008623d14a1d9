#pragma once

// Progressive loading: the host interfaces that report which byte ranges of a
// file have arrived and receive hints about what to fetch next, and the
// entry points that ask whether a document, page or form can be used yet.

#include "FPdfView.h"

#include <cstddef>

namespace PDFium {

// Results of FPDFAvail_IsLinearized.
constexpr int PDF_LINEARIZATION_UNKNOWN = -1;
constexpr int PDF_NOT_LINEARIZED = 0;
constexpr int PDF_LINEARIZED = 1;

// Results of FPDFAvail_IsDocAvail and FPDFAvail_IsPageAvail.
constexpr int PDF_DATA_ERROR = -1;
constexpr int PDF_DATA_NOTAVAIL = 0;
constexpr int PDF_DATA_AVAIL = 1;

// Results of FPDFAvail_IsFormAvail.
constexpr int PDF_FORM_ERROR = -1;
constexpr int PDF_FORM_NOTAVAIL = 0;
constexpr int PDF_FORM_AVAIL = 1;
constexpr int PDF_FORM_NOTEXIST = 2;

// Tells the engine whether a byte range is present (version 1).
struct FX_FILEAVAIL {
    int version;
    FPDF_BOOL (*IsDataAvail)(FX_FILEAVAIL* pThis, std::size_t offset, std::size_t size);
};

// Receives the byte ranges the engine wants next (version 1).
struct FX_DOWNLOADHINTS {
    int version;
    void (*AddSegment)(FX_DOWNLOADHINTS* pThis, std::size_t offset, std::size_t size);
};

inline FPDF_AVAIL (*FPDFAvail_Create)(FX_FILEAVAIL* file_avail, FPDF_FILEACCESS* file) = nullptr;
inline void (*FPDFAvail_Destroy)(FPDF_AVAIL avail) = nullptr;
inline int (*FPDFAvail_IsDocAvail)(FPDF_AVAIL avail, FX_DOWNLOADHINTS* hints) = nullptr;
inline FPDF_DOCUMENT (*FPDFAvail_GetDocument)(FPDF_AVAIL avail, FPDF_BYTESTRING password) = nullptr;
inline int (*FPDFAvail_GetFirstPageNum)(FPDF_DOCUMENT doc) = nullptr;
inline int (*FPDFAvail_IsPageAvail)(FPDF_AVAIL avail, int page_index, FX_DOWNLOADHINTS* hints) = nullptr;
inline int (*FPDFAvail_IsFormAvail)(FPDF_AVAIL avail, FX_DOWNLOADHINTS* hints) = nullptr;
inline int (*FPDFAvail_IsLinearized)(FPDF_AVAIL avail) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFDATAAVAIL_ENTRY_POINTS(X)                                                                 \
    X(FPDFAvail_Create)                                                                                      \
    X(FPDFAvail_Destroy)                                                                                     \
    X(FPDFAvail_IsDocAvail)                                                                                  \
    X(FPDFAvail_GetDocument)                                                                                 \
    X(FPDFAvail_GetFirstPageNum)                                                                             \
    X(FPDFAvail_IsPageAvail)                                                                                 \
    X(FPDFAvail_IsFormAvail)                                                                                 \
    X(FPDFAvail_IsLinearized)
