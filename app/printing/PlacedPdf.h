// A document's pages placed on a printer's sheets as a PDF: each page where its image would land in a raster
// job of the same options (PlacePage at the printer's resolution), so that a PostScript or PDF printer's
// driver draws the same sheets from the PDF itself, as sharp as the printer prints and as small as the
// document is.
#pragma once

#include "app/options/PrintOptions.h"
#include "app/printing/PwgPageSetup.h"
#include "pdf/PdfTypes.h"

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QTransform>

namespace PDFium {
class TPdf;
}

// The document open in Pdf with only Pages, in that order, each made a sheet of Setup placed as Options
// place its image (without pages, one empty sheet); Pdf itself stays as it is. Raises EPdfError where the
// engine cannot place or save them.
QByteArray PlacePdfPages(PDFium::TPdf& Pdf, const QList<int>& Pages, const TPwgPageSetup& Setup,
                         const TPrintOptions& Options);

// The matrix that draws a page whose visible area is Bounds, turned by QuarterTurns clockwise (its own
// rotation and the placement's), into Target, all in PDF's points with the origin at the lower left.
QTransform PageToSheet(const PDFium::TPdfRectangle& Bounds, int QuarterTurns, const QRectF& Target);
