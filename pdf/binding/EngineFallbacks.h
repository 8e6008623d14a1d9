// Our own implementations of entry points that today's engine builds do not publish, written on the engine's
// published functions. The binding puts them in place only where the loaded engine lacks the original.
#pragma once

#include "pdf/engine/FPdfEdit.h"
#include "pdf/engine/FPdfView.h"

namespace PDFium::EngineFallbacks {

// FPDF_RenderPage: renders into an engine bitmap and draws it through the device context, which is a QPainter
// here. Nothing is filled first, so the page lands on what the device already shows; colours are the page's
// whatever byte order the flags ask for.
void RenderPage(void* dc, FPDF_PAGE page, int start_x, int start_y, int size_x, int size_y, int rotate,
                int flags);

// FPDFPageObj_GetImage: height, width and the image's stored (undecoded) stream data. Called with a null
// buffer it reports the size; called with a buffer, *size is its capacity and receives the size again.
FPDF_BOOL GetImage(FPDF_PAGEOBJECT object, int* height, int* width, unsigned int* size, void* buffer);

// FPDFPageObj_GetDIB: the image as the engine decodes it, top row first, rows of *scanLineSize bytes in the
// engine's pixel layout (8, 24 or 32 bits per pixel). The bitmap decoded for the size is kept for the next
// call, which fills the buffer from it when it asks for the same object.
FPDF_BOOL GetDIB(FPDF_PAGEOBJECT object, int* height, int* width, int* bpp, int* scanLineSize, void* buffer);

// Drops a bitmap kept between the two calls of GetDIB; before the engine is unloaded.
void ReleasePending();

} // namespace PDFium::EngineFallbacks
