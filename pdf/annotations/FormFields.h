// Form-field values and flags of a page, addressed by annotation index: form field n is annotation n. Values
// are the "V" entry, read and written directly, so no form-fill environment is needed; only the flag query
// hands the environment's handle to the engine.
#pragma once

#include "pdf/PdfAnnotationTypes.h"
#include "pdf/engine/FPdfView.h"

namespace PDFium {

// The value of the field that annotation Index belongs to: its own "V", or, for a widget that is no field of
// its own (no name, a parent), its parent field's, where the value of such a field lives.
QString GetFormField(FPDF_PAGE Page, int Index);
// Writes "V" where GetFormField reads it; refuses a widget whose parent field the engine does not reach.
// The drawn appearance is not regenerated.
void SetFormField(FPDF_PAGE Page, int Index, const QString& Value);
TPdfFormFieldFlags GetFormFieldFlags(FPDF_FORMHANDLE FormHandle, FPDF_PAGE Page, int Index);

} // namespace PDFium
