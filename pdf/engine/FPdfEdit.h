#pragma once

// Document and page editing: new documents and pages, page objects with their
// marks, colours and line styles, image objects, paths, text objects and
// fonts, form objects, and the ARGB colour helpers.

#include "FPdfView.h"

#include <cstdint>

namespace PDFium {

// Packs alpha, red, green and blue into the engine's 0xAARRGGBB form.
constexpr std::uint32_t FPDF_ARGB(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint32_t>(b) | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(a) << 24;
}
constexpr std::uint8_t FPDF_GetAValue(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb >> 24);
}
constexpr std::uint8_t FPDF_GetRValue(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb >> 16);
}
constexpr std::uint8_t FPDF_GetGValue(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb >> 8);
}
constexpr std::uint8_t FPDF_GetBValue(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb);
}

// Colour space families of FPDF_IMAGEOBJ_METADATA::colorspace.
constexpr int FPDF_COLORSPACE_UNKNOWN = 0;
constexpr int FPDF_COLORSPACE_DEVICEGRAY = 1;
constexpr int FPDF_COLORSPACE_DEVICERGB = 2;
constexpr int FPDF_COLORSPACE_DEVICECMYK = 3;
constexpr int FPDF_COLORSPACE_CALGRAY = 4;
constexpr int FPDF_COLORSPACE_CALRGB = 5;
constexpr int FPDF_COLORSPACE_LAB = 6;
constexpr int FPDF_COLORSPACE_ICCBASED = 7;
constexpr int FPDF_COLORSPACE_SEPARATION = 8;
constexpr int FPDF_COLORSPACE_DEVICEN = 9;
constexpr int FPDF_COLORSPACE_INDEXED = 10;
constexpr int FPDF_COLORSPACE_PATTERN = 11;

// Page object types.
constexpr int FPDF_PAGEOBJ_UNKNOWN = 0;
constexpr int FPDF_PAGEOBJ_TEXT = 1;
constexpr int FPDF_PAGEOBJ_PATH = 2;
constexpr int FPDF_PAGEOBJ_IMAGE = 3;
constexpr int FPDF_PAGEOBJ_SHADING = 4;
constexpr int FPDF_PAGEOBJ_FORM = 5;

// Path segment types.
constexpr int FPDF_SEGMENT_UNKNOWN = -1;
constexpr int FPDF_SEGMENT_LINETO = 0;
constexpr int FPDF_SEGMENT_BEZIERTO = 1;
constexpr int FPDF_SEGMENT_MOVETO = 2;

// Path fill modes.
constexpr int FPDF_FILLMODE_NONE = 0;
constexpr int FPDF_FILLMODE_ALTERNATE = 1;
constexpr int FPDF_FILLMODE_WINDING = 2;

// Font types for FPDFText_LoadFont.
constexpr int FPDF_FONT_TYPE1 = 1;
constexpr int FPDF_FONT_TRUETYPE = 2;

// Line caps and joins.
constexpr int FPDF_LINECAP_BUTT = 0;
constexpr int FPDF_LINECAP_ROUND = 1;
constexpr int FPDF_LINECAP_PROJECTING_SQUARE = 2;
constexpr int FPDF_LINEJOIN_MITER = 0;
constexpr int FPDF_LINEJOIN_ROUND = 1;
constexpr int FPDF_LINEJOIN_BEVEL = 2;

// What FPDFImageObj_GetImageMetadata reports about an image.
struct FPDF_IMAGEOBJ_METADATA {
    unsigned int width;
    unsigned int height;
    float horizontal_dpi;
    float vertical_dpi;
    unsigned int bits_per_pixel;
    int colorspace;
    // -1 when the image has no marked content ID.
    int marked_content_id;
};

// Documents and pages.
inline FPDF_DOCUMENT (*FPDF_CreateNewDocument)() = nullptr;
inline FPDF_PAGE (*FPDFPage_New)(FPDF_DOCUMENT document, int page_index, double width,
                                 double height) = nullptr;
inline void (*FPDFPage_Delete)(FPDF_DOCUMENT document, int page_index) = nullptr;
// Rotation in quarter turns clockwise, 0 to 3.
inline int (*FPDFPage_GetRotation)(FPDF_PAGE page) = nullptr;
inline void (*FPDFPage_SetRotation)(FPDF_PAGE page, int rotate) = nullptr;

