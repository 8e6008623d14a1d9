// Feeds raster pages made from arbitrary bytes to the raster encoder and to libcups' writer side by side: the
// stream kind, then for each page a header (colour space, bits, colour order, size, resolution, imaging box,
// now and then a size field set at random) and lines of runs, noise and repeats. A header the encoder takes,
// libcups must take too and write as the same bytes; a header it refuses adds nothing to its stream; libcups'
// reader gives back every line of the stream. Anything else aborts.
#include "app/printing/EPrinter.h"
#include "app/printing/RasterEncoder.h"
#include "tests/support/MemoryRaster.h"

#include <cups/raster.h>

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>

namespace {

// The input read from its start; zeros once it runs out.
class TInput {
public:
    TInput(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

    unsigned Byte() { return FAt < FSize ? FData[FAt++] : 0; }
    unsigned Word() {
        const unsigned low = Byte();
        return low | Byte() << 8;
    }
    unsigned Below(unsigned count) { return Byte() % count; }

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FAt = 0;
};

struct TSpace {
    cups_cspace_t Space;
    unsigned Colours;
};

constexpr TSpace Spaces[] = {{CUPS_CSPACE_W, 1},       {CUPS_CSPACE_K, 1},       {CUPS_CSPACE_SW, 1},
                             {CUPS_CSPACE_RGB, 3},     {CUPS_CSPACE_SRGB, 3},    {CUPS_CSPACE_CIELab, 3},
                             {CUPS_CSPACE_CMYK, 4},    {CUPS_CSPACE_RGBA, 4},    {CUPS_CSPACE_KCMYcm, 6},
                             {CUPS_CSPACE_ICC5, 3},    {CUPS_CSPACE_DEVICE2, 2}, {CUPS_CSPACE_DEVICE5, 5},
                             {CUPS_CSPACE_DEVICEF, 15}};
constexpr unsigned Bits[] = {1, 2, 4, 8, 16};
constexpr qsizetype MaxPageBytes = 2 * 1024 * 1024;

cups_page_header2_t headerFrom(TInput& in) {
    cups_page_header2_t header{};
    const TSpace& space = Spaces[in.Below(std::size(Spaces))];
    header.cupsColorSpace = space.Space;
    header.cupsBitsPerColor = Bits[in.Below(std::size(Bits))];
    header.cupsColorOrder = cups_order_t(in.Below(3));
    // Half the headers leave the colours for libcups to count.
    header.cupsNumColors = in.Byte() % 2 ? space.Colours : 0;
    const bool chunked = header.cupsColorOrder == CUPS_ORDER_CHUNKED;
    header.cupsBitsPerPixel = chunked ? header.cupsBitsPerColor * space.Colours : header.cupsBitsPerColor;
    header.cupsWidth = 1 + in.Word() % 512;
    header.cupsHeight = 1 + in.Word() % 320;
    header.cupsBytesPerLine = (header.cupsWidth * header.cupsBitsPerPixel + 7) / 8 *
                              (header.cupsColorOrder == CUPS_ORDER_BANDED ? space.Colours : 1);
    header.HWResolution[0] = header.HWResolution[1] = 1 + in.Word();
    for (float& edge : header.cupsImagingBBox)
        edge = float(int16_t(in.Word())) / 4;
    if (in.Byte() < 16) {
        unsigned* sizes[] = {&header.cupsWidth,        &header.cupsHeight,       &header.cupsBitsPerColor,
                             &header.cupsBitsPerPixel, &header.cupsBytesPerLine, &header.cupsNumColors};
        unsigned& spoiled = *sizes[in.Below(std::size(sizes))];
        spoiled = in.Word();
        spoiled |= in.Word() << 16;
    }
    return header;
}

// Lines of runs of a byte or of noise, each line new or the one before again.
void fillLine(TInput& in, QByteArray& line) {
    for (qsizetype at = 0; at < line.size();) {
        const unsigned value = in.Byte();
        const qsizetype end = std::min(line.size(), at + 1 + in.Byte() % 64);
        const bool noise = value == 0x55;
        for (; at < end; ++at)
            line[at] = char(noise ? in.Byte() : value);
    }
}

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TInput in(data, size);
    const auto kind = TRasterKind(in.Below(3));
    const cups_mode_t mode = kind == TRasterKind::Pwg    ? CUPS_RASTER_WRITE_PWG
                             : kind == TRasterKind::Cups ? CUPS_RASTER_WRITE
                                                         : CUPS_RASTER_WRITE_COMPRESSED;
    QByteArray ours = RasterStreamStart(kind);
    QByteArray theirs;
    QList<QByteArray> pages; // every page's lines, one after another
    {
        const TRaster writer = OpenRasterWriter(theirs, mode);
        for (unsigned page = 1 + in.Below(3); page > 0; --page) {
            cups_page_header2_t header = headerFrom(in);
            const qsizetype before = ours.size();
            std::optional<TRasterPageEncoder> encoder;
            try {
                encoder.emplace(kind, header, ours);
            } catch (const EPrinter&) {
                check(ours.size() == before);
                continue;
            }
            // A page too large to fuzz quickly goes from our stream again before libcups hears of it.
            if (qsizetype(encoder->LinesLeft()) * header.cupsBytesPerLine > MaxPageBytes) {
                encoder.reset();
                ours.truncate(before);
                continue;
            }
            check(cupsRasterWriteHeader2(writer.get(), &header));
            QByteArray line(header.cupsBytesPerLine, 0);
            QByteArray& pixels = pages.emplace_back();
            for (bool first = true; encoder->LinesLeft() > 0; first = false) {
                if (first || in.Byte() % 4 != 0)
                    fillLine(in, line);
                auto* bytes = reinterpret_cast<uchar*>(line.data());
                check(cupsRasterWritePixels(writer.get(), bytes, header.cupsBytesPerLine) ==
                      header.cupsBytesPerLine);
                encoder->WriteLine(bytes);
                pixels += line;
            }
        }
    }
    check(ours == theirs);

    const TRasterReader reader(ours);
    check(reader.Raster() != nullptr);
    cups_page_header2_t header;
    for (const QByteArray& pixels : pages) {
        check(cupsRasterReadHeader2(reader.Raster(), &header));
        QByteArray line(header.cupsBytesPerLine, 0);
        for (qsizetype at = 0; at < pixels.size(); at += line.size()) {
            check(cupsRasterReadPixels(reader.Raster(), reinterpret_cast<uchar*>(line.data()),
                                       header.cupsBytesPerLine) == header.cupsBytesPerLine);
            check(std::memcmp(line.constData(), pixels.constData() + at, size_t(line.size())) == 0);
        }
    }
    check(!cupsRasterReadHeader2(reader.Raster(), &header));
    return 0;
}
