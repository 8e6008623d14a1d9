#include "app/printing/RasterEncoder.h"

#include "app/printing/EPrinter.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

// The word comparisons below take the lowest differing byte of a word for the first in memory.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr qsizetype MaxRun = 128;      // pixels in one run, repeated or as they are
constexpr unsigned MaxRepeats = 256;   // lines in one record
constexpr unsigned MaxSize = 0xFFFFFF; // pixels across and lines down
constexpr unsigned MaxLineLength = 16 * 1024 * 1024;
constexpr unsigned MaxColours = 15;

[[noreturn]] void refuse(const QString& message) {
    throw EPrinter(message);
}

// The colours of Header's colour space, as libcups counts them for a header that leaves them out.
unsigned coloursOf(const cups_page_header2_t& header) {
    const cups_cspace_t space = header.cupsColorSpace;
    switch (space) {
    case CUPS_CSPACE_W:
    case CUPS_CSPACE_K:
    case CUPS_CSPACE_WHITE:
    case CUPS_CSPACE_GOLD:
    case CUPS_CSPACE_SILVER:
    case CUPS_CSPACE_SW:
        return 1;
    case CUPS_CSPACE_RGB:
    case CUPS_CSPACE_CMY:
    case CUPS_CSPACE_YMC:
    case CUPS_CSPACE_CIEXYZ:
    case CUPS_CSPACE_CIELab:
    case CUPS_CSPACE_SRGB:
    case CUPS_CSPACE_ADOBERGB:
        return 3;
    case CUPS_CSPACE_RGBA:
    case CUPS_CSPACE_RGBW:
    case CUPS_CSPACE_CMYK:
    case CUPS_CSPACE_YMCK:
    case CUPS_CSPACE_KCMY:
    case CUPS_CSPACE_GMCK:
    case CUPS_CSPACE_GMCS:
        return 4;
    case CUPS_CSPACE_KCMYcm:
        return header.cupsBitsPerPixel < 8 ? 6 : 4;
    default:
        // libcups counts three colours for every ICC-based space, whatever its number says.
        if (space >= CUPS_CSPACE_ICC1 && space <= CUPS_CSPACE_ICCF)
            return 3;
        if (space >= CUPS_CSPACE_DEVICE1 && space <= CUPS_CSPACE_DEVICEF)
            return space - CUPS_CSPACE_DEVICE1 + 1;
        refuse(QStringLiteral("The print system knows no colour space %1").arg(int(space)));
    }
}

// Refuses a header whose sizes disagree, as libcups refuses it since 2.4.17. Older versions write such a
// header, and then misread their own lines or read past them.
void checkSizes(const cups_page_header2_t& header, unsigned bpp) {
    if (header.cupsWidth == 0 || header.cupsWidth > MaxSize)
        refuse(QStringLiteral("A raster page cannot be %1 pixels wide").arg(header.cupsWidth));
    if (header.cupsHeight == 0 || header.cupsHeight > MaxSize)
        refuse(QStringLiteral("A raster page cannot be %1 lines high").arg(header.cupsHeight));
    const unsigned bits = header.cupsBitsPerColor;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
        refuse(QStringLiteral("A raster page cannot have %1 bits per colour").arg(bits));
    if (header.cupsNumColors > MaxColours)
        refuse(QStringLiteral("A raster page cannot have %1 colours").arg(header.cupsNumColors));
    if (header.cupsColorOrder > CUPS_ORDER_PLANAR)
        refuse(QStringLiteral("A raster page cannot have colour order %1").arg(int(header.cupsColorOrder)));
    const bool chunked = header.cupsColorOrder == CUPS_ORDER_CHUNKED;
    if (header.cupsBitsPerPixel != (chunked ? bits * header.cupsNumColors : bits))
        refuse(QStringLiteral("A raster page of %1 colours at %2 bits cannot have %3 bits per pixel")
                   .arg(header.cupsNumColors)
                   .arg(bits)
                   .arg(header.cupsBitsPerPixel));
    if (header.cupsBytesPerLine > MaxLineLength)
        refuse(QStringLiteral("A raster line cannot be %1 bytes long").arg(header.cupsBytesPerLine));
    if (header.cupsBytesPerLine % bpp != 0)
        refuse(QStringLiteral("A raster line of %1 bytes does not hold whole pixels of %2 bytes")
                   .arg(header.cupsBytesPerLine)
                   .arg(bpp));
    quint64 length = (quint64(header.cupsWidth) * header.cupsBitsPerPixel + 7) / 8;
    if (header.cupsColorOrder == CUPS_ORDER_BANDED)
        length *= header.cupsNumColors;
    if (header.cupsBytesPerLine != length)
        refuse(
            QStringLiteral("A raster page %1 pixels wide at %2 bits per pixel cannot have %3 bytes per line")
                .arg(header.cupsWidth)
                .arg(header.cupsBitsPerPixel)
                .arg(header.cupsBytesPerLine));
}