// Page objects. An inserted object belongs to the page; a removed one goes
// back to the caller, who frees it with FPDFPageObj_Destroy.
inline void (*FPDFPage_InsertObject)(FPDF_PAGE page, FPDF_PAGEOBJECT page_obj) = nullptr;
inline FPDF_BOOL (*FPDFPage_RemoveObject)(FPDF_PAGE page, FPDF_PAGEOBJECT page_obj) = nullptr;
inline int (*FPDFPage_CountObjects)(FPDF_PAGE page) = nullptr;
inline FPDF_PAGEOBJECT (*FPDFPage_GetObject)(FPDF_PAGE page, int index) = nullptr;
inline FPDF_BOOL (*FPDFPage_HasTransparency)(FPDF_PAGE page) = nullptr;
// Writes the page's objects back into its content stream.
inline FPDF_BOOL (*FPDFPage_GenerateContent)(FPDF_PAGE page) = nullptr;
inline void (*FPDFPageObj_Destroy)(FPDF_PAGEOBJECT page_obj) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_HasTransparency)(FPDF_PAGEOBJECT page_object) = nullptr;
inline int (*FPDFPageObj_GetType)(FPDF_PAGEOBJECT page_object) = nullptr;
inline void (*FPDFPageObj_Transform)(FPDF_PAGEOBJECT page_object, double a, double b, double c, double d,
                                     double e, double f) = nullptr;
inline void (*FPDFPage_TransformAnnots)(FPDF_PAGE page, double a, double b, double c, double d, double e,
                                        double f) = nullptr;
inline FPDF_PAGEOBJECT (*FPDFPageObj_NewImageObj)(FPDF_DOCUMENT document) = nullptr;

// Content marks. Names and keys come back as UTF-16LE; out_buflen receives
// the size in bytes the value needs.
inline int (*FPDFPageObj_CountMarks)(FPDF_PAGEOBJECT page_object) = nullptr;
inline FPDF_PAGEOBJECTMARK (*FPDFPageObj_GetMark)(FPDF_PAGEOBJECT page_object, unsigned long index) = nullptr;
inline FPDF_PAGEOBJECTMARK (*FPDFPageObj_AddMark)(FPDF_PAGEOBJECT page_object,
                                                  FPDF_BYTESTRING name) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_RemoveMark)(FPDF_PAGEOBJECT page_object, FPDF_PAGEOBJECTMARK mark) = nullptr;
inline FPDF_BOOL (*FPDFPageObjMark_GetName)(FPDF_PAGEOBJECTMARK mark, void* buffer, unsigned long buflen,
                                            unsigned long* out_buflen) = nullptr;
inline int (*FPDFPageObjMark_CountParams)(FPDF_PAGEOBJECTMARK mark) = nullptr;
inline FPDF_BOOL (*FPDFPageObjMark_GetParamKey)(FPDF_PAGEOBJECTMARK mark, unsigned long index, void* buffer,
                                                unsigned long buflen, unsigned long* out_buflen) = nullptr;
inline FPDF_OBJECT_TYPE (*FPDFPageObjMark_GetParamValueType)(FPDF_PAGEOBJECTMARK mark,
                                                             FPDF_BYTESTRING key) = nullptr;
inline FPDF_BOOL (*FPDFPageObjMark_GetParamIntValue)(FPDF_PAGEOBJECTMARK mark, FPDF_BYTESTRING key,
                                                     int* out_value) = nullptr;
inline FPDF_BOOL (*FPDFPageObjMark_GetParamStringValue)(FPDF_PAGEOBJECTMARK mark, FPDF_BYTESTRING key,
                                                        void* buffer, unsigned long buflen,
                                                        unsigned long* out_buflen) = nullptr;
inline FPDF_BOOL (*FPDFPageObjMark_GetParamBlobValue)(FPDF_PAGEOBJECTMARK mark, FPDF_BYTESTRING key,
                                                      void* buffer, unsigned long buflen,
                                                      unsigned long* out_buflen) = nullptr;
inline FPDF_BOOL (*FPDFPageObjMark_SetIntParam)(FPDF_DOCUMENT document, FPDF_PAGEOBJECT page_object,
                                                FPDF_PAGEOBJECTMARK mark, FPDF_BYTESTRING key,
                                                int value) = nullptr;
