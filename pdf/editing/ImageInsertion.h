// Placing raster images on a page: a picture flattened into a 32-bit bitmap and handed to the engine pixel
// by pixel, or JPEG data that the engine reads from a stream and embeds as it stands.
#pragma once

#include "pdf/PdfEditTypes.h"
#include "pdf/engine/FPdfView.h"

#include <QImage>

class QIODevice;

namespace PDFium {

// A new 32-bit bitmap of the picture's size with the picture drawn on white at (0, 0), unscaled.
QImage PictureToBitmap(const TPicture& Picture);

// Inserts a 32-bit bitmap into Page as a new image object whose lower-left corner lies at (X, Y), Width by
// Height points, and regenerates the page content. Alpha is not carried into the document.
void AddBitmap(FPDF_DOCUMENT Document, FPDF_PAGE Page, const QImage& Bitmap, double X, double Y, double Width,
               double Height);

// Inserts the JPEG data of Stream, read from its offset 0, into Page like AddBitmap. False, with the page
// unchanged, when the engine rejects the data or the stream cannot deliver it; a stream larger than the
// engine's 32-bit size is refused with EPdfError.
bool AddJpegImage(FPDF_DOCUMENT Document, FPDF_PAGE Page, QIODevice& Stream, double X, double Y, double Width,
                  double Height);

} // namespace PDFium
