#pragma once

// Annotations of a page: creating, finding and removing them, their subtype,
// objects, colours, attachment points, rectangle, dictionary values,
// appearance streams and flags, and the form-field view of widget
// annotations.

#include "FPdfFormFill.h"
#include "FPdfView.h"

#include <cstddef>

namespace PDFium {

// Subtypes.
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_UNKNOWN = 0;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_TEXT = 1;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_LINK = 2;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_FREETEXT = 3;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_LINE = 4;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_SQUARE = 5;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_CIRCLE = 6;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_POLYGON = 7;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_POLYLINE = 8;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_HIGHLIGHT = 9;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_UNDERLINE = 10;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_SQUIGGLY = 11;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_STRIKEOUT = 12;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_STAMP = 13;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_CARET = 14;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_INK = 15;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_POPUP = 16;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_FILEATTACHMENT = 17;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_SOUND = 18;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_MOVIE = 19;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_WIDGET = 20;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_SCREEN = 21;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_PRINTERMARK = 22;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_TRAPNET = 23;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_WATERMARK = 24;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_THREED = 25;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_RICHMEDIA = 26;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_XFAWIDGET = 27;
constexpr FPDF_ANNOTATION_SUBTYPE FPDF_ANNOT_REDACT = 28;

// Annotation flags.
constexpr int FPDF_ANNOT_FLAG_NONE = 0;
constexpr int FPDF_ANNOT_FLAG_INVISIBLE = 1 << 0;
constexpr int FPDF_ANNOT_FLAG_HIDDEN = 1 << 1;
constexpr int FPDF_ANNOT_FLAG_PRINT = 1 << 2;
constexpr int FPDF_ANNOT_FLAG_NOZOOM = 1 << 3;
constexpr int FPDF_ANNOT_FLAG_NOROTATE = 1 << 4;
constexpr int FPDF_ANNOT_FLAG_NOVIEW = 1 << 5;
constexpr int FPDF_ANNOT_FLAG_READONLY = 1 << 6;
constexpr int FPDF_ANNOT_FLAG_LOCKED = 1 << 7;
constexpr int FPDF_ANNOT_FLAG_TOGGLENOVIEW = 1 << 8;

// Appearance modes.
constexpr FPDF_ANNOT_APPEARANCEMODE FPDF_ANNOT_APPEARANCEMODE_NORMAL = 0;
constexpr FPDF_ANNOT_APPEARANCEMODE FPDF_ANNOT_APPEARANCEMODE_ROLLOVER = 1;
constexpr FPDF_ANNOT_APPEARANCEMODE FPDF_ANNOT_APPEARANCEMODE_DOWN = 2;
constexpr FPDF_ANNOT_APPEARANCEMODE FPDF_ANNOT_APPEARANCEMODE_COUNT = 3;

// Field flags of interactive form fields: common, text and choice fields.
constexpr int FPDF_FORMFLAG_NONE = 0;
constexpr int FPDF_FORMFLAG_READONLY = 1 << 0;
constexpr int FPDF_FORMFLAG_REQUIRED = 1 << 1;
constexpr int FPDF_FORMFLAG_NOEXPORT = 1 << 2;
constexpr int FPDF_FORMFLAG_TEXT_MULTILINE = 1 << 12;
constexpr int FPDF_FORMFLAG_TEXT_PASSWORD = 1 << 13;
constexpr int FPDF_FORMFLAG_CHOICE_COMBO = 1 << 17;
constexpr int FPDF_FORMFLAG_CHOICE_EDIT = 1 << 18;
constexpr int FPDF_FORMFLAG_CHOICE_MULTI_SELECT = 1 << 21;

// Additional actions of form fields: keystroke, format, validate, calculate.
constexpr int FPDF_ANNOT_AACTION_KEY_STROKE = 12;
constexpr int FPDF_ANNOT_AACTION_FORMAT = 13;
constexpr int FPDF_ANNOT_AACTION_VALIDATE = 14;
constexpr int FPDF_ANNOT_AACTION_CALCULATE = 15;

// Which colour FPDFAnnot_SetColor and FPDFAnnot_GetColor address.
enum FPDFANNOT_COLORTYPE { FPDFANNOT_COLORTYPE_Color = 0, FPDFANNOT_COLORTYPE_InteriorColor };

// Annotations of a page. Every handle obtained here is released with
// FPDFPage_CloseAnnot, which leaves the annotation in the document.
inline FPDF_BOOL (*FPDFAnnot_IsSupportedSubtype)(FPDF_ANNOTATION_SUBTYPE subtype) = nullptr;
inline FPDF_ANNOTATION (*FPDFPage_CreateAnnot)(FPDF_PAGE page, FPDF_ANNOTATION_SUBTYPE subtype) = nullptr;
inline int (*FPDFPage_GetAnnotCount)(FPDF_PAGE page) = nullptr;
inline FPDF_ANNOTATION (*FPDFPage_GetAnnot)(FPDF_PAGE page, int index) = nullptr;
inline int (*FPDFPage_GetAnnotIndex)(FPDF_PAGE page, FPDF_ANNOTATION annot) = nullptr;
inline void (*FPDFPage_CloseAnnot)(FPDF_ANNOTATION annot) = nullptr;
inline FPDF_BOOL (*FPDFPage_RemoveAnnot)(FPDF_PAGE page, int index) = nullptr;
inline FPDF_ANNOTATION_SUBTYPE (*FPDFAnnot_GetSubtype)(FPDF_ANNOTATION annot) = nullptr;

// Page objects inside an annotation's appearance.
inline FPDF_BOOL (*FPDFAnnot_IsObjectSupportedSubtype)(FPDF_ANNOTATION_SUBTYPE subtype) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_UpdateObject)(FPDF_ANNOTATION annot, FPDF_PAGEOBJECT obj) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_AppendObject)(FPDF_ANNOTATION annot, FPDF_PAGEOBJECT obj) = nullptr;
inline int (*FPDFAnnot_GetObjectCount)(FPDF_ANNOTATION annot) = nullptr;
inline FPDF_PAGEOBJECT (*FPDFAnnot_GetObject)(FPDF_ANNOTATION annot, int index) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_RemoveObject)(FPDF_ANNOTATION annot, int index) = nullptr;

