#include "app/printing/PwgPageWriter.h"

#include "app/printing/EPrinter.h"
#include "app/printing/GrayImage.h"
#include "app/printing/RasterEncoder.h"

#include <QImage>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Thresholds of an 8 x 8 ordered dither, from 2 to 254.
constexpr unsigned char BayerMatrix[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},    {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},   {63, 31, 55, 23, 61, 29, 53, 21}};

int ditherThreshold(int x, int y) {
    return BayerMatrix[y & 7][x & 7] * 4 + 2;
}

bool reversed(const cups_page_header2_t& header, int transform) {
    return header.cupsInteger[transform] == 0xFFFFFFFFU;
}

// Reverses the order of the Count pixels of Size bytes each in Line.
void reversePixels(uchar* line, int count, int size) {
    for (int left = 0, right = count - 1; left < right; ++left, --right)
        std::swap_ranges(line + left * size, line + (left + 1) * size, line + right * size);
}

} // namespace

TRasterKind RasterKind(const TPwgPageSetup& Setup) {
    return Setup.CupsRaster() ? TRasterKind::CupsCompressed : TRasterKind::Pwg;
}

bool InitPwgHeader(const TPwgPageSetup& Setup, cups_page_header2_t& Header, bool BackSide) {
    pwg_media_t* media = pwgMediaForPWG(Setup.Media.constData());
    if (!media ||
        !cupsRasterInitPWGHeader(&Header, media, Setup.Type.constData(), Setup.Resolution, Setup.Resolution,
                                 Setup.Sides.constData(), BackSide ? Setup.SheetBack.constData() : nullptr))
        return false;
    Header.MediaPosition = static_cast<unsigned>(Setup.MediaPosition);
    return true;
}

TPwgPageWriter::TPwgPageWriter(QByteArray& Out, const TPwgPageSetup& Setup, int FirstPage)
    : FOut(Out), FSetup(Setup), FPages(FirstPage) {
    // libcups' PWG headers say how a back side is turned; a driver's header keeps its own meaning for the
    // same fields, so its pages are turned as the PWG header of the same sides would say, and sent with the
    // driver's header.
    cups_page_header2_t back{};
    if (!InitPwgHeader(FSetup, FFront) || !InitPwgHeader(FSetup, back, true))
        throw EPrinter(
            QStringLiteral("The print system knows no paper \"%1\"").arg(QString::fromUtf8(Setup.Media)));
    FBackUpsideDown = reversed(back, CUPS_RASTER_PWG_FeedTransform);
    FBackMirrored = reversed(back, CUPS_RASTER_PWG_CrossFeedTransform);
    FBack = back;
    if (FSetup.DriverHeader)
        FFront = FBack = *FSetup.DriverHeader;
    FSheetLine.resize(qsizetype(FFront.cupsWidth) * (FSetup.Color() ? 3 : 1));
    FLine.resize(FFront.cupsBytesPerLine);
    if (FFront.cupsBitsPerPixel == 1) {
        // The dither's thresholds for each of its eight rows, a pixel a byte across the sheet.
        FThresholds.resize(8 * FSheetLine.size());
        for (int row = 0; row < 8; ++row)
            for (qsizetype x = 0; x < FSheetLine.size(); ++x)
                FThresholds[row * FSheetLine.size() + x] = char(ditherThreshold(int(x), row));
    }
}