inline FPDF_BOOL (*FPDFPageObjMark_SetStringParam)(FPDF_DOCUMENT document, FPDF_PAGEOBJECT page_object,
                                                   FPDF_PAGEOBJECTMARK mark, FPDF_BYTESTRING key,
                                                   FPDF_BYTESTRING value) = nullptr;
inline FPDF_BOOL (*FPDFPageObjMark_SetBlobParam)(FPDF_DOCUMENT document, FPDF_PAGEOBJECT page_object,
                                                 FPDF_PAGEOBJECTMARK mark, FPDF_BYTESTRING key, void* value,
                                                 unsigned long value_len) = nullptr;
inline FPDF_BOOL (*FPDFPageObjMark_RemoveParam)(FPDF_PAGEOBJECT page_object, FPDF_PAGEOBJECTMARK mark,
                                                FPDF_BYTESTRING key) = nullptr;

// Image objects. pages and count name the loaded pages whose cached copy of
// the image must be dropped; both may be empty.
inline FPDF_BOOL (*FPDFImageObj_LoadJpegFile)(FPDF_PAGE* pages, int count, FPDF_PAGEOBJECT image_object,
                                              FPDF_FILEACCESS* file_access) = nullptr;
// Copies the JPEG data, so file_access need not outlive the call.
inline FPDF_BOOL (*FPDFImageObj_LoadJpegFileInline)(FPDF_PAGE* pages, int count, FPDF_PAGEOBJECT image_object,
                                                    FPDF_FILEACCESS* file_access) = nullptr;
inline FPDF_BOOL (*FPDFImageObj_GetMatrix)(FPDF_PAGEOBJECT image_object, double* a, double* b, double* c,
                                           double* d, double* e, double* f) = nullptr;
inline FPDF_BOOL (*FPDFImageObj_SetMatrix)(FPDF_PAGEOBJECT image_object, double a, double b, double c,
                                           double d, double e, double f) = nullptr;
inline FPDF_BOOL (*FPDFImageObj_SetBitmap)(FPDF_PAGE* pages, int count, FPDF_PAGEOBJECT image_object,
                                           FPDF_BITMAP bitmap) = nullptr;
// The caller frees the bitmap with FPDFBitmap_Destroy.
inline FPDF_BITMAP (*FPDFImageObj_GetBitmap)(FPDF_PAGEOBJECT image_object) = nullptr;
// The image as drawn on the page, with its mask and the page's transformations applied.
inline FPDF_BITMAP (*FPDFImageObj_GetRenderedBitmap)(FPDF_DOCUMENT document, FPDF_PAGE page,
                                                     FPDF_PAGEOBJECT image) = nullptr;
inline unsigned long (*FPDFImageObj_GetImageDataDecoded)(FPDF_PAGEOBJECT image_object, void* buffer,
                                                         unsigned long buflen) = nullptr;
inline unsigned long (*FPDFImageObj_GetImageDataRaw)(FPDF_PAGEOBJECT image_object, void* buffer,
                                                     unsigned long buflen) = nullptr;
inline int (*FPDFImageObj_GetImageFilterCount)(FPDF_PAGEOBJECT image_object) = nullptr;
inline unsigned long (*FPDFImageObj_GetImageFilter)(FPDF_PAGEOBJECT image_object, int index, void* buffer,
                                                    unsigned long buflen) = nullptr;
inline FPDF_BOOL (*FPDFImageObj_GetImageMetadata)(FPDF_PAGEOBJECT image_object, FPDF_PAGE page,
                                                  FPDF_IMAGEOBJ_METADATA* metadata) = nullptr;

// Paths, colours and line styles. Colour components range from 0 to 255.
inline FPDF_PAGEOBJECT (*FPDFPageObj_CreateNewPath)(float x, float y) = nullptr;
inline FPDF_PAGEOBJECT (*FPDFPageObj_CreateNewRect)(float x, float y, float w, float h) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_GetBounds)(FPDF_PAGEOBJECT page_object, float* left, float* bottom,
                                          float* right, float* top) = nullptr;
