// One PDF page rendered for printing: placed on the printable area as PlacePage places it, straight into the
// pixels a raster page takes, 8-bit gray or RGB for colour. The program's page loop and the CUPS filter both
// render their pages here, so that a page comes out the same in either.
#pragma once

#include "app/options/PrintOptions.h"
#include "app/printing/PwgPageSetup.h"

#include <QImage>
#include <QMargins>

#include <optional>

namespace PDFium {
class TPdf;
}

// A bitmap to render pages into, and whether it is white already.
struct TPageBitmap {
    QImage Image;
    bool White = false;
};

// The printable area in device pixels at Dpi, and how a page is placed on it and in what colours.
struct TPageRendering {
    int AreaWidth = 0;
    int AreaHeight = 0;
    int Dpi = 0;
    TScaling Scaling = TScaling::Specified;
    std::optional<int> Orientation; // IPP's orientation-requested
    bool Color = false;
    QMargins Margins; // of the printable area on the sheet, in device pixels
};

// The rendering of pages on Setup's sheets, placed and coloured as given.
TPageRendering RenderingOn(const TPwgPageSetup& Setup, TScaling Scaling, std::optional<int> Orientation,
                           bool Color);

// Makes page PageNumber (from 1) of Pdf current and renders it into Bitmap's image, placed as Rendering
// asks; the image's offset is where it lands in the printable area. A bitmap of the format a page takes is
// drawn into as it is, of whatever size (a fresh bitmap for each page would cost more than the rendering),
// and without clearing it first when it is white.
void RenderPlacedPage(PDFium::TPdf& Pdf, int PageNumber, const TPageRendering& Rendering,
                      TPageBitmap& Bitmap);
