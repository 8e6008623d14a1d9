// Every engine entry point, in the order the binding resolves them: the twenty engine interface units, and
// one list of all their names.
#pragma once

#include "pdf/engine/FPdfAnnot.h"
#include "pdf/engine/FPdfAttachment.h"
#include "pdf/engine/FPdfCatalog.h"
#include "pdf/engine/FPdfDataAvail.h"
#include "pdf/engine/FPdfDoc.h"
#include "pdf/engine/FPdfEdit.h"
#include "pdf/engine/FPdfExt.h"
#include "pdf/engine/FPdfFlatten.h"
#include "pdf/engine/FPdfFormFill.h"
#include "pdf/engine/FPdfPpo.h"
#include "pdf/engine/FPdfProgressive.h"
#include "pdf/engine/FPdfSave.h"
#include "pdf/engine/FPdfSearchEx.h"
#include "pdf/engine/FPdfStructTree.h"
#include "pdf/engine/FPdfSysFontInfo.h"
#include "pdf/engine/FPdfText.h"
#include "pdf/engine/FPdfThumbnail.h"
#include "pdf/engine/FPdfTransformPage.h"
#include "pdf/engine/FPdfView.h"

// Every entry point in lookup order, header by header.
#define PDFIUM_ALL_ENTRY_POINTS(X)                                                                           \
    PDFIUM_FPDFVIEW_ENTRY_POINTS(X)                                                                          \
    PDFIUM_FPDFTEXT_ENTRY_POINTS(X)                                                                          \
    PDFIUM_FPDFPPO_ENTRY_POINTS(X)                                                                           \
    PDFIUM_FPDFSYSFONTINFO_ENTRY_POINTS(X)                                                                   \
    PDFIUM_FPDFSAVE_ENTRY_POINTS(X)                                                                          \
    PDFIUM_FPDFDOC_ENTRY_POINTS(X)                                                                           \
    PDFIUM_FPDFDATAAVAIL_ENTRY_POINTS(X)                                                                     \
    PDFIUM_FPDFPROGRESSIVE_ENTRY_POINTS(X)                                                                   \
    PDFIUM_FPDFTRANSFORMPAGE_ENTRY_POINTS(X)                                                                 \
    PDFIUM_FPDFEXT_ENTRY_POINTS(X)                                                                           \
    PDFIUM_FPDFEDIT_ENTRY_POINTS(X)                                                                          \
    PDFIUM_FPDFFORMFILL_ENTRY_POINTS(X)                                                                      \
    PDFIUM_FPDFSEARCHEX_ENTRY_POINTS(X)                                                                      \
    PDFIUM_FPDFFLATTEN_ENTRY_POINTS(X)                                                                       \
    PDFIUM_FPDFSTRUCTTREE_ENTRY_POINTS(X)                                                                    \
    PDFIUM_FPDFANNOT_ENTRY_POINTS(X)                                                                         \
    PDFIUM_FPDFATTACHMENT_ENTRY_POINTS(X)                                                                    \
    PDFIUM_FPDFCATALOG_ENTRY_POINTS(X)                                                                       \
    PDFIUM_FPDFTHUMBNAIL_ENTRY_POINTS(X)