inline void (*FPDFPageObj_SetBlendMode)(FPDF_PAGEOBJECT page_object, FPDF_BYTESTRING blend_mode) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_SetStrokeColor)(FPDF_PAGEOBJECT page_object, unsigned int R, unsigned int G,
                                               unsigned int B, unsigned int A) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_GetStrokeColor)(FPDF_PAGEOBJECT page_object, unsigned int* R, unsigned int* G,
                                               unsigned int* B, unsigned int* A) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_SetStrokeWidth)(FPDF_PAGEOBJECT page_object, float width) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_GetStrokeWidth)(FPDF_PAGEOBJECT page_object, float* width) = nullptr;
inline int (*FPDFPageObj_GetLineJoin)(FPDF_PAGEOBJECT page_object) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_SetLineJoin)(FPDF_PAGEOBJECT page_object, int line_join) = nullptr;
inline int (*FPDFPageObj_GetLineCap)(FPDF_PAGEOBJECT page_object) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_SetLineCap)(FPDF_PAGEOBJECT page_object, int line_cap) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_SetFillColor)(FPDF_PAGEOBJECT page_object, unsigned int R, unsigned int G,
                                             unsigned int B, unsigned int A) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_GetFillColor)(FPDF_PAGEOBJECT page_object, unsigned int* R, unsigned int* G,
                                             unsigned int* B, unsigned int* A) = nullptr;
inline int (*FPDFPath_CountSegments)(FPDF_PAGEOBJECT path) = nullptr;
inline FPDF_PATHSEGMENT (*FPDFPath_GetPathSegment)(FPDF_PAGEOBJECT path, int index) = nullptr;
inline FPDF_BOOL (*FPDFPathSegment_GetPoint)(FPDF_PATHSEGMENT segment, float* x, float* y) = nullptr;
inline int (*FPDFPathSegment_GetType)(FPDF_PATHSEGMENT segment) = nullptr;
inline FPDF_BOOL (*FPDFPathSegment_GetClose)(FPDF_PATHSEGMENT segment) = nullptr;
inline FPDF_BOOL (*FPDFPath_MoveTo)(FPDF_PAGEOBJECT path, float x, float y) = nullptr;
inline FPDF_BOOL (*FPDFPath_LineTo)(FPDF_PAGEOBJECT path, float x, float y) = nullptr;
inline FPDF_BOOL (*FPDFPath_BezierTo)(FPDF_PAGEOBJECT path, float x1, float y1, float x2, float y2, float x3,
                                      float y3) = nullptr;
inline FPDF_BOOL (*FPDFPath_Close)(FPDF_PAGEOBJECT path) = nullptr;
inline FPDF_BOOL (*FPDFPath_SetDrawMode)(FPDF_PAGEOBJECT path, int fillmode, FPDF_BOOL stroke) = nullptr;
inline FPDF_BOOL (*FPDFPath_GetDrawMode)(FPDF_PAGEOBJECT path, int* fillmode, FPDF_BOOL* stroke) = nullptr;
inline FPDF_BOOL (*FPDFPath_GetMatrix)(FPDF_PAGEOBJECT path, double* a, double* b, double* c, double* d,
                                       double* e, double* f) = nullptr;
inline FPDF_BOOL (*FPDFPath_SetMatrix)(FPDF_PAGEOBJECT path, double a, double b, double c, double d, double e,
                                       double f) = nullptr;

// Text objects and fonts.
inline FPDF_PAGEOBJECT (*FPDFPageObj_NewTextObj)(FPDF_DOCUMENT document, FPDF_BYTESTRING font,
                                                 float font_size) = nullptr;
inline FPDF_BOOL (*FPDFText_SetText)(FPDF_PAGEOBJECT text_object, FPDF_WIDESTRING text) = nullptr;
inline FPDF_FONT (*FPDFText_LoadFont)(FPDF_DOCUMENT document, const std::uint8_t* data, std::uint32_t size,
                                      int font_type, FPDF_BOOL cid) = nullptr;
