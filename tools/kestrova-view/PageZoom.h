// How large kestrova-view shows a page: fitted to the width or the whole of the visible area, or at a zoom
// factor, where 1 shows a point as 96/72 pixels; and the steps by which the zoom grows and shrinks.
#pragma once

#include "pdf/PdfTypes.h"

#include <QSize>
#include <QSizeF>

enum class TZoomMode { FitWidth, FitPage, Factor };

struct TPageZoom {
    TZoomMode Mode = TZoomMode::FitWidth;
    double Factor = 1.0; // used in Factor mode
};

// The smallest and largest zoom factors, and the steps between them.
inline constexpr double MinimumZoom = 0.25;
inline constexpr double MaximumZoom = 4.0;

// The size in pixels of a page of PageSize points turned by Rotation, shown in an area of Area pixels.
QSize ViewSize(QSizeF PageSize, PDFium::TRotation Rotation, TPageZoom Zoom, QSize Area);

// The zoom factor that a size from ViewSize shows: pixels per point over 96/72.
double ShownFactor(QSizeF PageSize, PDFium::TRotation Rotation, QSize Size);

// The next zoom step above (Direction 1) or below (Direction -1) Factor, held between the limits.
double ZoomStep(double Factor, int Direction);
