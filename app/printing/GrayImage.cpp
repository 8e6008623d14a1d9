#include "app/printing/GrayImage.h"

namespace {

// The luminance of 32-bit pixels, in a loop the compiler turns into vector code.
void grayOf32(const uchar* source, uchar* out, int count) {
    for (int x = 0; x < count; ++x, source += 4)
        out[x] = static_cast<uchar>((source[2] * 11 + source[1] * 16 + source[0] * 5) >> 5);
}

bool is32Bit(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

void ToGrayscale(const QImage& Source, QImage& Gray) {
    if (Source.isNull() || Source.format() == QImage::Format_Grayscale8) {
        Gray = Source;
        return;
    }
    if (!is32Bit(Source.format())) {
        Gray = Source.convertToFormat(QImage::Format_Grayscale8);
        return;
    }
    if (Gray.size() != Source.size() || Gray.format() != QImage::Format_Grayscale8 || !Gray.isDetached())
        Gray = QImage(Source.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < Source.height(); ++y)
        grayOf32(Source.constScanLine(y), Gray.scanLine(y), Source.width());
}
