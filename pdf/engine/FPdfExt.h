#pragma once

// Engine extensions: the notice the engine sends for features it does not
// support, replacements for its clock, and the document's page mode.

#include "FPdfView.h"

#include <ctime>

namespace PDFium {

// Unsupported features reported through UNSUPPORT_INFO.
constexpr int FPDF_UNSP_DOC_XFAFORM = 1;
constexpr int FPDF_UNSP_DOC_PORTABLECOLLECTION = 2;
constexpr int FPDF_UNSP_DOC_ATTACHMENT = 3;
constexpr int FPDF_UNSP_DOC_SECURITY = 4;
constexpr int FPDF_UNSP_DOC_SHAREDREVIEW = 5;
constexpr int FPDF_UNSP_DOC_SHAREDFORM_ACROBAT = 6;
constexpr int FPDF_UNSP_DOC_SHAREDFORM_FILESYSTEM = 7;
constexpr int FPDF_UNSP_DOC_SHAREDFORM_EMAIL = 8;
constexpr int FPDF_UNSP_ANNOT_3DANNOT = 11;
constexpr int FPDF_UNSP_ANNOT_MOVIE = 12;
constexpr int FPDF_UNSP_ANNOT_SOUND = 13;
constexpr int FPDF_UNSP_ANNOT_SCREEN_MEDIA = 14;
constexpr int FPDF_UNSP_ANNOT_SCREEN_RICHMEDIA = 15;
constexpr int FPDF_UNSP_ANNOT_ATTACHMENT = 16;
constexpr int FPDF_UNSP_ANNOT_SIG = 17;

// Receiver of unsupported-feature notices (version 1); nType is one of the
// FPDF_UNSP_ codes.
struct UNSUPPORT_INFO {
    int version;
    void (*FSDK_UnSupport_Handler)(UNSUPPORT_INFO* pThis, int nType);
};

// Page modes of FPDFDoc_GetPageMode.
constexpr int PAGEMODE_UNKNOWN = -1;
constexpr int PAGEMODE_USENONE = 0;
constexpr int PAGEMODE_USEOUTLINES = 1;
constexpr int PAGEMODE_USETHUMBS = 2;
constexpr int PAGEMODE_FULLSCREEN = 3;
constexpr int PAGEMODE_USEOC = 4;
constexpr int PAGEMODE_USEATTACHMENTS = 5;

inline FPDF_BOOL (*FSDK_SetUnSpObjProcessHandler)(UNSUPPORT_INFO* unsp_info) = nullptr;
// Clock replacements meant for tests; null restores the system's own.
inline void (*FSDK_SetTimeFunction)(std::time_t (*func)()) = nullptr;
inline void (*FSDK_SetLocaltimeFunction)(std::tm* (*func)(const std::time_t*)) = nullptr;
inline int (*FPDFDoc_GetPageMode)(FPDF_DOCUMENT document) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFEXT_ENTRY_POINTS(X)                                                                       \
    X(FSDK_SetUnSpObjProcessHandler)                                                                         \
    X(FSDK_SetTimeFunction)                                                                                  \
    X(FSDK_SetLocaltimeFunction)                                                                             \
    X(FPDFDoc_GetPageMode)
