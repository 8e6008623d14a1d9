#pragma once

// Structure tree of a tagged page: its elements, their children, alternate
// texts, types, titles and marked content IDs.

#include "FPdfView.h"

namespace PDFium {

// The tree belongs to the caller until FPDF_StructTree_Close.
inline FPDF_STRUCTTREE (*FPDF_StructTree_GetForPage)(FPDF_PAGE page) = nullptr;
inline void (*FPDF_StructTree_Close)(FPDF_STRUCTTREE struct_tree) = nullptr;
inline int (*FPDF_StructTree_CountChildren)(FPDF_STRUCTTREE struct_tree) = nullptr;
inline FPDF_STRUCTELEMENT (*FPDF_StructTree_GetChildAtIndex)(FPDF_STRUCTTREE struct_tree,
                                                             int index) = nullptr;

// Element texts are UTF-16LE, sizes in bytes with the terminator.
inline unsigned long (*FPDF_StructElement_GetAltText)(FPDF_STRUCTELEMENT struct_element, void* buffer,
                                                      unsigned long buflen) = nullptr;
// -1 when the element has no marked content ID.
inline int (*FPDF_StructElement_GetMarkedContentID)(FPDF_STRUCTELEMENT struct_element) = nullptr;
inline unsigned long (*FPDF_StructElement_GetType)(FPDF_STRUCTELEMENT struct_element, void* buffer,
                                                   unsigned long buflen) = nullptr;
inline unsigned long (*FPDF_StructElement_GetTitle)(FPDF_STRUCTELEMENT struct_element, void* buffer,
                                                    unsigned long buflen) = nullptr;
inline int (*FPDF_StructElement_CountChildren)(FPDF_STRUCTELEMENT struct_element) = nullptr;
inline FPDF_STRUCTELEMENT (*FPDF_StructElement_GetChildAtIndex)(FPDF_STRUCTELEMENT struct_element,
                                                                int index) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFSTRUCTTREE_ENTRY_POINTS(X)                                                                \
    X(FPDF_StructTree_GetForPage)                                                                            \
    X(FPDF_StructTree_Close)                                                                                 \
    X(FPDF_StructTree_CountChildren)                                                                         \
    X(FPDF_StructTree_GetChildAtIndex)                                                                       \
    X(FPDF_StructElement_GetAltText)                                                                         \
    X(FPDF_StructElement_GetMarkedContentID)                                                                 \
    X(FPDF_StructElement_GetType)                                                                            \
    X(FPDF_StructElement_GetTitle)                                                                           \
    X(FPDF_StructElement_CountChildren)                                                                      \
    X(FPDF_StructElement_GetChildAtIndex)
