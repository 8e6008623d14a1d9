#pragma once

// Rendering in steps: the pause callback the engine polls while it renders,
// the render states, and the entry points that start, continue and finish a
// stepwise rendering into a bitmap.

#include "FPdfView.h"

namespace PDFium {

// Render states.
constexpr int FPDF_RENDER_READY = 0;
constexpr int FPDF_RENDER_TOBECONTINUED = 1;
constexpr int FPDF_RENDER_DONE = 2;
constexpr int FPDF_RENDER_FAILED = 3;

// Polled by the engine (version 1); NeedToPauseNow returns non-zero to pause.
struct IFSDK_PAUSE {
    int version;
    FPDF_BOOL (*NeedToPauseNow)(IFSDK_PAUSE* pThis);
    void* user;
};

inline int (*FPDF_RenderPageBitmap_Start)(FPDF_BITMAP bitmap, FPDF_PAGE page, int start_x, int start_y,
                                          int size_x, int size_y, int rotate, int flags,
                                          IFSDK_PAUSE* pause) = nullptr;
inline int (*FPDF_RenderPage_Continue)(FPDF_PAGE page, IFSDK_PAUSE* pause) = nullptr;
inline void (*FPDF_RenderPage_Close)(FPDF_PAGE page) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFPROGRESSIVE_ENTRY_POINTS(X)                                                               \
    X(FPDF_RenderPageBitmap_Start)                                                                           \
    X(FPDF_RenderPage_Continue)                                                                              \
    X(FPDF_RenderPage_Close)