// Pixels of the imaging box's edge at Points, as libcups works them out for the PWG header: a float product
// and a double quotient, cut through a 64-bit integer as x86-64 converts to unsigned (0 out of its range).
unsigned pixelsAt(float points, unsigned resolution) {
    const double pixels = points * resolution / 72.0;
    return std::fabs(pixels) < 0x1p63 ? unsigned(std::int64_t(pixels)) : 0;
}

template <std::size_t N> void copyText(char (&to)[N], const char* from) {
    std::memcpy(to, from, strnlen(from, N - 1));
}

// Every field of a page header is 32 bits wide, integer or enumeration.
template <typename T> T bigEndian(T value) {
    static_assert(sizeof(T) == sizeof(quint32));
    return T(qToBigEndian(quint32(value)));
}

// The PWG header as libcups writes it: in big-endian order, with only the fields PWG raster carries.
void appendPwgHeader(const cups_page_header2_t& header, QByteArray& out) {
    cups_page_header2_t pwg{};
    copyText(pwg.MediaClass, "PwgRaster");
    copyText(pwg.MediaColor, header.MediaColor);
    copyText(pwg.MediaType, header.MediaType);
    copyText(pwg.OutputType, header.OutputType);
    copyText(pwg.cupsRenderingIntent, header.cupsRenderingIntent);
    copyText(pwg.cupsPageSizeName, header.cupsPageSizeName);
    pwg.CutMedia = bigEndian(header.CutMedia);
    pwg.Duplex = bigEndian(header.Duplex);
    for (int i = 0; i < 2; ++i) {
        pwg.HWResolution[i] = bigEndian(header.HWResolution[i]);
        pwg.PageSize[i] = bigEndian(header.PageSize[i]);
    }
    for (int i = 0; i < 4; ++i)
        pwg.ImagingBoundingBox[i] = bigEndian(header.ImagingBoundingBox[i]);
    pwg.InsertSheet = bigEndian(header.InsertSheet);
    pwg.Jog = bigEndian(header.Jog);
    pwg.LeadingEdge = bigEndian(header.LeadingEdge);
    pwg.ManualFeed = bigEndian(header.ManualFeed);
    pwg.MediaPosition = bigEndian(header.MediaPosition);
    pwg.MediaWeight = bigEndian(header.MediaWeight);
    pwg.NumCopies = bigEndian(header.NumCopies);
    pwg.Orientation = bigEndian(header.Orientation);
    pwg.Tumble = bigEndian(header.Tumble);
    pwg.cupsWidth = bigEndian(header.cupsWidth);
    pwg.cupsHeight = bigEndian(header.cupsHeight);
    pwg.cupsBitsPerColor = bigEndian(header.cupsBitsPerColor);
    pwg.cupsBitsPerPixel = bigEndian(header.cupsBitsPerPixel);
    pwg.cupsBytesPerLine = bigEndian(header.cupsBytesPerLine);
    pwg.cupsColorOrder = bigEndian(header.cupsColorOrder);
    pwg.cupsColorSpace = bigEndian(header.cupsColorSpace);
    pwg.cupsNumColors = bigEndian(header.cupsNumColors);
    for (int i = 0; i < 3; ++i)
        pwg.cupsInteger[i] = bigEndian(header.cupsInteger[i]);
    // The imaging box in pixels comes from the box in points, not from the integers that say it.
    for (int i = 0; i < 4; ++i)
        pwg.cupsInteger[3 + i] = bigEndian(pixelsAt(header.cupsImagingBBox[i], header.HWResolution[i % 2]));
    pwg.cupsInteger[7] = bigEndian(0xFFFFFFU);
    out.append(reinterpret_cast<const char*>(&pwg), sizeof pwg);
}

