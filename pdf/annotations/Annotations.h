// The annotations of a page, read, written, created and deleted through the flat TPdfAnnotation record. Every
// engine annotation handle opened here is closed before the routine returns, on the error paths too.
#pragma once

#include "pdf/PdfAnnotationTypes.h"
#include "pdf/binding/EngineHandles.h"
#include "pdf/engine/FPdfAnnot.h"

#include <QString>

namespace PDFium {

using OwnedAnnotation = std::unique_ptr<fpdf_annotation_t__, EngineDeleter<FPDFPage_CloseAnnot>>;

// Raises "Incorrect index" unless Index addresses an annotation of Page.
void CheckAnnotationIndex(FPDF_PAGE Page, int Index);
// The annotation Index of Page, opened; raises "Cannot retrieve annotation" when the engine gives none.
OwnedAnnotation OpenAnnotation(FPDF_PAGE Page, int Index);
// The UTF-16 text under Key of the annotation's dictionary; empty when it has none.
QString AnnotationText(FPDF_ANNOTATION Annotation, const char* Key);

using FormFieldTextGetter = unsigned long (*)(FPDF_FORMHANDLE, FPDF_ANNOTATION, FPDF_WCHAR*, unsigned long);
// A text that the engine's form reads from the field of a widget annotation, wherever the field sits; empty
// where the engine lacks the getter (Getter is null) or the form-fill environment is missing.
QString FormFieldText(FormFieldTextGetter Getter, FPDF_FORMHANDLE Form, FPDF_ANNOTATION Widget);

// Annotation Index of Page, page PageIndex of Document (from 0).
TPdfAnnotation GetAnnotation(FPDF_DOCUMENT Document, int PageIndex, FPDF_PAGE Page, int Index);
// Writes the record into annotation Index of Page, page PageIndex of Document: only the entries that differ
// from what the annotation holds, so that the others stay as they were. A colour that changes takes the
// appearance away where the annotation is drawn from its entries, and is refused where it is not.
void SetAnnotation(FPDF_DOCUMENT Document, int PageIndex, FPDF_PAGE Page, int Index,
                   const TPdfAnnotation& Value);
void CreateAnnotation(FPDF_PAGE Page, const TPdfAnnotation& Annotation);
void DeleteAnnotation(FPDF_PAGE Page, int Index);
// Writes the record into an open annotation: flags (the nine known bits; higher ones are cleared), the
// colours and attachment points whose Has flag is set, the rectangle and both texts. An empty text is not
// added where the annotation has no such entry, so that a widget of a field never gains a name of its own.
void SetAnnotationData(FPDF_ANNOTATION Annotation, const TPdfAnnotation& Value);

} // namespace PDFium