inline FPDF_FONT (*FPDFText_LoadStandardFont)(FPDF_DOCUMENT document, FPDF_BYTESTRING font) = nullptr;
// Effective matrix of the character at index on a text page.
inline FPDF_BOOL (*FPDFText_GetMatrix)(FPDF_TEXTPAGE text_page, int index, FS_MATRIX* matrix) = nullptr;
inline FPDF_BOOL (*FPDFTextObj_GetFontSize)(FPDF_PAGEOBJECT text, float* size) = nullptr;
inline void (*FPDFFont_Close)(FPDF_FONT font) = nullptr;
inline FPDF_FONT (*FPDFTextObj_GetFont)(FPDF_PAGEOBJECT text) = nullptr;
inline size_t (*FPDFFont_GetBaseFontName)(FPDF_FONT font, char* buffer, size_t length) = nullptr;
inline int (*FPDFFont_GetIsEmbedded)(FPDF_FONT font) = nullptr;
inline FPDF_PAGEOBJECT (*FPDFPageObj_CreateTextObj)(FPDF_DOCUMENT document, FPDF_FONT font,
                                                    float font_size) = nullptr;
// One of the FPDF_TEXTRENDERMODE_ values, -1 on error.
inline int (*FPDFText_GetTextRenderMode)(FPDF_PAGEOBJECT text) = nullptr;
// Font name in UTF-8; size in bytes with the terminator.
inline unsigned long (*FPDFTextObj_GetFontName)(FPDF_PAGEOBJECT text, void* buffer,
                                                unsigned long length) = nullptr;
// Text in UTF-16LE; size in bytes with the terminator.
inline unsigned long (*FPDFTextObj_GetText)(FPDF_PAGEOBJECT text_object, FPDF_TEXTPAGE text_page,
                                            FPDF_WCHAR* buffer, unsigned long length) = nullptr;

// Form objects.
inline int (*FPDFFormObj_CountObjects)(FPDF_PAGEOBJECT form_object) = nullptr;
inline FPDF_PAGEOBJECT (*FPDFFormObj_GetObject)(FPDF_PAGEOBJECT form_object, unsigned long index) = nullptr;
inline FPDF_BOOL (*FPDFFormObj_GetMatrix)(FPDF_PAGEOBJECT form_object, double* a, double* b, double* c,
                                          double* d, double* e, double* f) = nullptr;

// Image data of a page object, each fetched in two calls: first with a null
// buffer for the sizes, then with a buffer of that size. GetImage delivers
// size bytes of image data; GetDIB delivers height rows of scanLineSize
// bytes at bpp bits per pixel, top row first.
inline FPDF_BOOL (*FPDFPageObj_GetImage)(FPDF_PAGEOBJECT object, int* height, int* width, unsigned int* size,
                                         void* buffer) = nullptr;