// Colour, components 0 to 255.
inline FPDF_BOOL (*FPDFAnnot_SetColor)(FPDF_ANNOTATION annot, FPDFANNOT_COLORTYPE type, unsigned int R,
                                       unsigned int G, unsigned int B, unsigned int A) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_GetColor)(FPDF_ANNOTATION annot, FPDFANNOT_COLORTYPE type, unsigned int* R,
                                       unsigned int* G, unsigned int* B, unsigned int* A) = nullptr;

// Attachment points (quadrilaterals) and the rectangle.
inline FPDF_BOOL (*FPDFAnnot_HasAttachmentPoints)(FPDF_ANNOTATION annot) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_SetAttachmentPoints)(FPDF_ANNOTATION annot, std::size_t quad_index,
                                                  const FS_QUADPOINTSF* quad_points) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_AppendAttachmentPoints)(FPDF_ANNOTATION annot,
                                                     const FS_QUADPOINTSF* quad_points) = nullptr;
inline std::size_t (*FPDFAnnot_CountAttachmentPoints)(FPDF_ANNOTATION annot) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_GetAttachmentPoints)(FPDF_ANNOTATION annot, std::size_t quad_index,
                                                  FS_QUADPOINTSF* quad_points) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_SetRect)(FPDF_ANNOTATION annot, const FS_RECTF* rect) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_GetRect)(FPDF_ANNOTATION annot, FS_RECTF* rect) = nullptr;

// Dictionary entries. Keys are UTF-8; string values and appearance streams
// are UTF-16LE, sizes in bytes with the terminator.
inline FPDF_BOOL (*FPDFAnnot_HasKey)(FPDF_ANNOTATION annot, FPDF_BYTESTRING key) = nullptr;
inline FPDF_OBJECT_TYPE (*FPDFAnnot_GetValueType)(FPDF_ANNOTATION annot, FPDF_BYTESTRING key) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_SetStringValue)(FPDF_ANNOTATION annot, FPDF_BYTESTRING key,
                                             FPDF_WIDESTRING value) = nullptr;
inline unsigned long (*FPDFAnnot_GetStringValue)(FPDF_ANNOTATION annot, FPDF_BYTESTRING key,
                                                 FPDF_WCHAR* buffer, unsigned long buflen) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_GetNumberValue)(FPDF_ANNOTATION annot, FPDF_BYTESTRING key,
                                             float* value) = nullptr;
// A null value removes the appearance stream of that mode.
inline FPDF_BOOL (*FPDFAnnot_SetAP)(FPDF_ANNOTATION annot, FPDF_ANNOT_APPEARANCEMODE appearanceMode,
                                    FPDF_WIDESTRING value) = nullptr;
inline unsigned long (*FPDFAnnot_GetAP)(FPDF_ANNOTATION annot, FPDF_ANNOT_APPEARANCEMODE appearanceMode,
                                        FPDF_WCHAR* buffer, unsigned long buflen) = nullptr;
inline FPDF_ANNOTATION (*FPDFAnnot_GetLinkedAnnot)(FPDF_ANNOTATION annot, FPDF_BYTESTRING key) = nullptr;
inline int (*FPDFAnnot_GetFlags)(FPDF_ANNOTATION annot) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_SetFlags)(FPDF_ANNOTATION annot, int flags) = nullptr;

// Widget annotations as form fields.
inline int (*FPDFAnnot_GetFormFieldFlags)(FPDF_FORMHANDLE handle, FPDF_ANNOTATION annot) = nullptr;
inline FPDF_ANNOTATION (*FPDFAnnot_GetFormFieldAtPoint)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page,
                                                        const FS_POINTF* point) = nullptr;
