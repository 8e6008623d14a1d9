#pragma once

// Embedded files of a document: listing, adding and deleting them, their
// names, parameters and contents.

#include "FPdfView.h"

namespace PDFium {

// Attachment handles stay valid while the document is open.
inline int (*FPDFDoc_GetAttachmentCount)(FPDF_DOCUMENT document) = nullptr;
inline FPDF_ATTACHMENT (*FPDFDoc_AddAttachment)(FPDF_DOCUMENT document, FPDF_WIDESTRING name) = nullptr;
inline FPDF_ATTACHMENT (*FPDFDoc_GetAttachment)(FPDF_DOCUMENT document, int index) = nullptr;
inline FPDF_BOOL (*FPDFDoc_DeleteAttachment)(FPDF_DOCUMENT document, int index) = nullptr;

// Names and string values are UTF-16LE, sizes in bytes with the terminator;
// keys are UTF-8.
inline unsigned long (*FPDFAttachment_GetName)(FPDF_ATTACHMENT attachment, FPDF_WCHAR* buffer,
                                               unsigned long buflen) = nullptr;
inline FPDF_BOOL (*FPDFAttachment_HasKey)(FPDF_ATTACHMENT attachment, FPDF_BYTESTRING key) = nullptr;
inline FPDF_OBJECT_TYPE (*FPDFAttachment_GetValueType)(FPDF_ATTACHMENT attachment,
                                                       FPDF_BYTESTRING key) = nullptr;
inline FPDF_BOOL (*FPDFAttachment_SetStringValue)(FPDF_ATTACHMENT attachment, FPDF_BYTESTRING key,
                                                  FPDF_WIDESTRING value) = nullptr;
inline unsigned long (*FPDFAttachment_GetStringValue)(FPDF_ATTACHMENT attachment, FPDF_BYTESTRING key,
                                                      FPDF_WCHAR* buffer, unsigned long buflen) = nullptr;

// File contents. GetFile puts the size the data needs into out_buflen and
// fills buffer only when buflen is large enough.
inline FPDF_BOOL (*FPDFAttachment_SetFile)(FPDF_ATTACHMENT attachment, FPDF_DOCUMENT document,
                                           const void* contents, unsigned long len) = nullptr;
inline FPDF_BOOL (*FPDFAttachment_GetFile)(FPDF_ATTACHMENT attachment, void* buffer, unsigned long buflen,
                                           unsigned long* out_buflen) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFATTACHMENT_ENTRY_POINTS(X)                                                                \
    X(FPDFDoc_GetAttachmentCount)                                                                            \
    X(FPDFDoc_AddAttachment)                                                                                 \
    X(FPDFDoc_GetAttachment)                                                                                 \
    X(FPDFDoc_DeleteAttachment)                                                                              \
    X(FPDFAttachment_GetName)                                                                                \
    X(FPDFAttachment_HasKey)                                                                                 \
    X(FPDFAttachment_GetValueType)                                                                           \
    X(FPDFAttachment_SetStringValue)                                                                         \
    X(FPDFAttachment_GetStringValue)                                                                         \
    X(FPDFAttachment_SetFile)                                                                                \
    X(FPDFAttachment_GetFile)
