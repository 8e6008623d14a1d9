// Where a PDF page lands in the printable area, and at what size and turn it is rendered for that. Without
// print-scaling or orientation-requested, the page is placed as it always is (FitPage): stretched to the full
// printable width at the top-left corner, never turned. With them, it keeps its proportions and is centred:
// fit shows the whole page as large as it goes, fill covers the area and is cut at its edges, none is the
// page's own size, auto is fit for a page larger than the area and none for any other. A landscape page on a
// portrait area, or the other way round, is turned where that shows it larger, or at its own size where more
// of it then fits, unless a turn was asked for.
#pragma once

#include "app/options/PrintOptions.h"
#include "pdf/PdfTypes.h"

#include <QMargins>

struct TPagePlacement {
    int X = 0; // the rendered page's top-left corner in the printable area, in device pixels; below 0 where
    int Y = 0; // the page is cut
    int Width = 0; // the rendered page, in device pixels, turned
    int Height = 0;
    PDFium::TRotation Rotation = PDFium::ro0;
};

// PrintableWidth, PrintableHeight: the printable area in device pixels at Dpi, Margins its margins on the
// sheet; PageWidth, PageHeight: the page in points. A page without a positive size gets a size of 0, which no
// render accepts. As lp places them, a page scaled to the printable area (fit, fill, auto that shrinks) is
// centred on the area; one at its own size is centred on the sheet, then moved inside the printable area
// where it fits there.
TPagePlacement PlacePage(int PrintableWidth, int PrintableHeight, int Dpi, double PageWidth,
                         double PageHeight, TScaling Scaling, std::optional<int> Orientation,
                         const QMargins& Margins = {});