inline int (*FPDFAnnot_GetOptionCount)(FPDF_FORMHANDLE hHandle, FPDF_ANNOTATION annot) = nullptr;
inline unsigned long (*FPDFAnnot_GetOptionLabel)(FPDF_FORMHANDLE hHandle, FPDF_ANNOTATION annot, int index,
                                                 FPDF_WCHAR* buffer, unsigned long buflen) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_IsOptionSelected)(FPDF_FORMHANDLE handle, FPDF_ANNOTATION annot,
                                               int index) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_GetFontSize)(FPDF_FORMHANDLE hHandle, FPDF_ANNOTATION annot,
                                          float* value) = nullptr;
inline FPDF_BOOL (*FPDFAnnot_IsChecked)(FPDF_FORMHANDLE hHandle, FPDF_ANNOTATION annot) = nullptr;
// The field's full name, value and export value (UTF-16LE, sizes in bytes with the terminator) and its
// FPDF_FORMFIELD_ type, read from the field itself, parents that are no annotation included.
inline unsigned long (*FPDFAnnot_GetFormFieldName)(FPDF_FORMHANDLE hHandle, FPDF_ANNOTATION annot,
                                                   FPDF_WCHAR* buffer, unsigned long buflen) = nullptr;
inline int (*FPDFAnnot_GetFormFieldType)(FPDF_FORMHANDLE hHandle, FPDF_ANNOTATION annot) = nullptr;
inline unsigned long (*FPDFAnnot_GetFormFieldValue)(FPDF_FORMHANDLE hHandle, FPDF_ANNOTATION annot,
                                                    FPDF_WCHAR* buffer, unsigned long buflen) = nullptr;
inline unsigned long (*FPDFAnnot_GetFormFieldExportValue)(FPDF_FORMHANDLE hHandle, FPDF_ANNOTATION annot,
                                                          FPDF_WCHAR* buffer, unsigned long buflen) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFANNOT_ENTRY_POINTS(X)                                                                     \
    X(FPDFAnnot_IsSupportedSubtype)                                                                          \
    X(FPDFPage_CreateAnnot)                                                                                  \
    X(FPDFPage_GetAnnotCount)                                                                                \
    X(FPDFPage_GetAnnot)                                                                                     \
    X(FPDFPage_GetAnnotIndex)                                                                                \
    X(FPDFPage_CloseAnnot)                                                                                   \
    X(FPDFPage_RemoveAnnot)                                                                                  \
    X(FPDFAnnot_GetSubtype)                                                                                  \
    X(FPDFAnnot_IsObjectSupportedSubtype)                                                                    \
    X(FPDFAnnot_UpdateObject)                                                                                \
    X(FPDFAnnot_AppendObject)                                                                                \
    X(FPDFAnnot_GetObjectCount)                                                                              \
    X(FPDFAnnot_GetObject)                                                                                   \
    X(FPDFAnnot_RemoveObject)                                                                                \
    X(FPDFAnnot_SetColor)                                                                                    \
    X(FPDFAnnot_GetColor)                                                                                    \
    X(FPDFAnnot_HasAttachmentPoints)                                                                         \
    X(FPDFAnnot_SetAttachmentPoints)                                                                         \
    X(FPDFAnnot_AppendAttachmentPoints)                                                                      \
    X(FPDFAnnot_CountAttachmentPoints)                                                                       \
    X(FPDFAnnot_GetAttachmentPoints)                                                                         \
    X(FPDFAnnot_SetRect)                                                                                     \
    X(FPDFAnnot_GetRect)                                                                                     \
    X(FPDFAnnot_HasKey)                                                                                      \
    X(FPDFAnnot_GetValueType)                                                                                \
    X(FPDFAnnot_SetStringValue)                                                                              \
    X(FPDFAnnot_GetStringValue)                                                                              \
    X(FPDFAnnot_GetNumberValue)                                                                              \
    X(FPDFAnnot_SetAP)                                                                                       \
    X(FPDFAnnot_GetAP)                                                                                       \
    X(FPDFAnnot_GetLinkedAnnot)                                                                              \
    X(FPDFAnnot_GetFlags)                                                                                    \
    X(FPDFAnnot_SetFlags)                                                                                    \
    X(FPDFAnnot_GetFormFieldFlags)                                                                           \
    X(FPDFAnnot_GetFormFieldAtPoint)                                                                         \
    X(FPDFAnnot_GetOptionCount)                                                                              \
    X(FPDFAnnot_GetOptionLabel)                                                                              \
    X(FPDFAnnot_IsOptionSelected)                                                                            \
    X(FPDFAnnot_GetFontSize)                                                                                 \
    X(FPDFAnnot_IsChecked)                                                                                   \
    X(FPDFAnnot_GetFormFieldName)                                                                            \
    X(FPDFAnnot_GetFormFieldType)                                                                            \
    X(FPDFAnnot_GetFormFieldValue)                                                                           \
    X(FPDFAnnot_GetFormFieldExportValue)
