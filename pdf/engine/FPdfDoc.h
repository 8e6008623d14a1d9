#pragma once

// Document navigation: bookmarks, actions, destinations and link annotations,
// plus document metadata and page labels.

#include "FPdfView.h"

namespace PDFium {

// Action types of FPDFAction_GetType.
constexpr unsigned long PDFACTION_UNSUPPORTED = 0;
constexpr unsigned long PDFACTION_GOTO = 1;
constexpr unsigned long PDFACTION_REMOTEGOTO = 2;
constexpr unsigned long PDFACTION_URI = 3;
constexpr unsigned long PDFACTION_LAUNCH = 4;
constexpr unsigned long PDFACTION_EMBEDDEDGOTO = 5;

// Fit types of FPDFDest_GetView.
constexpr unsigned long PDFDEST_VIEW_UNKNOWN_MODE = 0;
constexpr unsigned long PDFDEST_VIEW_XYZ = 1;
constexpr unsigned long PDFDEST_VIEW_FIT = 2;
constexpr unsigned long PDFDEST_VIEW_FITH = 3;
constexpr unsigned long PDFDEST_VIEW_FITV = 4;
constexpr unsigned long PDFDEST_VIEW_FITR = 5;
constexpr unsigned long PDFDEST_VIEW_FITB = 6;
constexpr unsigned long PDFDEST_VIEW_FITBH = 7;
constexpr unsigned long PDFDEST_VIEW_FITBV = 8;

// Bookmarks; a null bookmark asks for the first top-level entry. Titles are
// UTF-16LE, sizes in bytes with the terminator.
inline FPDF_BOOKMARK (*FPDFBookmark_GetFirstChild)(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark) = nullptr;
inline FPDF_BOOKMARK (*FPDFBookmark_GetNextSibling)(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark) = nullptr;
inline unsigned long (*FPDFBookmark_GetTitle)(FPDF_BOOKMARK bookmark, void* buffer,
                                              unsigned long buflen) = nullptr;
inline FPDF_BOOKMARK (*FPDFBookmark_Find)(FPDF_DOCUMENT document, FPDF_WIDESTRING title) = nullptr;
inline FPDF_DEST (*FPDFBookmark_GetDest)(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark) = nullptr;
inline FPDF_ACTION (*FPDFBookmark_GetAction)(FPDF_BOOKMARK bookmark) = nullptr;

// Actions. Paths are 8-bit, sizes in bytes with the terminator.
inline unsigned long (*FPDFAction_GetType)(FPDF_ACTION action) = nullptr;
inline FPDF_DEST (*FPDFAction_GetDest)(FPDF_DOCUMENT document, FPDF_ACTION action) = nullptr;
inline unsigned long (*FPDFAction_GetFilePath)(FPDF_ACTION action, void* buffer,
                                               unsigned long buflen) = nullptr;
inline unsigned long (*FPDFAction_GetURIPath)(FPDF_DOCUMENT document, FPDF_ACTION action, void* buffer,
                                              unsigned long buflen) = nullptr;

// Destinations. FPDFDest_GetView writes up to four parameters.
inline int (*FPDFDest_GetDestPageIndex)(FPDF_DOCUMENT document, FPDF_DEST dest) = nullptr;
inline unsigned long (*FPDFDest_GetView)(FPDF_DEST dest, unsigned long* pNumParams,
                                         FS_FLOAT* pParams) = nullptr;
inline FPDF_BOOL (*FPDFDest_GetLocationInPage)(FPDF_DEST dest, FPDF_BOOL* hasXVal, FPDF_BOOL* hasYVal,
                                               FPDF_BOOL* hasZoomVal, FS_FLOAT* x, FS_FLOAT* y,
                                               FS_FLOAT* zoom) = nullptr;

// Link annotations of a page.
inline FPDF_LINK (*FPDFLink_GetLinkAtPoint)(FPDF_PAGE page, double x, double y) = nullptr;
inline int (*FPDFLink_GetLinkZOrderAtPoint)(FPDF_PAGE page, double x, double y) = nullptr;
inline FPDF_DEST (*FPDFLink_GetDest)(FPDF_DOCUMENT document, FPDF_LINK link) = nullptr;
inline FPDF_ACTION (*FPDFLink_GetAction)(FPDF_LINK link) = nullptr;
// start_pos starts at 0 and is advanced by each successful call.
inline FPDF_BOOL (*FPDFLink_Enumerate)(FPDF_PAGE page, int* start_pos, FPDF_LINK* link_annot) = nullptr;
inline FPDF_BOOL (*FPDFLink_GetAnnotRect)(FPDF_LINK link_annot, FS_RECTF* rect) = nullptr;
inline int (*FPDFLink_CountQuadPoints)(FPDF_LINK link_annot) = nullptr;
inline FPDF_BOOL (*FPDFLink_GetQuadPoints)(FPDF_LINK link_annot, int quad_index,
                                           FS_QUADPOINTSF* quad_points) = nullptr;

// Metadata (Title, Author, ...) and page labels, UTF-16LE, sizes in bytes
// with the terminator.
inline unsigned long (*FPDF_GetMetaText)(FPDF_DOCUMENT document, FPDF_BYTESTRING tag, void* buffer,
                                         unsigned long buflen) = nullptr;
inline unsigned long (*FPDF_GetPageLabel)(FPDF_DOCUMENT document, int page_index, void* buffer,
                                          unsigned long buflen) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFDOC_ENTRY_POINTS(X)                                                                       \
    X(FPDFBookmark_GetFirstChild)                                                                            \
    X(FPDFBookmark_GetNextSibling)                                                                           \
    X(FPDFBookmark_GetTitle)                                                                                 \
    X(FPDFBookmark_Find)                                                                                     \
    X(FPDFBookmark_GetDest)                                                                                  \
    X(FPDFBookmark_GetAction)                                                                                \
    X(FPDFAction_GetType)                                                                                    \
    X(FPDFAction_GetDest)                                                                                    \
    X(FPDFAction_GetFilePath)                                                                                \
    X(FPDFAction_GetURIPath)                                                                                 \
    X(FPDFDest_GetDestPageIndex)                                                                             \
    X(FPDFDest_GetView)                                                                                      \
    X(FPDFDest_GetLocationInPage)                                                                            \
    X(FPDFLink_GetLinkAtPoint)                                                                               \
    X(FPDFLink_GetLinkZOrderAtPoint)                                                                         \
    X(FPDFLink_GetDest)                                                                                      \
    X(FPDFLink_GetAction)                                                                                    \
    X(FPDFLink_Enumerate)                                                                                    \
    X(FPDFLink_GetAnnotRect)                                                                                 \
    X(FPDFLink_CountQuadPoints)                                                                              \
    X(FPDFLink_GetQuadPoints)                                                                                \
    X(FPDF_GetMetaText)                                                                                      \
    X(FPDF_GetPageLabel)
