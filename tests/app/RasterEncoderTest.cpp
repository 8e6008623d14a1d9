// The raster encoder held against libcups: for each stream kind and pixel format, one stream of pages of
// every kind of content at odd widths is the very bytes that libcups' writer writes for the same headers and
// lines, and libcups' reader gives back every header and line of it. Headers whose sizes disagree, and lines
// beyond a page's end, are refused.
#include "app/printing/RasterEncoder.h"
#include "app/printing/EPrinter.h"
#include "support/MemoryRaster.h"

#include <cups/raster.h>

#include <QByteArray>
#include <QList>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <tuple>

namespace {

cups_mode_t modeOf(TRasterKind kind) {
    switch (kind) {
    case TRasterKind::Pwg:
        return CUPS_RASTER_WRITE_PWG;
    case TRasterKind::Cups:
        return CUPS_RASTER_WRITE;
    case TRasterKind::CupsCompressed:
        return CUPS_RASTER_WRITE_COMPRESSED;
    }
    return CUPS_RASTER_READ;
}

auto* bytesOf(const QByteArray& line) {
    return reinterpret_cast<unsigned char*>(const_cast<char*>(line.constData()));
}

enum class TContent {
    Zero,        // every byte 0: blank in K and CMYK, black in W and RGB
    Full,        // every byte 0xFF
    Noise,       // random bytes, no two lines alike
    Runs,        // runs of 1 to 400 bytes of a few values or of noise, no two lines alike
    Alternating, // two lines in turn
    Repeats,     // blocks of 1, 255, 256, 257 and 513 lines alike, round the 256 lines one record holds
};

constexpr int RepeatBlocks[] = {1, 255, 256, 257, 513};

struct TPageCase {
    TContent Content;
    unsigned Height;
};

constexpr TPageCase Pages[] = {{TContent::Zero, 300}, {TContent::Full, 3},        {TContent::Noise, 6},
                               {TContent::Runs, 40},  {TContent::Alternating, 9}, {TContent::Repeats, 1282}};
constexpr unsigned Widths[] = {1, 7, 9, 4961};

QByteArray runsLine(qsizetype length, unsigned seed) {
    std::mt19937 random(seed);
    QByteArray line(length, Qt::Uninitialized);
    const char values[] = {0, char(0xFF), char(random())};
    for (qsizetype at = 0; at < length;) {
        const qsizetype end = std::min(at + 1 + qsizetype(random() % 400), length);
        const bool noise = random() % 4 == 0;
        const char value = values[random() % 3];
        for (; at < end; ++at)
            line[at] = noise ? char(random()) : value;
    }
    return line;
}

QByteArray lineOf(TContent content, qsizetype length, unsigned y) {
    switch (content) {
    case TContent::Zero:
        return QByteArray(length, 0);
    case TContent::Full:
        return QByteArray(length, char(0xFF));
    case TContent::Noise: {
        std::mt19937 random(y);
        QByteArray line(length, Qt::Uninitialized);
        for (char& byte : line)
            byte = char(random());
        return line;
    }
    case TContent::Runs:
        return runsLine(length, y);
    case TContent::Alternating:
        return runsLine(length, y % 2);
    case TContent::Repeats: {
        unsigned block = 0;
        for (unsigned end = RepeatBlocks[0]; y >= end; end += RepeatBlocks[++block])
            ;
        return runsLine(length, block);
    }
    }
    return {};
}

struct TFormat {
    const char* Name;
    TRasterKind Kind;
    const char* Type;    // the PWG raster type the header starts from
    cups_cspace_t Space; // CUPS raster's colour space, its colours left for libcups to count
    unsigned Colours;    // as read back
};

void PrintTo(const TFormat& c, std::ostream* os) {
    *os << c.Name;
}

cups_page_header2_t headerOf(const TFormat& format, unsigned width, unsigned height) {
    cups_page_header2_t header;
    cupsRasterInitPWGHeader(&header, pwgMediaForPWG("na_letter_8.5x11in"), format.Type, 600, 600,
                            "two-sided-long-edge", "flipped");
    header.cupsWidth = width;
    header.cupsHeight = height;
    header.cupsBytesPerLine = (width * header.cupsBitsPerPixel + 7) / 8;
    if (format.Kind != TRasterKind::Pwg) {
        header.cupsColorSpace = format.Space;
        header.cupsNumColors = 0;
    }
    // What PWG raster carries in part: text filling its field, text with bytes after its end, and an
    // imaging box in points, partly off the sheet.
    std::memset(header.MediaType, 'x', sizeof header.MediaType);
    std::strcpy(header.MediaColor, "white");
    header.MediaColor[40] = '!';
    const float box[] = {-0.6f, 12.5f, 611.9f, 790.02f};
    std::copy(std::begin(box), std::end(box), header.cupsImagingBBox);
    return header;
}

// The fields that a PWG header carries whole.
auto carried(const cups_page_header2_t& h) {
    return std::tuple(h.cupsWidth, h.cupsHeight, h.cupsBitsPerColor, h.cupsBitsPerPixel, h.cupsBytesPerLine,
                      h.cupsColorOrder, h.cupsColorSpace, h.cupsNumColors, h.HWResolution[0],
                      h.HWResolution[1], h.PageSize[0], h.PageSize[1], h.Duplex, h.Tumble, h.cupsInteger[0],
                      h.cupsInteger[1], h.cupsInteger[2], std::string(h.cupsPageSizeName),
                      std::string(h.MediaColor));
}

struct TWrittenPage {
    cups_page_header2_t Header;
    TContent Content;
    qsizetype End; // where the page ends in our stream
};

class RasterEncoderStreams : public testing::TestWithParam<TFormat> {};

TEST_P(RasterEncoderStreams, AreLibcupsBytesAndReadBack) {
    const TFormat& format = GetParam();
    QByteArray ours = RasterStreamStart(format.Kind);
    QByteArray theirs;
    QList<TWrittenPage> pages;
    {
        const TRaster writer = OpenRasterWriter(theirs, modeOf(format.Kind));
        for (unsigned width : Widths)
            for (const TPageCase& page : Pages) {
                cups_page_header2_t header = headerOf(format, width, page.Height);
                ASSERT_TRUE(cupsRasterWriteHeader2(writer.get(), &header));
                TRasterPageEncoder encoder(format.Kind, header, ours);
                for (unsigned y = 0; y < page.Height; ++y) {
                    const QByteArray line = lineOf(page.Content, header.cupsBytesPerLine, y);
                    ASSERT_EQ(cupsRasterWritePixels(writer.get(), bytesOf(line), header.cupsBytesPerLine),
                              header.cupsBytesPerLine);
                    encoder.WriteLine(bytesOf(line));
                }
                pages.append({header, page.Content, ours.size()});
            }
    }

    const auto differs = std::mismatch(ours.cbegin(), ours.cend(), theirs.cbegin(), theirs.cend()).first;
    const qsizetype at = differs - ours.cbegin();
    const auto page = std::find_if(pages.cbegin(), pages.cend(), [&](const auto& p) { return at < p.End; });
    ASSERT_EQ(ours.size(), theirs.size())
        << "first difference at byte " << at << ", page " << page - pages.cbegin();
    ASSERT_TRUE(ours == theirs) << "first difference at byte " << at << ", page " << page - pages.cbegin();

    const TRasterReader reader(ours);
    ASSERT_TRUE(reader.Raster());
    cups_page_header2_t header;
    for (int index = 0; index < pages.size(); ++index) {
        SCOPED_TRACE(testing::Message() << "page " << index);
        cups_page_header2_t written = pages[index].Header;
        written.cupsNumColors = format.Colours;
        ASSERT_TRUE(cupsRasterReadHeader2(reader.Raster(), &header));
        if (format.Kind == TRasterKind::Pwg)
            EXPECT_EQ(carried(header), carried(written));
        else
            EXPECT_EQ(std::memcmp(&header, &written, sizeof header), 0) << "the header as it was written";
        QByteArray line(header.cupsBytesPerLine, Qt::Uninitialized);
        for (unsigned y = 0; y < header.cupsHeight; ++y) {
            ASSERT_EQ(cupsRasterReadPixels(reader.Raster(), bytesOf(line), header.cupsBytesPerLine),
                      header.cupsBytesPerLine);
            ASSERT_EQ(line, lineOf(pages[index].Content, line.size(), y)) << "line " << y;
        }
    }
    EXPECT_FALSE(cupsRasterReadHeader2(reader.Raster(), &header)) << "a page beyond the last";
}

constexpr auto Pwg = TRasterKind::Pwg;
constexpr auto Cups = TRasterKind::Cups;
constexpr auto Compressed = TRasterKind::CupsCompressed;

INSTANTIATE_TEST_SUITE_P(RasterEncoderFormats, RasterEncoderStreams,
                         testing::Values(TFormat{"PwgGray8", Pwg, "sgray_8", CUPS_CSPACE_SW, 1},
                                         TFormat{"PwgRgb8", Pwg, "srgb_8", CUPS_CSPACE_SRGB, 3},
                                         TFormat{"PwgBlack1", Pwg, "black_1", CUPS_CSPACE_K, 1},
                                         TFormat{"PwgGray16", Pwg, "sgray_16", CUPS_CSPACE_SW, 1},
                                         TFormat{"PwgRgb16", Pwg, "srgb_16", CUPS_CSPACE_SRGB, 3},
                                         TFormat{"CupsW1", Cups, "sgray_1", CUPS_CSPACE_W, 1},
                                         TFormat{"CupsW8", Cups, "sgray_8", CUPS_CSPACE_W, 1},
                                         TFormat{"CupsK1", Cups, "black_1", CUPS_CSPACE_K, 1},
                                         TFormat{"CupsK8", Cups, "black_8", CUPS_CSPACE_K, 1},
                                         TFormat{"CupsRgb8", Cups, "rgb_8", CUPS_CSPACE_RGB, 3},
                                         TFormat{"CupsCmyk8", Cups, "cmyk_8", CUPS_CSPACE_CMYK, 4},
                                         TFormat{"CompressedW1", Compressed, "sgray_1", CUPS_CSPACE_W, 1},
                                         TFormat{"CompressedW8", Compressed, "sgray_8", CUPS_CSPACE_W, 1},
                                         TFormat{"CompressedK1", Compressed, "black_1", CUPS_CSPACE_K, 1},
                                         TFormat{"CompressedK8", Compressed, "black_8", CUPS_CSPACE_K, 1},
                                         TFormat{"CompressedW16", Compressed, "sgray_16", CUPS_CSPACE_W, 1},
                                         TFormat{"CompressedRgb8", Compressed, "rgb_8", CUPS_CSPACE_RGB, 3},
                                         TFormat{"CompressedCmyk8", Compressed, "cmyk_8", CUPS_CSPACE_CMYK,
                                                 4}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TBadHeader {
    const char* Name;
    void (*Spoil)(cups_page_header2_t& header);
};

void PrintTo(const TBadHeader& c, std::ostream* os) {
    *os << c.Name;
}

class RasterEncoderRefusals : public testing::TestWithParam<TBadHeader> {};

TEST_P(RasterEncoderRefusals, RaiseAndWriteNothing) {
    cups_page_header2_t header;
    cupsRasterInitPWGHeader(&header, pwgMediaForPWG("na_letter_8.5x11in"), "sgray_8", 10, 10, "one-sided",
                            nullptr);
    GetParam().Spoil(header);
    for (TRasterKind kind : {Pwg, Cups, Compressed}) {
        QByteArray out;
        EXPECT_THROW(TRasterPageEncoder(kind, header, out), EPrinter);
        EXPECT_TRUE(out.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(RasterEncoderHeaders, RasterEncoderRefusals,
                         testing::Values(TBadHeader{"NoWidth",
                                                    [](auto& h) {
                                                        h.cupsWidth = h.cupsBytesPerLine = 0;
                                                    }},
                                         TBadHeader{"NoHeight",
                                                    [](auto& h) {
                                                        h.cupsHeight = 0;
                                                    }},
                                         TBadHeader{"TooWide",
                                                    [](auto& h) {
                                                        h.cupsWidth = h.cupsBytesPerLine = 0x1000000;
                                                    }},
                                         TBadHeader{"ThreeBitsPerColour",
                                                    [](auto& h) {
                                                        h.cupsBitsPerColor = h.cupsBitsPerPixel = 3;
                                                        h.cupsBytesPerLine = (h.cupsWidth * 3 + 7) / 8;
                                                    }},
                                         TBadHeader{"BitsPerPixelBeyondTheColours",
                                                    [](auto& h) {
                                                        h.cupsBitsPerPixel = 16;
                                                        h.cupsBytesPerLine = h.cupsWidth * 2;
                                                    }},
                                         TBadHeader{"LineLongerThanTheWidth",
                                                    [](auto& h) {
                                                        ++h.cupsBytesPerLine;
                                                    }},
                                         TBadHeader{"UnknownColourSpace",
                                                    [](auto& h) {
                                                        h.cupsColorSpace = cups_cspace_t(99);
                                                        h.cupsNumColors = 0;
                                                    }},
                                         TBadHeader{"PartPixels",
                                                    [](auto& h) {
                                                        h.cupsColorSpace = CUPS_CSPACE_RGB;
                                                        h.cupsNumColors = 3;
                                                        h.cupsBitsPerColor = 4;
                                                        h.cupsBitsPerPixel = 12;
                                                        h.cupsWidth = 3;
                                                        h.cupsBytesPerLine = 5;
                                                    }},
                                         TBadHeader{"SixteenColours",
                                                    [](auto& h) {
                                                        h.cupsNumColors = 16;
                                                    }},
                                         TBadHeader{"UnknownColourOrder",
                                                    [](auto& h) {
                                                        h.cupsColorOrder = cups_order_t(3);
                                                    }}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(RasterEncoder, RefusesALineBeyondThePage) {
    cups_page_header2_t header;
    cupsRasterInitPWGHeader(&header, pwgMediaForPWG("na_letter_8.5x11in"), "sgray_8", 10, 10, "one-sided",
                            nullptr);
    header.cupsHeight = 2;
    const QByteArray line(header.cupsBytesPerLine, 0);
    for (TRasterKind kind : {Pwg, Cups, Compressed}) {
        QByteArray out;
        TRasterPageEncoder encoder(kind, header, out);
        encoder.WriteLine(bytesOf(line));
        encoder.WriteLine(bytesOf(line));
        EXPECT_THROW(encoder.WriteLine(bytesOf(line)), EPrinter);
    }
}

} // namespace
