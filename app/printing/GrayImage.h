// Page images as 8-bit gray, the form in which they travel to the printer.
#pragma once

#include <QImage>

// Gray becomes Source in 8-bit gray (Qt's luminance weights), reusing Gray's pixels when its size fits. An
// 8-bit gray source is shared, not copied; a null source gives a null image.
void ToGrayscale(const QImage& Source, QImage& Gray);
