#include "app/printing/PagePlacement.h"

#include "app/printing/PageFit.h"

#include <algorithm>
#include <cmath>

namespace {

// IPP's orientation-requested as the quarter turns the page is rendered with: landscape turns it a quarter
// counter-clockwise, reverse-landscape clockwise, reverse-portrait upside down.
PDFium::TRotation turnOf(int orientation) {
    switch (orientation) {
    case 4:
        return PDFium::ro270;
    case 5:
        return PDFium::ro90;
    case 6:
        return PDFium::ro180;
    default:
        return PDFium::ro0;
    }
}

bool sideways(PDFium::TRotation rotation) {
    return rotation == PDFium::ro90 || rotation == PDFium::ro270;
}

// The scale from the page at its own size to how it shows.
double scaleFor(TScaling scaling, double areaWidth, double areaHeight, double width, double height) {
    const double fit = std::min(areaWidth / width, areaHeight / height);
    switch (scaling) {
    case TScaling::Fill:
        return std::max(areaWidth / width, areaHeight / height);
    case TScaling::None:
        return 1;
    case TScaling::Auto:
        return std::min(fit, 1.0);
    default:
        return fit;
    }
}

// How much of the page shows: the scale it shows at, or, at its own size, the part of it that fits.
double shownOf(TScaling scaling, double areaWidth, double areaHeight, double width, double height) {
    if (scaling == TScaling::None)
        return std::min(1.0, areaWidth / width) * std::min(1.0, areaHeight / height);
    // Filling decides by the whole page too: turned, it is cut less.
    return scaleFor(scaling == TScaling::Fill ? TScaling::Fit : scaling, areaWidth, areaHeight, width,
                    height);
}

// Where a page Size long starts in an area Length long whose sheet reaches Before it and After it: a page
// at its own size centred on the sheet, and inside the area where it fits there; a page scaled to the area
// centred on the area, as lp places each.
int centred(int length, int size, int before, int after, bool scaledToArea) {
    if (scaledToArea)
        return (length - size) / 2;
    const int onSheet = (before + length + after - size) / 2 - before;
    return size <= length ? std::clamp(onSheet, 0, length - size) : onSheet;
}

} // namespace

TPagePlacement PlacePage(int PrintableWidth, int PrintableHeight, int Dpi, double PageWidth,
                         double PageHeight, TScaling Scaling, std::optional<int> Orientation,
                         const QMargins& Margins) {
    if (Scaling == TScaling::Specified) {
        const TPageFit fit = FitPage(PrintableWidth, PrintableHeight, PageWidth, PageHeight);
        return {0, 0, fit.Width, fit.Height, PDFium::ro0};
    }
    if (!(PageWidth > 0) || !(PageHeight > 0))
        return {};
    // The page at its own size, in device pixels.
    const double width = PageWidth * Dpi / 72.0;
    const double height = PageHeight * Dpi / 72.0;
    PDFium::TRotation rotation = turnOf(Orientation.value_or(3));
    if (!Orientation && shownOf(Scaling, PrintableWidth, PrintableHeight, height, width) >
                            shownOf(Scaling, PrintableWidth, PrintableHeight, width, height) * (1 + 1e-9))
        rotation = PDFium::ro270;
    const double turnedWidth = sideways(rotation) ? height : width;
    const double turnedHeight = sideways(rotation) ? width : height;
    const double scale = scaleFor(Scaling, PrintableWidth, PrintableHeight, turnedWidth, turnedHeight);
    TPagePlacement placement;
    placement.Width = std::max(1, int(std::lround(turnedWidth * scale)));
    placement.Height = std::max(1, int(std::lround(turnedHeight * scale)));
    const bool scaledToArea = Scaling == TScaling::Fit || Scaling == TScaling::Fill || scale < 1;
    placement.X = centred(PrintableWidth, placement.Width, Margins.left(), Margins.right(), scaledToArea);
    placement.Y = centred(PrintableHeight, placement.Height, Margins.top(), Margins.bottom(), scaledToArea);
    placement.Rotation = rotation;
    return placement;
}
