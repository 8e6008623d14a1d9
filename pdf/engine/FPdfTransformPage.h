#pragma once

// Page boxes and page transformation: setting and reading the media, crop,
// bleed, trim and art boxes, transforming a page with a clip, and reading or
// inserting clip paths.

#include "FPdfView.h"

namespace PDFium {

// Page boxes, as left, bottom, right, top.
inline void (*FPDFPage_SetMediaBox)(FPDF_PAGE page, float left, float bottom, float right,
                                    float top) = nullptr;
inline void (*FPDFPage_SetCropBox)(FPDF_PAGE page, float left, float bottom, float right,
                                   float top) = nullptr;
inline void (*FPDFPage_SetBleedBox)(FPDF_PAGE page, float left, float bottom, float right,
                                    float top) = nullptr;
inline void (*FPDFPage_SetTrimBox)(FPDF_PAGE page, float left, float bottom, float right,
                                   float top) = nullptr;
inline void (*FPDFPage_SetArtBox)(FPDF_PAGE page, float left, float bottom, float right, float top) = nullptr;
inline FPDF_BOOL (*FPDFPage_GetMediaBox)(FPDF_PAGE page, float* left, float* bottom, float* right,
                                         float* top) = nullptr;
inline FPDF_BOOL (*FPDFPage_GetCropBox)(FPDF_PAGE page, float* left, float* bottom, float* right,
                                        float* top) = nullptr;
inline FPDF_BOOL (*FPDFPage_GetBleedBox)(FPDF_PAGE page, float* left, float* bottom, float* right,
                                         float* top) = nullptr;
inline FPDF_BOOL (*FPDFPage_GetTrimBox)(FPDF_PAGE page, float* left, float* bottom, float* right,
                                        float* top) = nullptr;
inline FPDF_BOOL (*FPDFPage_GetArtBox)(FPDF_PAGE page, float* left, float* bottom, float* right,
                                       float* top) = nullptr;

// Transformation of the whole page; either argument may be null.
inline FPDF_BOOL (*FPDFPage_TransFormWithClip)(FPDF_PAGE page, const FS_MATRIX* matrix,
                                               const FS_RECTF* clipRect) = nullptr;

// Clip paths. Paths and segments returned by the getters belong to the page.
inline void (*FPDFPageObj_TransformClipPath)(FPDF_PAGEOBJECT page_object, double a, double b, double c,
                                             double d, double e, double f) = nullptr;
inline FPDF_CLIPPATH (*FPDFPageObj_GetClipPath)(FPDF_PAGEOBJECT page_object) = nullptr;
inline int (*FPDFClipPath_CountPaths)(FPDF_CLIPPATH clip_path) = nullptr;
inline int (*FPDFClipPath_CountPathSegments)(FPDF_CLIPPATH clip_path, int path_index) = nullptr;
inline FPDF_PATHSEGMENT (*FPDFClipPath_GetPathSegment)(FPDF_CLIPPATH clip_path, int path_index,
                                                       int segment_index) = nullptr;
// A rectangular clip path owned by the caller until FPDF_DestroyClipPath.
inline FPDF_CLIPPATH (*FPDF_CreateClipPath)(float left, float bottom, float right, float top) = nullptr;
inline void (*FPDF_DestroyClipPath)(FPDF_CLIPPATH clipPath) = nullptr;
inline void (*FPDFPage_InsertClipPath)(FPDF_PAGE page, FPDF_CLIPPATH clipPath) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFTRANSFORMPAGE_ENTRY_POINTS(X)                                                             \
    X(FPDFPage_SetMediaBox)                                                                                  \
    X(FPDFPage_SetCropBox)                                                                                   \
    X(FPDFPage_SetBleedBox)                                                                                  \
    X(FPDFPage_SetTrimBox)                                                                                   \
    X(FPDFPage_SetArtBox)                                                                                    \
    X(FPDFPage_GetMediaBox)                                                                                  \
    X(FPDFPage_GetCropBox)                                                                                   \
    X(FPDFPage_GetBleedBox)                                                                                  \
    X(FPDFPage_GetTrimBox)                                                                                   \
    X(FPDFPage_GetArtBox)                                                                                    \
    X(FPDFPage_TransFormWithClip)                                                                            \
    X(FPDFPageObj_TransformClipPath)                                                                         \
    X(FPDFPageObj_GetClipPath)                                                                               \
    X(FPDFClipPath_CountPaths)                                                                               \
    X(FPDFClipPath_CountPathSegments)                                                                        \
    X(FPDFClipPath_GetPathSegment)                                                                           \
    X(FPDF_CreateClipPath)                                                                                   \
    X(FPDF_DestroyClipPath)                                                                                  \
    X(FPDFPage_InsertClipPath)
