#pragma once

// Text pages: characters with their codes, fonts and boxes, text extraction,
// search within a page, and web links the engine detects in the page text.

#include "FPdfView.h"

namespace PDFium {

// Search flags for FPDFText_FindStart.
constexpr unsigned long FPDF_MATCHCASE = 0x00000001;
constexpr unsigned long FPDF_MATCHWHOLEWORD = 0x00000002;
constexpr unsigned long FPDF_CONSECUTIVE = 0x00000004;

// Text page.
inline FPDF_TEXTPAGE (*FPDFText_LoadPage)(FPDF_PAGE page) = nullptr;
inline void (*FPDFText_ClosePage)(FPDF_TEXTPAGE text_page) = nullptr;
inline int (*FPDFText_CountChars)(FPDF_TEXTPAGE text_page) = nullptr;

// Characters, addressed by their index on the text page.
inline unsigned int (*FPDFText_GetUnicode)(FPDF_TEXTPAGE text_page, int index) = nullptr;
// The character's code in its font, before any mapping to Unicode.
inline unsigned int (*FPDFText_GetCharcode)(FPDF_TEXTPAGE text_page, int index) = nullptr;
inline double (*FPDFText_GetFontSize)(FPDF_TEXTPAGE text_page, int index) = nullptr;
// Font name in UTF-8 (size in bytes with the terminator) and descriptor flags.
inline unsigned long (*FPDFText_GetFontInfo)(FPDF_TEXTPAGE text_page, int index, void* buffer,
                                             unsigned long buflen, int* flags) = nullptr;
inline float (*FPDFText_GetCharAngle)(FPDF_TEXTPAGE text_page, int index) = nullptr;
inline FPDF_BOOL (*FPDFText_GetCharBox)(FPDF_TEXTPAGE text_page, int index, double* left, double* right,
                                        double* bottom, double* top) = nullptr;
inline FPDF_BOOL (*FPDFText_GetCharOrigin)(FPDF_TEXTPAGE text_page, int index, double* x,
                                           double* y) = nullptr;
inline int (*FPDFText_GetCharIndexAtPos)(FPDF_TEXTPAGE text_page, double x, double y, double xTolerance,
                                         double yTolerance) = nullptr;

// Text extraction; result and buffer hold UTF-16 code units.
inline int (*FPDFText_GetText)(FPDF_TEXTPAGE text_page, int start_index, int count,
                               unsigned short* result) = nullptr;
inline int (*FPDFText_CountRects)(FPDF_TEXTPAGE text_page, int start_index, int count) = nullptr;
inline FPDF_BOOL (*FPDFText_GetRect)(FPDF_TEXTPAGE text_page, int rect_index, double* left, double* top,
                                     double* right, double* bottom) = nullptr;
inline int (*FPDFText_GetBoundedText)(FPDF_TEXTPAGE text_page, double left, double top, double right,
                                      double bottom, unsigned short* buffer, int buflen) = nullptr;

// Search.
inline FPDF_SCHHANDLE (*FPDFText_FindStart)(FPDF_TEXTPAGE text_page, FPDF_WIDESTRING findwhat,
                                            unsigned long flags, int start_index) = nullptr;
inline FPDF_BOOL (*FPDFText_FindNext)(FPDF_SCHHANDLE handle) = nullptr;
inline FPDF_BOOL (*FPDFText_FindPrev)(FPDF_SCHHANDLE handle) = nullptr;
inline int (*FPDFText_GetSchResultIndex)(FPDF_SCHHANDLE handle) = nullptr;
inline int (*FPDFText_GetSchCount)(FPDF_SCHHANDLE handle) = nullptr;
inline void (*FPDFText_FindClose)(FPDF_SCHHANDLE handle) = nullptr;

// Web links found in the text; FPDFLink_GetURL counts UTF-16 code units.
inline FPDF_PAGELINK (*FPDFLink_LoadWebLinks)(FPDF_TEXTPAGE text_page) = nullptr;
inline int (*FPDFLink_CountWebLinks)(FPDF_PAGELINK link_page) = nullptr;
inline int (*FPDFLink_GetURL)(FPDF_PAGELINK link_page, int link_index, unsigned short* buffer,
                              int buflen) = nullptr;
inline int (*FPDFLink_CountRects)(FPDF_PAGELINK link_page, int link_index) = nullptr;
inline FPDF_BOOL (*FPDFLink_GetRect)(FPDF_PAGELINK link_page, int link_index, int rect_index, double* left,
                                     double* top, double* right, double* bottom) = nullptr;
inline FPDF_BOOL (*FPDFLink_GetTextRange)(FPDF_PAGELINK link_page, int link_index, int* start_char_index,
                                          int* char_count) = nullptr;
inline void (*FPDFLink_CloseWebLinks)(FPDF_PAGELINK link_page) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFTEXT_ENTRY_POINTS(X)                                                                      \
    X(FPDFText_LoadPage)                                                                                     \
    X(FPDFText_ClosePage)                                                                                    \
    X(FPDFText_CountChars)                                                                                   \
    X(FPDFText_GetUnicode)                                                                                   \
    X(FPDFText_GetCharcode)                                                                                  \
    X(FPDFText_GetFontSize)                                                                                  \
    X(FPDFText_GetFontInfo)                                                                                  \
    X(FPDFText_GetCharAngle)                                                                                 \
    X(FPDFText_GetCharBox)                                                                                   \
    X(FPDFText_GetCharOrigin)                                                                                \
    X(FPDFText_GetCharIndexAtPos)                                                                            \
    X(FPDFText_GetText)                                                                                      \
    X(FPDFText_CountRects)                                                                                   \
    X(FPDFText_GetRect)                                                                                      \
    X(FPDFText_GetBoundedText)                                                                               \
    X(FPDFText_FindStart)                                                                                    \
    X(FPDFText_FindNext)                                                                                     \
    X(FPDFText_FindPrev)                                                                                     \
    X(FPDFText_GetSchResultIndex)                                                                            \
    X(FPDFText_GetSchCount)                                                                                  \
    X(FPDFText_FindClose)                                                                                    \
    X(FPDFLink_LoadWebLinks)                                                                                 \
    X(FPDFLink_CountWebLinks)                                                                                \
    X(FPDFLink_GetURL)                                                                                       \
    X(FPDFLink_CountRects)                                                                                   \
    X(FPDFLink_GetRect)                                                                                      \
    X(FPDFLink_GetTextRange)                                                                                 \
    X(FPDFLink_CloseWebLinks)
