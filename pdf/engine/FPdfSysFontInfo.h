#pragma once

// System fonts: the interface through which the engine asks the host for
// installed fonts, the default implementation the engine brings, and the
// charset and weight codes used on it.

#include "FPdfView.h"

namespace PDFium {

// Charsets.
constexpr int FXFONT_ANSI_CHARSET = 0;
constexpr int FXFONT_DEFAULT_CHARSET = 1;
constexpr int FXFONT_SYMBOL_CHARSET = 2;
constexpr int FXFONT_SHIFTJIS_CHARSET = 128;
constexpr int FXFONT_HANGEUL_CHARSET = 129;
constexpr int FXFONT_GB2312_CHARSET = 134;
constexpr int FXFONT_CHINESEBIG5_CHARSET = 136;
constexpr int FXFONT_GREEK_CHARSET = 161;
constexpr int FXFONT_VIETNAMESE_CHARSET = 163;
constexpr int FXFONT_HEBREW_CHARSET = 177;
constexpr int FXFONT_ARABIC_CHARSET = 178;
constexpr int FXFONT_CYRILLIC_CHARSET = 204;
constexpr int FXFONT_THAI_CHARSET = 222;
constexpr int FXFONT_EASTERNEUROPEAN_CHARSET = 238;

// Pitch and family bits.
constexpr int FXFONT_FF_FIXEDPITCH = 1 << 0;
constexpr int FXFONT_FF_ROMAN = 1 << 4;
constexpr int FXFONT_FF_SCRIPT = 4 << 4;

// Weights.
constexpr int FXFONT_FW_NORMAL = 400;
constexpr int FXFONT_FW_BOLD = 700;

// Host font provider (version 1). Font handles are opaque to the engine.
struct FPDF_SYSFONTINFO {
    int version;
    void (*Release)(FPDF_SYSFONTINFO* pThis);
    // Reports each installed font through FPDF_AddInstalledFont(pMapper, ...).
    void (*EnumFonts)(FPDF_SYSFONTINFO* pThis, void* pMapper);
    void* (*MapFont)(FPDF_SYSFONTINFO* pThis, int weight, FPDF_BOOL bItalic, int charset, int pitch_family,
                     const char* face, FPDF_BOOL* bExact);
    void* (*GetFont)(FPDF_SYSFONTINFO* pThis, const char* face);
    // table 0 asks for the whole font file; returns the size needed.
    unsigned long (*GetFontData)(FPDF_SYSFONTINFO* pThis, void* hFont, unsigned int table,
                                 unsigned char* buffer, unsigned long buf_size);
    unsigned long (*GetFaceName)(FPDF_SYSFONTINFO* pThis, void* hFont, char* buffer, unsigned long buf_size);
    int (*GetFontCharset)(FPDF_SYSFONTINFO* pThis, void* hFont);
    void (*DeleteFont)(FPDF_SYSFONTINFO* pThis, void* hFont);
};

// One entry of the default charset-to-font table, which ends with
// { -1, nullptr }.
struct FPDF_CharsetFontMap {
    int charset;
    const char* fontname;
};

inline const FPDF_CharsetFontMap* (*FPDF_GetDefaultTTFMap)() = nullptr;
inline void (*FPDF_AddInstalledFont)(void* mapper, const char* face, int charset) = nullptr;
inline void (*FPDF_SetSystemFontInfo)(FPDF_SYSFONTINFO* pFontInfo) = nullptr;
inline FPDF_SYSFONTINFO* (*FPDF_GetDefaultSystemFontInfo)() = nullptr;
inline void (*FPDF_FreeDefaultSystemFontInfo)(FPDF_SYSFONTINFO* pFontInfo) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFSYSFONTINFO_ENTRY_POINTS(X)                                                               \
    X(FPDF_GetDefaultTTFMap)                                                                                 \
    X(FPDF_AddInstalledFont)                                                                                 \
    X(FPDF_SetSystemFontInfo)                                                                                \
    X(FPDF_GetDefaultSystemFontInfo)                                                                         \
    X(FPDF_FreeDefaultSystemFontInfo)
