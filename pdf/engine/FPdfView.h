#pragma once

// Base of the engine interface: the opaque handle types, scalar and string
// types, the geometry records, library configuration and custom file access,
// error codes, render flags and bitmap formats, and the entry points for the
// library, documents, pages, rendering, bitmaps, viewer preferences and named
// destinations.

#include <cstddef>

namespace PDFium {

// Opaque handles; the engine owns what they point to.
typedef struct fpdf_action_t__* FPDF_ACTION;
typedef struct fpdf_annotation_t__* FPDF_ANNOTATION;
typedef struct fpdf_attachment_t__* FPDF_ATTACHMENT;
typedef struct fpdf_avail_t__* FPDF_AVAIL;
typedef struct fpdf_bitmap_t__* FPDF_BITMAP;
typedef struct fpdf_bookmark_t__* FPDF_BOOKMARK;
typedef struct fpdf_clippath_t__* FPDF_CLIPPATH;
typedef struct fpdf_dest_t__* FPDF_DEST;
typedef struct fpdf_document_t__* FPDF_DOCUMENT;
typedef struct fpdf_font_t__* FPDF_FONT;
typedef struct fpdf_form_handle_t__* FPDF_FORMHANDLE;
typedef struct fpdf_link_t__* FPDF_LINK;
typedef struct fpdf_page_t__* FPDF_PAGE;
typedef struct fpdf_pagelink_t__* FPDF_PAGELINK;
typedef struct fpdf_pageobject_t__* FPDF_PAGEOBJECT;
typedef struct fpdf_pageobjectmark_t__* FPDF_PAGEOBJECTMARK;
typedef const struct fpdf_pagerange_t__* FPDF_PAGERANGE;
typedef const struct fpdf_pathsegment_t* FPDF_PATHSEGMENT;
typedef struct fpdf_schhandle_t__* FPDF_SCHHANDLE;
typedef struct fpdf_structelement_t__* FPDF_STRUCTELEMENT;
typedef struct fpdf_structtree_t__* FPDF_STRUCTTREE;
typedef struct fpdf_textpage_t__* FPDF_TEXTPAGE;
typedef struct fpdf_widget_t__* FPDF_WIDGET;

// Scalars.
typedef int FPDF_BOOL;
typedef int FPDF_RESULT;
typedef unsigned long FPDF_DWORD;
typedef float FS_FLOAT;

// Strings: 8-bit (byte and platform strings) and UTF-16LE (wide strings).
typedef unsigned short FPDF_WCHAR;
typedef const char* FPDF_BYTESTRING;
typedef const FPDF_WCHAR* FPDF_WIDESTRING;
typedef const char* FPDF_STRING;

// Annotation subtype, appearance mode and dictionary value type codes.
typedef int FPDF_ANNOTATION_SUBTYPE;
typedef int FPDF_ANNOT_APPEARANCEMODE;
typedef int FPDF_OBJECT_TYPE;

// Dictionary value types.
constexpr int FPDF_OBJECT_UNKNOWN = 0;
constexpr int FPDF_OBJECT_BOOLEAN = 1;
constexpr int FPDF_OBJECT_NUMBER = 2;
constexpr int FPDF_OBJECT_STRING = 3;
constexpr int FPDF_OBJECT_NAME = 4;
constexpr int FPDF_OBJECT_ARRAY = 5;
constexpr int FPDF_OBJECT_DICTIONARY = 6;
constexpr int FPDF_OBJECT_STREAM = 7;
constexpr int FPDF_OBJECT_NULLOBJ = 8;
constexpr int FPDF_OBJECT_REFERENCE = 9;

// How a text object paints its glyphs.
enum FPDF_TEXT_RENDERMODE {
    FPDF_TEXTRENDERMODE_UNKNOWN = -1,
    FPDF_TEXTRENDERMODE_FILL = 0,
    FPDF_TEXTRENDERMODE_STROKE = 1,
    FPDF_TEXTRENDERMODE_FILL_STROKE = 2,
    FPDF_TEXTRENDERMODE_INVISIBLE = 3,
    FPDF_TEXTRENDERMODE_FILL_CLIP = 4,
    FPDF_TEXTRENDERMODE_STROKE_CLIP = 5,
    FPDF_TEXTRENDERMODE_FILL_STROKE_CLIP = 6,
    FPDF_TEXTRENDERMODE_CLIP = 7,
    FPDF_TEXTRENDERMODE_LAST = FPDF_TEXTRENDERMODE_CLIP,
};

// Paper handling the document asks for when printed.
enum FPDF_DUPLEXTYPE { DuplexUndefined = 0, Simplex, DuplexFlipShortEdge, DuplexFlipLongEdge };

// A string the engine hands to XFA callbacks and keeps alive beyond them.
struct FPDF_BSTR {
    char* str;
    int len;
};

// Affine matrix [a b c d e f]: x' = a*x + c*y + e, y' = b*x + d*y + f.
struct FS_MATRIX {
    float a;
    float b;
    float c;
    float d;
    float e;
    float f;
};

struct FS_RECTF {
    float left;
    float top;
    float right;
    float bottom;
};
typedef FS_RECTF* FS_LPRECTF;
typedef const FS_RECTF* FS_LPCRECTF;

struct FS_SIZEF {
    float width;
    float height;
};
typedef FS_SIZEF* FS_LPSIZEF;
typedef const FS_SIZEF* FS_LPCSIZEF;

struct FS_POINTF {
    float x;
    float y;
};
typedef FS_POINTF* FS_LPPOINTF;
typedef const FS_POINTF* FS_LPCPOINTF;

// Four corners of a quadrilateral, (x1, y1) to (x4, y4).
struct FS_QUADPOINTSF {
    FS_FLOAT x1;
    FS_FLOAT y1;
    FS_FLOAT x2;
    FS_FLOAT y2;
    FS_FLOAT x3;
    FS_FLOAT y3;
    FS_FLOAT x4;
    FS_FLOAT y4;
};

// Rasteriser chosen at initialisation (configuration version 4 and later).
enum FPDF_RENDERER_TYPE {
    FPDF_RENDERERTYPE_AGG = 0,
    FPDF_RENDERERTYPE_SKIA = 1,
};

// Process-wide settings for FPDF_InitLibraryWithConfig; version tells the
// engine how many of the fields below it may read.
struct FPDF_LIBRARY_CONFIG {
    int version;
    // Null-terminated list of font folders, or null for the defaults.
    const char** m_pUserFontPaths;
    // Version 2.
    void* m_pIsolate;
    unsigned int m_v8EmbedderSlot;
    // Version 3.
    void* m_pPlatform;
    // Version 4.
    FPDF_RENDERER_TYPE m_RendererType;
};

// Caller-supplied reader for FPDF_LoadCustomDocument and JPEG loading.
// m_GetBlock fills size bytes at position and returns non-zero on success.
struct FPDF_FILEACCESS {
    unsigned long m_FileLen;
    int (*m_GetBlock)(void* param, unsigned long position, unsigned char* pBuf, unsigned long size);
    void* m_Param;
};

// Caller-supplied file stream, used only by XFA callbacks. The block
// functions return 0 on success.
struct FPDF_FILEHANDLER {
    void* clientData;
    void (*Release)(void* clientData);
    FPDF_DWORD (*GetSize)(void* clientData);
    FPDF_RESULT (*ReadBlock)(void* clientData, FPDF_DWORD offset, void* buffer, FPDF_DWORD size);
    FPDF_RESULT (*WriteBlock)(void* clientData, FPDF_DWORD offset, const void* buffer, FPDF_DWORD size);
    FPDF_RESULT (*Flush)(void* clientData);
    FPDF_RESULT (*Truncate)(void* clientData, FPDF_DWORD size);
};

// Sandbox policy for FPDF_SetSandBoxPolicy.
constexpr FPDF_DWORD FPDF_POLICY_MACHINETIME_ACCESS = 0;

// Codes of FPDF_GetLastError.
constexpr unsigned long FPDF_ERR_SUCCESS = 0;
constexpr unsigned long FPDF_ERR_UNKNOWN = 1;
constexpr unsigned long FPDF_ERR_FILE = 2;
constexpr unsigned long FPDF_ERR_FORMAT = 3;
constexpr unsigned long FPDF_ERR_PASSWORD = 4;
constexpr unsigned long FPDF_ERR_SECURITY = 5;
constexpr unsigned long FPDF_ERR_PAGE = 6;
constexpr unsigned long FPDF_ERR_XFALOAD = 7;
constexpr unsigned long FPDF_ERR_XFALAYOUT = 8;

// Render flags, combined with bitwise or.
constexpr int FPDF_ANNOT = 0x01;
constexpr int FPDF_LCD_TEXT = 0x02;
constexpr int FPDF_NO_NATIVETEXT = 0x04;
constexpr int FPDF_GRAYSCALE = 0x08;
constexpr int FPDF_REVERSE_BYTE_ORDER = 0x10;
constexpr int FPDF_CONVERT_FILL_TO_STROKE = 0x20;
constexpr int FPDF_DEBUG_INFO = 0x80;
constexpr int FPDF_NO_CATCH = 0x100;
constexpr int FPDF_RENDER_LIMITEDIMAGECACHE = 0x200;
constexpr int FPDF_RENDER_FORCEHALFTONE = 0x400;
constexpr int FPDF_PRINTING = 0x800;
constexpr int FPDF_RENDER_NO_SMOOTHTEXT = 0x1000;
constexpr int FPDF_RENDER_NO_SMOOTHIMAGE = 0x2000;
constexpr int FPDF_RENDER_NO_SMOOTHPATH = 0x4000;

// Bitmap pixel formats.
constexpr int FPDFBitmap_Unknown = 0;
constexpr int FPDFBitmap_Gray = 1;
constexpr int FPDFBitmap_BGR = 2;
constexpr int FPDFBitmap_BGRx = 3;
constexpr int FPDFBitmap_BGRA = 4;

// Library.
inline void (*FPDF_InitLibrary)() = nullptr;
inline void (*FPDF_InitLibraryWithConfig)(const FPDF_LIBRARY_CONFIG* config) = nullptr;
inline void (*FPDF_DestroyLibrary)() = nullptr;
inline void (*FPDF_SetSandBoxPolicy)(FPDF_DWORD policy, FPDF_BOOL enable) = nullptr;

// Documents.
inline FPDF_DOCUMENT (*FPDF_LoadDocument)(FPDF_STRING file_path, FPDF_BYTESTRING password) = nullptr;
inline FPDF_DOCUMENT (*FPDF_LoadMemDocument)(const void* data_buf, int size,
                                             FPDF_BYTESTRING password) = nullptr;
inline FPDF_DOCUMENT (*FPDF_LoadCustomDocument)(FPDF_FILEACCESS* pFileAccess,
                                                FPDF_BYTESTRING password) = nullptr;
inline FPDF_BOOL (*FPDF_GetFileVersion)(FPDF_DOCUMENT doc, int* fileVersion) = nullptr;
inline unsigned long (*FPDF_GetLastError)() = nullptr;
inline FPDF_BOOL (*FPDF_DocumentHasValidCrossReferenceTable)(FPDF_DOCUMENT document) = nullptr;
inline unsigned long (*FPDF_GetDocPermissions)(FPDF_DOCUMENT document) = nullptr;
inline int (*FPDF_GetSecurityHandlerRevision)(FPDF_DOCUMENT document) = nullptr;
inline int (*FPDF_GetPageCount)(FPDF_DOCUMENT document) = nullptr;

// Pages.
inline FPDF_PAGE (*FPDF_LoadPage)(FPDF_DOCUMENT document, int page_index) = nullptr;
inline double (*FPDF_GetPageWidth)(FPDF_PAGE page) = nullptr;
inline double (*FPDF_GetPageHeight)(FPDF_PAGE page) = nullptr;
inline FPDF_BOOL (*FPDF_GetPageBoundingBox)(FPDF_PAGE page, FS_RECTF* rect) = nullptr;
inline int (*FPDF_GetPageSizeByIndex)(FPDF_DOCUMENT document, int page_index, double* width,
                                      double* height) = nullptr;

// Rendering. The device context of FPDF_RenderPage is the platform's drawing
// handle (HDC on Windows); the engine exports it on Windows only.
inline void (*FPDF_RenderPage)(void* dc, FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y,
                               int rotate, int flags) = nullptr;
inline void (*FPDF_RenderPageBitmap)(FPDF_BITMAP bitmap, FPDF_PAGE page, int start_x, int start_y, int size_x,
                                     int size_y, int rotate, int flags) = nullptr;
inline void (*FPDF_RenderPageBitmapWithMatrix)(FPDF_BITMAP bitmap, FPDF_PAGE page, const FS_MATRIX* matrix,
                                               const FS_RECTF* clipping, int flags) = nullptr;
inline void (*FPDF_ClosePage)(FPDF_PAGE page) = nullptr;
inline void (*FPDF_CloseDocument)(FPDF_DOCUMENT document) = nullptr;

// Coordinate conversion between a display area and the page.
inline FPDF_BOOL (*FPDF_DeviceToPage)(FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y,
                                      int rotate, int device_x, int device_y, double* page_x,
                                      double* page_y) = nullptr;
inline FPDF_BOOL (*FPDF_PageToDevice)(FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y,
                                      int rotate, double page_x, double page_y, int* device_x,
                                      int* device_y) = nullptr;

// Bitmaps.
inline FPDF_BITMAP (*FPDFBitmap_Create)(int width, int height, int alpha) = nullptr;
inline FPDF_BITMAP (*FPDFBitmap_CreateEx)(int width, int height, int format, void* first_scan,
                                          int stride) = nullptr;
inline int (*FPDFBitmap_GetFormat)(FPDF_BITMAP bitmap) = nullptr;
inline void (*FPDFBitmap_FillRect)(FPDF_BITMAP bitmap, int left, int top, int width, int height,
                                   FPDF_DWORD color) = nullptr;
inline void* (*FPDFBitmap_GetBuffer)(FPDF_BITMAP bitmap) = nullptr;
inline int (*FPDFBitmap_GetWidth)(FPDF_BITMAP bitmap) = nullptr;
inline int (*FPDFBitmap_GetHeight)(FPDF_BITMAP bitmap) = nullptr;
inline int (*FPDFBitmap_GetStride)(FPDF_BITMAP bitmap) = nullptr;
inline void (*FPDFBitmap_Destroy)(FPDF_BITMAP bitmap) = nullptr;

// Viewer preferences.
inline FPDF_BOOL (*FPDF_VIEWERREF_GetPrintScaling)(FPDF_DOCUMENT document) = nullptr;
inline int (*FPDF_VIEWERREF_GetNumCopies)(FPDF_DOCUMENT document) = nullptr;
inline FPDF_PAGERANGE (*FPDF_VIEWERREF_GetPrintPageRange)(FPDF_DOCUMENT document) = nullptr;
inline std::size_t (*FPDF_VIEWERREF_GetPrintPageRangeCount)(FPDF_PAGERANGE pagerange) = nullptr;
inline int (*FPDF_VIEWERREF_GetPrintPageRangeElement)(FPDF_PAGERANGE pagerange, std::size_t index) = nullptr;
inline FPDF_DUPLEXTYPE (*FPDF_VIEWERREF_GetDuplex)(FPDF_DOCUMENT document) = nullptr;
inline unsigned long (*FPDF_VIEWERREF_GetName)(FPDF_DOCUMENT document, FPDF_BYTESTRING key, char* buffer,
                                               unsigned long length) = nullptr;

// Named destinations. FPDF_GetNamedDest takes the buffer size in bytes in
// buflen and leaves the name's size there (-1 when the buffer is too small).
inline FPDF_DWORD (*FPDF_CountNamedDests)(FPDF_DOCUMENT document) = nullptr;
inline FPDF_DEST (*FPDF_GetNamedDestByName)(FPDF_DOCUMENT document, FPDF_BYTESTRING name) = nullptr;
inline FPDF_DEST (*FPDF_GetNamedDest)(FPDF_DOCUMENT document, int index, void* buffer,
                                      long* buflen) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFVIEW_ENTRY_POINTS(X)                                                                      \
    X(FPDF_InitLibrary)                                                                                      \
    X(FPDF_InitLibraryWithConfig)                                                                            \
    X(FPDF_DestroyLibrary)                                                                                   \
    X(FPDF_SetSandBoxPolicy)                                                                                 \
    X(FPDF_LoadDocument)                                                                                     \
    X(FPDF_LoadMemDocument)                                                                                  \
    X(FPDF_LoadCustomDocument)                                                                               \
    X(FPDF_GetFileVersion)                                                                                   \
    X(FPDF_GetLastError)                                                                                     \
    X(FPDF_DocumentHasValidCrossReferenceTable)                                                              \
    X(FPDF_GetDocPermissions)                                                                                \
    X(FPDF_GetSecurityHandlerRevision)                                                                       \
    X(FPDF_GetPageCount)                                                                                     \
    X(FPDF_LoadPage)                                                                                         \
    X(FPDF_GetPageWidth)                                                                                     \
    X(FPDF_GetPageHeight)                                                                                    \
    X(FPDF_GetPageBoundingBox)                                                                               \
    X(FPDF_GetPageSizeByIndex)                                                                               \
    X(FPDF_RenderPage)                                                                                       \
    X(FPDF_RenderPageBitmap)                                                                                 \
    X(FPDF_RenderPageBitmapWithMatrix)                                                                       \
    X(FPDF_ClosePage)                                                                                        \
    X(FPDF_CloseDocument)                                                                                    \
    X(FPDF_DeviceToPage)                                                                                     \
    X(FPDF_PageToDevice)                                                                                     \
    X(FPDFBitmap_Create)                                                                                     \
    X(FPDFBitmap_CreateEx)                                                                                   \
    X(FPDFBitmap_GetFormat)                                                                                  \
    X(FPDFBitmap_FillRect)                                                                                   \
    X(FPDFBitmap_GetBuffer)                                                                                  \
    X(FPDFBitmap_GetWidth)                                                                                   \
    X(FPDFBitmap_GetHeight)                                                                                  \
    X(FPDFBitmap_GetStride)                                                                                  \
    X(FPDFBitmap_Destroy)                                                                                    \
    X(FPDF_VIEWERREF_GetPrintScaling)                                                                        \
    X(FPDF_VIEWERREF_GetNumCopies)                                                                           \
    X(FPDF_VIEWERREF_GetPrintPageRange)                                                                      \
    X(FPDF_VIEWERREF_GetPrintPageRangeCount)                                                                 \
    X(FPDF_VIEWERREF_GetPrintPageRangeElement)                                                               \
    X(FPDF_VIEWERREF_GetDuplex)                                                                              \
    X(FPDF_VIEWERREF_GetName)                                                                                \
    X(FPDF_CountNamedDests)                                                                                  \
    X(FPDF_GetNamedDestByName)                                                                               \
    X(FPDF_GetNamedDest)
