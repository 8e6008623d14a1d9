#include "PageZoom.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double PixelsPerPoint = 96.0 / 72.0;
constexpr std::array<double, 10> ZoomSteps{0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0};

QSizeF Turned(QSizeF size, PDFium::TRotation rotation) {
    return rotation == PDFium::ro90 || rotation == PDFium::ro270 ? size.transposed() : size;
}

} // namespace

QSize ViewSize(QSizeF PageSize, PDFium::TRotation Rotation, TPageZoom Zoom, QSize Area) {
    const QSizeF page = Turned(PageSize, Rotation);
    if (page.width() <= 0 || page.height() <= 0)
        return {};
    double scale = Zoom.Factor * PixelsPerPoint;
    if (Zoom.Mode == TZoomMode::FitWidth)
        scale = Area.width() / page.width();
    else if (Zoom.Mode == TZoomMode::FitPage)
        scale = std::min(Area.width() / page.width(), Area.height() / page.height());
    // A fitted page grows no larger than the largest zoom; a tiny area still shows a pixel.
    scale = std::min(scale, MaximumZoom * PixelsPerPoint);
    return {std::max(1, int(std::lround(page.width() * scale))),
            std::max(1, int(std::lround(page.height() * scale)))};
}

double ShownFactor(QSizeF PageSize, PDFium::TRotation Rotation, QSize Size) {
    const QSizeF page = Turned(PageSize, Rotation);
    return page.width() > 0 ? Size.width() / page.width() / PixelsPerPoint : 1.0;
}

double ZoomStep(double Factor, int Direction) {
    // A factor within a hair of a step counts as that step.
    constexpr double tolerance = 0.01;
    if (Direction > 0) {
        for (double step : ZoomSteps)
            if (step > Factor + tolerance)
                return step;
        return MaximumZoom;
    }
    for (auto step = ZoomSteps.rbegin(); step != ZoomSteps.rend(); ++step)
        if (*step < Factor - tolerance)
            return *step;
    return MinimumZoom;
}
