// The system colours that a TColor may name by index (its top byte 0xFF), resolved through the current
// palette. Indexes follow the Windows system colour numbering that such values carry.
#pragma once

#include <QColor>

namespace PDFium {

QColor SystemColor(int Index);

} // namespace PDFium
