// The range of the numbers that the component writes into a page's content and annotations: coordinates,
// sizes and widths. PDF 1.4's implementation limit on real numbers, -32767 to 32767, is what every reader
// takes; beyond it the engine writes integers that readers fail to parse, after losing their precision, and
// it writes infinities and not-a-number as digits that mean nothing.
#pragma once

#include <initializer_list>

namespace PDFium {

inline constexpr double PageSpaceLimit = 32767;

// Raises EPdfError "Number out of range" for the first of Values that is not finite or lies beyond the limit.
void CheckPageSpace(std::initializer_list<double> Values);

} // namespace PDFium