inline FPDF_BOOL (*FPDFPageObj_GetDIB)(FPDF_PAGEOBJECT object, int* height, int* width, int* bpp,
                                       int* scanLineSize, void* buffer) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFEDIT_ENTRY_POINTS(X)                                                                      \
    X(FPDF_CreateNewDocument)                                                                                \
    X(FPDFPage_New)                                                                                          \
    X(FPDFPage_Delete)                                                                                       \
    X(FPDFPage_GetRotation)                                                                                  \
    X(FPDFPage_SetRotation)                                                                                  \
    X(FPDFPage_InsertObject)                                                                                 \
    X(FPDFPage_RemoveObject)                                                                                 \
    X(FPDFPage_CountObjects)                                                                                 \
    X(FPDFPage_GetObject)                                                                                    \
    X(FPDFPage_HasTransparency)                                                                              \
    X(FPDFPage_GenerateContent)                                                                              \
    X(FPDFPageObj_Destroy)                                                                                   \
    X(FPDFPageObj_HasTransparency)                                                                           \
    X(FPDFPageObj_GetType)                                                                                   \
    X(FPDFPageObj_Transform)                                                                                 \
    X(FPDFPage_TransformAnnots)                                                                              \
    X(FPDFPageObj_NewImageObj)                                                                               \
    X(FPDFPageObj_CountMarks)                                                                                \
    X(FPDFPageObj_GetMark)                                                                                   \
    X(FPDFPageObj_AddMark)                                                                                   \
    X(FPDFPageObj_RemoveMark)                                                                                \
    X(FPDFPageObjMark_GetName)                                                                               \
    X(FPDFPageObjMark_CountParams)                                                                           \
    X(FPDFPageObjMark_GetParamKey)                                                                           \
    X(FPDFPageObjMark_GetParamValueType)                                                                     \
    X(FPDFPageObjMark_GetParamIntValue)                                                                      \
    X(FPDFPageObjMark_GetParamStringValue)                                                                   \
    X(FPDFPageObjMark_GetParamBlobValue)                                                                     \
    X(FPDFPageObjMark_SetIntParam)                                                                           \
    X(FPDFPageObjMark_SetStringParam)                                                                        \
    X(FPDFPageObjMark_SetBlobParam)                                                                          \
    X(FPDFPageObjMark_RemoveParam)                                                                           \
    X(FPDFImageObj_LoadJpegFile)                                                                             \
    X(FPDFImageObj_LoadJpegFileInline)                                                                       \
    X(FPDFImageObj_GetMatrix)                                                                                \
    X(FPDFImageObj_SetMatrix)                                                                                \
    X(FPDFImageObj_SetBitmap)                                                                                \
    X(FPDFImageObj_GetBitmap)                                                                                \
    X(FPDFImageObj_GetRenderedBitmap)                                                                        \
    X(FPDFImageObj_GetImageDataDecoded)                                                                      \
    X(FPDFImageObj_GetImageDataRaw)                                                                          \
    X(FPDFImageObj_GetImageFilterCount)                                                                      \
    X(FPDFImageObj_GetImageFilter)                                                                           \
    X(FPDFImageObj_GetImageMetadata)                                                                         \
    X(FPDFPageObj_CreateNewPath)                                                                             \
    X(FPDFPageObj_CreateNewRect)                                                                             \
    X(FPDFPageObj_GetBounds)                                                                                 \
    X(FPDFPageObj_SetBlendMode)                                                                              \
    X(FPDFPageObj_SetStrokeColor)                                                                            \
    X(FPDFPageObj_GetStrokeColor)                                                                            \
    X(FPDFPageObj_SetStrokeWidth)                                                                            \
    X(FPDFPageObj_GetStrokeWidth)                                                                            \
    X(FPDFPageObj_GetLineJoin)                                                                               \
    X(FPDFPageObj_SetLineJoin)                                                                               \
    X(FPDFPageObj_GetLineCap)                                                                                \
    X(FPDFPageObj_SetLineCap)                                                                                \
    X(FPDFPageObj_SetFillColor)                                                                              \
    X(FPDFPageObj_GetFillColor)                                                                              \
    X(FPDFPath_CountSegments)                                                                                \
    X(FPDFPath_GetPathSegment)                                                                               \
    X(FPDFPathSegment_GetPoint)                                                                              \
    X(FPDFPathSegment_GetType)                                                                               \
    X(FPDFPathSegment_GetClose)                                                                              \
    X(FPDFPath_MoveTo)                                                                                       \
    X(FPDFPath_LineTo)                                                                                       \
    X(FPDFPath_BezierTo)                                                                                     \
    X(FPDFPath_Close)                                                                                        \
    X(FPDFPath_SetDrawMode)                                                                                  \
    X(FPDFPath_GetDrawMode)                                                                                  \
    X(FPDFPath_GetMatrix)                                                                                    \
    X(FPDFPath_SetMatrix)                                                                                    \
    X(FPDFPageObj_NewTextObj)                                                                                \
    X(FPDFText_SetText)                                                                                      \
    X(FPDFText_LoadFont)                                                                                     \
    X(FPDFText_LoadStandardFont)                                                                             \
    X(FPDFText_GetMatrix)                                                                                    \
    X(FPDFTextObj_GetFontSize)                                                                               \
    X(FPDFFont_Close)                                                                                        \
    X(FPDFTextObj_GetFont)                                                                                   \
    X(FPDFFont_GetBaseFontName)                                                                              \
    X(FPDFFont_GetIsEmbedded)                                                                                \
    X(FPDFPageObj_CreateTextObj)                                                                             \
    X(FPDFText_GetTextRenderMode)                                                                            \
    X(FPDFTextObj_GetFontName)                                                                               \
    X(FPDFTextObj_GetText)                                                                                   \
    X(FPDFFormObj_CountObjects)                                                                              \
    X(FPDFFormObj_GetObject)                                                                                 \
    X(FPDFFormObj_GetMatrix)                                                                                 \
    X(FPDFPageObj_GetImage)                                                                                  \
    X(FPDFPageObj_GetDIB)