std::uint64_t load(const uchar* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// How many of the first Limit bytes of A equal those of B, up to the first that differs.
qsizetype commonPrefix(const uchar* a, const uchar* b, qsizetype limit) {
    qsizetype i = 0;
    for (; i + 8 <= limit; i += 8)
        if (const std::uint64_t differ = load(a + i) ^ load(b + i))
            return i + std::countr_zero(differ) / 8;
    while (i < limit && a[i] == b[i])
        ++i;
    return i;
}

template <unsigned Bpp> bool samePixel(const uchar* a, const uchar* b, unsigned size) {
    if constexpr (Bpp != 0)
        return std::memcmp(a, b, Bpp) == 0;
    for (unsigned i = 0; i < size; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// The first pixel from From to Last that the pixel after it repeats, else Last + 1.
template <unsigned Bpp>
qsizetype firstRepeated(const uchar* line, qsizetype from, qsizetype last, unsigned size) {
    qsizetype at = from;
    if constexpr (Bpp == 1) {
        // A zero byte in the difference of the line and the line one byte on marks a repeat; the lowest
        // flagged byte of a word is always a true one.
        constexpr std::uint64_t ones = 0x0101010101010101U;
        constexpr std::uint64_t highs = 0x8080808080808080U;
        for (; at + 7 <= last; at += 8) {
            const std::uint64_t differ = load(line + at) ^ load(line + at + 1);
            if (const std::uint64_t zero = (differ - ones) & ~differ & highs)
                return at + std::countr_zero(zero) / 8;
        }
    }
    for (; at <= last; ++at)
        if (samePixel<Bpp>(line + at * size, line + (at + 1) * size, size))
            return at;
    return last + 1;
}

// Writes Line's Pixels to Out as libcups does: a pixel its successor repeats starts a run of that pixel,
// as long as it lasts; any other starts a run of pixels as they are, up to the first that its successor
// repeats. Runs hold 128 pixels at most; the count byte before a run says 1 to 128 repeats (count - 1) or 1
// to 128 pixels as they are (257 - count, so that one pixel reads as one repeat), and a line's last pixel,
// when it is left alone, goes as one repeat.
template <unsigned Bpp> uchar* encodeLine(const uchar* line, qsizetype pixels, unsigned size, uchar* out) {
    if constexpr (Bpp != 0)
        size = Bpp;
    for (qsizetype at = 0; at < pixels;) {
        const uchar* first = line + at * size;
        qsizetype count;
        if (at + 1 < pixels && samePixel<Bpp>(first, first + size, size)) {
            const qsizetype most = std::min(pixels - at, MaxRun);
            count = 1 + commonPrefix(first + size, first, (most - 1) * size) / size;
            *out++ = uchar(count - 1);
            std::memcpy(out, first, size);
            out += size;
        } else {
            const qsizetype last = std::min(pixels - 2, at + MaxRun - 1);
            const qsizetype repeated = firstRepeated<Bpp>(line, at + 1, last, size);
            count = repeated <= last ? repeated - at : std::min(pixels - at, MaxRun);
            *out++ = uchar(257 - count);
            std::memcpy(out, first, count * size);
            out += count * size;
        }
        at += count;
    }
    return out;
}

uchar* encodeLine(const uchar* line, qsizetype pixels, unsigned size, uchar* out) {
    switch (size) {
    case 1:
        return encodeLine<1>(line, pixels, size, out);
    case 2:
        return encodeLine<2>(line, pixels, size, out);
    case 3:
        return encodeLine<3>(line, pixels, size, out);
    case 4:
        return encodeLine<4>(line, pixels, size, out);
    case 6:
        return encodeLine<6>(line, pixels, size, out);
    case 8:
        return encodeLine<8>(line, pixels, size, out);
    default:
        return encodeLine<0>(line, pixels, size, out);
    }
}

} // namespace

QByteArray RasterStreamStart(TRasterKind Kind) {
    const quint32 sync = Kind == TRasterKind::Pwg    ? qToBigEndian(quint32(CUPS_RASTER_SYNC_PWG))
                         : Kind == TRasterKind::Cups ? quint32(CUPS_RASTER_SYNC)
                                                     : quint32(CUPS_RASTER_SYNCv2);
    return QByteArray(reinterpret_cast<const char*>(&sync), sizeof sync);
}

TRasterPageEncoder::TRasterPageEncoder(TRasterKind Kind, const cups_page_header2_t& Header, QByteArray& Out)
    : FOut(Out), FCompressed(Kind != TRasterKind::Cups) {
    cups_page_header2_t header = Header;
    if (header.cupsNumColors == 0)
        header.cupsNumColors = coloursOf(header);
    const unsigned bits =
        header.cupsColorOrder == CUPS_ORDER_CHUNKED ? header.cupsBitsPerPixel : header.cupsBitsPerColor;
    FBpp = std::max((bits + 7) / 8, 1U);
    checkSizes(header, FBpp);
    FLength = header.cupsBytesPerLine;
    FLinesLeft = header.cupsColorOrder == CUPS_ORDER_PLANAR ? header.cupsHeight * header.cupsNumColors
                                                            : header.cupsHeight;
    FSwapped = Kind == TRasterKind::Pwg && (header.cupsBitsPerColor == 16 || header.cupsBitsPerPixel == 12 ||
                                            header.cupsBitsPerPixel == 16);
    if (Kind == TRasterKind::Pwg)
        appendPwgHeader(header, FOut);
    else
        FOut.append(reinterpret_cast<const char*>(&header), sizeof header);
    if (FCompressed)
        FLine.resize(FLength);
    if (FSwapped)
        FSwappedLine.resize(FLength);
}

void TRasterPageEncoder::WriteLine(const uchar* Line) {
    if (FLinesLeft == 0)
        throw EPrinter(QStringLiteral("The raster page has all its lines already"));
    --FLinesLeft;
    if (!FCompressed) {
        FOut.append(reinterpret_cast<const char*>(Line), FLength);
        return;
    }
    if (FRepeats > 0 && std::memcmp(Line, FLine.constData(), FLength) != 0)
        flush();
    if (FRepeats == 0)
        std::memcpy(FLine.data(), Line, FLength);
    if (++FRepeats == MaxRepeats || FLinesLeft == 0)
        flush();
}

void TRasterPageEncoder::flush() {
    auto* line = reinterpret_cast<const uchar*>(FLine.constData());
    if (FSwapped) {
        // Swapping the bytes of every sample alike keeps equal pixels equal: runs are found on the result.
        auto* swapped = reinterpret_cast<uchar*>(FSwappedLine.data());
        for (qsizetype i = 0; i < FLength; i += 2) {
            swapped[i] = line[i + 1];
            swapped[i + 1] = line[i];
        }
        line = swapped;
    }
    const qsizetype at = FOut.size();
    const qsizetype pixels = FLength / FBpp;
    FOut.resize(at + 1 + FLength + pixels); // a count byte for every pixel at worst
    auto* start = reinterpret_cast<uchar*>(FOut.data()) + at;
    *start = uchar(FRepeats - 1);
    const uchar* end = encodeLine(line, pixels, FBpp, start + 1);
    FOut.resize(at + (end - start));
    FRepeats = 0;
}