void TPwgPageWriter::WritePage(const QImage& Bitmap) {
    const bool back = FSetup.Sides != "one-sided" && FPages % 2 == 1;
    const cups_page_header2_t& header = back ? FBack : FFront;
    ++FPages;
    TRasterPageEncoder encoder(RasterKind(FSetup), header, FOut);

    const int pixel = FSetup.Color() ? 3 : 1;
    if (FSetup.Color())
        FPage =
            Bitmap.format() == QImage::Format_RGB888 ? Bitmap : Bitmap.convertToFormat(QImage::Format_RGB888);
    else
        ToGrayscale(Bitmap, FPage);
    // The image's part that lies in the printable area, in sheet pixels, and where the image starts: what
    // goes beyond the area is cut, as a printer cannot print it.
    const int sheetWidth = static_cast<int>(header.cupsWidth);
    const int sheetHeight = static_cast<int>(header.cupsHeight);
    const int x = FSetup.Left + Bitmap.offset().x();
    const int y = FSetup.Top + Bitmap.offset().y();
    const QRect area = FSetup.Printable().intersected({0, 0, sheetWidth, sheetHeight});
    const QRect shown = FPage.isNull() ? QRect() : area.intersected({x, y, FPage.width(), FPage.height()});
    const int left = shown.isEmpty() ? 0 : shown.left();
    const int right = shown.isEmpty() ? 0 : shown.right() + 1;
    const int top = shown.isEmpty() ? 0 : shown.top();
    const int bottom = shown.isEmpty() ? 0 : shown.bottom() + 1;
    auto* line = reinterpret_cast<uchar*>(FSheetLine.data());

    const bool upsideDown = back && FBackUpsideDown;
    const bool mirrored = back && FBackMirrored;
    // Only what changes is written into the line: the image's part, and white where it was.
    bool white = false;        // the whole line is white
    bool marginsWhite = false; // the line is white outside the image's part
    for (int row = 0; row < sheetHeight; ++row) {
        const int sheetRow = upsideDown ? sheetHeight - 1 - row : row;
        if (sheetRow >= top && sheetRow < bottom) {
            if (!marginsWhite)
                std::memset(line, 0xFF, FSheetLine.size());
            std::memcpy(line + left * pixel, FPage.constScanLine(sheetRow - y) + (left - x) * pixel,
                        size_t(right - left) * pixel);
            if (mirrored)
                reversePixels(line, sheetWidth, pixel);
            white = false;
            marginsWhite = !mirrored;
        } else if (!white) {
            std::memset(line, 0xFF, FSheetLine.size());
            white = marginsWhite = true;
        }
        writeLine(encoder, header, row, white);
    }
}

// Gray lines go on as they are, black lines (CUPS_CSPACE_K, 1 for ink) inverted, and 1-bit lines dithered,
// a set bit for black, or for white in a white colour space.
void TPwgPageWriter::writeLine(TRasterPageEncoder& encoder, const cups_page_header2_t& header, int row,
                               bool white) {
    auto* line = reinterpret_cast<uchar*>(FSheetLine.data());
    const bool ink = header.cupsColorSpace == CUPS_CSPACE_K;
    if (header.cupsBitsPerPixel == 1) {
        auto* bits = reinterpret_cast<uchar*>(FLine.data());
        const uchar unset = ink ? 0x00 : 0xFF;
        if (white) {
            // No threshold is as light as white.
            std::memset(bits, unset, FLine.size());
        } else {
            // Eight pixels a byte, each set where it is darker than its threshold: a loop the compiler can
            // vectorise, where a call a pixel cost as much as rendering the page.
            const uchar* thresholds =
                reinterpret_cast<const uchar*>(FThresholds.constData()) + (row & 7) * FSheetLine.size();
            const qsizetype width = FSheetLine.size();
            for (qsizetype byte = 0; byte < FLine.size(); ++byte) {
                uchar set = 0;
                const qsizetype first = byte * 8;
                const int count = int(std::min<qsizetype>(8, width - first));
                // Most of a page is white, eight pixels at a glance.
                quint64 eight = 0;
                if (count == 8 && (std::memcpy(&eight, line + first, 8), eight == ~quint64(0))) {
                    bits[byte] = unset;
                    continue;
                }
                for (int i = 0; i < count; ++i)
                    set |= uchar((line[first + i] < thresholds[first + i]) << (7 - i));
                bits[byte] = set ^ unset;
            }
        }
        line = bits;
    } else if (ink) {
        auto* inked = reinterpret_cast<uchar*>(FLine.data());
        for (qsizetype x = 0; x < FSheetLine.size(); ++x)
            inked[x] = static_cast<uchar>(255 - line[x]);
        line = inked;
    }
    encoder.WriteLine(line);
}

QByteArray PwgStreamStart(const TPwgPageSetup& Setup) {
    return RasterStreamStart(RasterKind(Setup));
}

QByteArray EncodePwgPage(const TPwgPageSetup& Setup, const QImage& Bitmap, int Index) {
    QByteArray bytes;
    TPwgPageWriter(bytes, Setup, Index).WritePage(Bitmap);
    return bytes;
}
