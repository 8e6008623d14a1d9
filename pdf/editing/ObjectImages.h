// Reading an image object of a page: its stored data and its decoded pixels, through the engine's two-call
// entry points for images. Both work on a page-object handle alone.
#pragma once

#include "pdf/PdfEditTypes.h"
#include "pdf/engine/FPdfView.h"

#include <QImage>

namespace PDFium {

// The image's size and the bytes the engine delivers for it; "Cannot retrieve image data" on failure.
TPdfImage GetImage(FPDF_PAGEOBJECT ObjectHandle);

// The image as a new bitmap of 8, 16, 24 or 32 bits per pixel, rows copied top to bottom and never past the
// end of a bitmap row; a null image for any other depth. "Cannot retrieve image data" on failure.
QImage GetBitmap(FPDF_PAGEOBJECT ObjectHandle);

} // namespace PDFium
