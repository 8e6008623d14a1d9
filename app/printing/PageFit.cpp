#include "app/printing/PageFit.h"

#include "app/printing/RoundFloat.h"

#include <algorithm>

TPageFit FitPage(int PrinterWidth, int PrinterHeight, double PageWidth, double PageHeight) {
    if (!(PageWidth > 0) || !(PageHeight > 0))
        return {0, PrinterWidth, 0};
    const double scale = RoundFloat(double(PrinterWidth) / PageWidth, 4);
    const double height = std::min(RoundFloat(PageHeight * scale, 0), double(PrinterHeight));
    return {scale, PrinterWidth, int(height)};
}
