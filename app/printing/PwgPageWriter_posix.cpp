#include "app/printing/PwgPageWriter.h"

#include "app/printing/EPrinter.h"
#include "app/printing/GrayImage.h"

#include <QImage>

#include <algorithm>
#include <cstring>

namespace {

// Thresholds of an 8 x 8 ordered dither, from 2 to 254.
constexpr unsigned char BayerMatrix[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},    {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},   {63, 31, 55, 23, 61, 29, 53, 21}};

int ditherThreshold(int x, int y) {
    return BayerMatrix[y & 7][x & 7] * 4 + 2;
}

} // namespace

bool InitPwgHeader(const TPwgPageSetup& Setup, cups_page_header2_t& Header) {
    pwg_media_t* media = pwgMediaForPWG(Setup.Media.constData());
    if (!media)
        return false;
    return cupsRasterInitPWGHeader(&Header, media, Setup.Type.constData(), Setup.Resolution, Setup.Resolution,
                                   "one-sided", nullptr) != 0;
}

TPwgPageWriter::TPwgPageWriter(cups_raster_t* Raster, const TPwgPageSetup& Setup)
    : FRaster(Raster), FSetup(Setup) {
    if (!InitPwgHeader(FSetup, FHeader))
        throw EPrinter(
            QStringLiteral("The print system knows no paper \"%1\"").arg(QString::fromUtf8(Setup.Media)));
    FGray.resize(FHeader.cupsWidth);
    FLine.resize(FHeader.cupsBytesPerLine);
}

void TPwgPageWriter::WritePage(const QImage& Bitmap) {
    ToGrayscale(Bitmap, FPage);
    const QImage* image = &FPage;
    if (!cupsRasterWriteHeader2(FRaster, &FHeader))
        throw EPrinter(QStringLiteral("Printer is not currently printing"));

    const int sheetWidth = static_cast<int>(FHeader.cupsWidth);
    const int sheetHeight = static_cast<int>(FHeader.cupsHeight);
    const int left = std::min(FSetup.Left, sheetWidth);
    const int width = image->isNull() ? 0 : std::clamp(image->width(), 0, sheetWidth - left);
    const int top = std::min(FSetup.Top, sheetHeight);
    const int bottom = image->isNull() ? top : std::min(top + image->height(), sheetHeight);
    auto* gray = reinterpret_cast<uchar*>(FGray.data());

    std::memset(gray, 0xFF, FGray.size());
    for (FRow = 0; FRow < sheetHeight; ++FRow) {
        const bool inImage = FRow >= top && FRow < bottom;
        if (inImage)
            std::memcpy(gray + left, image->constScanLine(FRow - top), static_cast<size_t>(width));
        writeLine();
        if (inImage && FRow + 1 == bottom)
            std::memset(gray + left, 0xFF, static_cast<size_t>(width));
    }
}

void TPwgPageWriter::writeLine() {
    auto* line = reinterpret_cast<uchar*>(FLine.data());
    const auto* gray = reinterpret_cast<const uchar*>(FGray.constData());
    if (FHeader.cupsBitsPerPixel == 1) {
        std::memset(line, 0, FLine.size());
        for (int x = 0; x < FGray.size(); ++x)
            if (gray[x] < ditherThreshold(x, FRow))
                line[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));
    } else {
        line = reinterpret_cast<uchar*>(FGray.data());
    }
    if (cupsRasterWritePixels(FRaster, line, FHeader.cupsBytesPerLine) < FHeader.cupsBytesPerLine)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
}
