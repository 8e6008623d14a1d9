#include "pdf/core/PageSpace.h"

#include "pdf/PdfError.h"

#include <cmath>

namespace PDFium {

void CheckPageSpace(std::initializer_list<double> Values) {
    for (const double value : Values)
        Check(std::isfinite(value) && std::abs(value) <= PageSpaceLimit,
              QStringLiteral("Number out of range: %1 (coordinates and sizes lie within -%2 to %2)")
                  .arg(value)
                  .arg(PageSpaceLimit));
}

} // namespace PDFium
