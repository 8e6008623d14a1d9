// The pieces of the PWG print stream without a print system: page images written as PWG raster and read back
// with libcups, pages encoded apart and joined, and the pipeline that encodes pages side by side while the
// next is rendered and sends them in order.
#include "app/printing/EPrinter.h"
#include "app/printing/PagePipeline.h"
#include "app/printing/PwgPageWriter.h"
#include "support/PwgRaster.h"

#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

// The raster of Pages written with Setup by one writer; a null image is a blank page.
QByteArray WritePages(const TPwgPageSetup& setup, const QList<QImage>& pages) {
    QByteArray data = PwgStreamStart(setup);
    TPwgPageWriter writer(data, setup);
    for (const QImage& page : pages)
        writer.WritePage(page);
    return data;
}

TPwgPageSetup Letter(int dpi, const char* type = "sgray_8") {
    TPwgPageSetup setup;
    setup.Resolution = dpi;
    setup.Type = type;
    setup.SheetWidth = 85 * dpi / 10;
    setup.SheetHeight = 11 * dpi;
    setup.Left = setup.Top = setup.Right = setup.Bottom = dpi / 4;
    return setup;
}

QImage Filled(int width, int height, QImage::Format format, QRgb color) {
    QImage image(width, height, format);
    image.fill(color);
    return image;
}

double MeanOf(const QImage& image, const QRect& area) {
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            sum += image.constScanLine(y)[x];
    return sum / (double(area.width()) * area.height());
}

// Each format the renderer hands over, and the colour spaces a printer takes.
struct WriterCase {
    const char* Name;
    const char* Type;
    QImage::Format Format;
    QRgb Color;
    int Level; // the gray level it must arrive as
    int ColorSpace;
    int BitsPerPixel;
};

void PrintTo(const WriterCase& c, std::ostream* os) {
    *os << c.Name;
}

class PwgWriterTest : public testing::TestWithParam<WriterCase> {};

TEST_P(PwgWriterTest, PlacesTheImageOneToOneInsideTheMargins) {
    const WriterCase& c = GetParam();
    const TPwgPageSetup setup = Letter(100, c.Type);
    const QImage image = Filled(400, 300, c.Format, c.Color);
    const QList<PwgPage> pages = ReadPwgRaster(WritePages(setup, {image, QImage()}));
    ASSERT_EQ(pages.size(), 2);
    for (const PwgPage& page : pages) {
        EXPECT_EQ(page.Resolution, 100);
        EXPECT_EQ(page.Media, "na_letter_8.5x11in");
        EXPECT_EQ(page.ColorSpace, c.ColorSpace);
        EXPECT_EQ(page.BitsPerPixel, c.BitsPerPixel);
        EXPECT_EQ(page.Pixels.size(), QSize(850, 1100));
    }
    const QImage& sheet = pages[0].Pixels;
    // The image, with a dither averaging out over 8 x 8 cells.
    EXPECT_NEAR(MeanOf(sheet, QRect(25, 25, 400, 296)), c.Level, 4);
    EXPECT_EQ(MeanOf(sheet, QRect(0, 0, 850, 25)), 255) << "top margin";
    EXPECT_EQ(MeanOf(sheet, QRect(0, 0, 25, 1100)), 255) << "left margin";
    EXPECT_EQ(MeanOf(sheet, QRect(425, 25, 425, 300)), 255) << "right of the image";
    EXPECT_EQ(MeanOf(sheet, QRect(0, 325, 850, 775)), 255) << "below the image";
    EXPECT_EQ(MeanOf(pages[1].Pixels, pages[1].Pixels.rect()), 255) << "the blank page";
}

INSTANTIATE_TEST_SUITE_P(
    Formats, PwgWriterTest,
    testing::Values(
        WriterCase{"Gray8", "sgray_8", QImage::Format_Grayscale8, qRgb(90, 90, 90), 90, CUPS_CSPACE_SW, 8},
        WriterCase{"Rgb32", "sgray_8", QImage::Format_RGB32, qRgb(90, 90, 90), 90, CUPS_CSPACE_SW, 8},
        WriterCase{"Argb32", "sgray_8", QImage::Format_ARGB32, qRgb(200, 200, 200), 200, CUPS_CSPACE_SW, 8},
        WriterCase{"ColourToGray", "sgray_8", QImage::Format_RGB32, qRgb(255, 0, 0), qGray(255, 0, 0),
                   CUPS_CSPACE_SW, 8},
        WriterCase{"OtherFormat", "sgray_8", QImage::Format_RGB888, qRgb(30, 30, 30), 30, CUPS_CSPACE_SW, 8},
        WriterCase{"Black1Dark", "black_1", QImage::Format_Grayscale8, qRgb(64, 64, 64), 64, CUPS_CSPACE_K,
                   1},
        WriterCase{"Black1Light", "black_1", QImage::Format_RGB32, qRgb(192, 192, 192), 192, CUPS_CSPACE_K,
                   1}),
    [](const auto& info) { return std::string(info.param.Name); });

// The 1-bit dither, pixel by pixel, as an 8 x 8 ordered dither defines it: a pixel is black where its gray is
// below the Bayer matrix's threshold for its place; white runs, odd widths and every level in between.
TEST(PwgWriter, DithersEveryPixelByItsThreshold) {
    static constexpr int Bayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                        {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                                        {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                                        {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
    TPwgPageSetup setup = Letter(50, "black_1");
    setup.Left = setup.Top = setup.Right = setup.Bottom = 0;
    QImage image(425, 40, QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.scanLine(y)[x] = uchar(x < 100 ? 255 : (x * 7 + y * 13) % 256);
    const QList<PwgPage> pages = ReadPwgRaster(WritePages(setup, {image}));
    ASSERT_EQ(pages.size(), 1);
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            wrong += (pages[0].Pixels.constScanLine(y)[x] == 0) !=
                     (image.constScanLine(y)[x] < Bayer[y & 7][x & 7] * 4 + 2);
    EXPECT_EQ(wrong, 0);
}

// An image larger than the printable area is cut at its edges: the margins stay white, as the printer
// cannot print there, and nothing is written past the sheet.
TEST(PwgWriter, CutsAnImageAtThePrintableAreasEdges) {
    const QList<PwgPage> pages =
        ReadPwgRaster(WritePages(Letter(50), {Filled(1000, 1000, QImage::Format_Grayscale8, qRgb(0, 0, 0))}));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(pages[0].Pixels.size(), QSize(425, 550));
    EXPECT_EQ(MeanOf(pages[0].Pixels, QRect(12, 12, 401, 526)), 0);
    for (const QRect margin :
         {QRect(0, 0, 425, 12), QRect(0, 538, 425, 12), QRect(0, 0, 12, 550), QRect(413, 0, 12, 550)})
        EXPECT_EQ(MeanOf(pages[0].Pixels, margin), 255) << margin.x() << "," << margin.y();
}

// A colour setup sends sRGB pixels; an image offset from the printable area's corner lands there, cut where
// it leaves the area.
TEST(PwgWriter, SendsColourAtTheImagesOffset) {
    TPwgPageSetup setup = Letter(50, "srgb_8");
    QImage red = Filled(100, 100, QImage::Format_RGB32, qRgb(220, 20, 20));
    red.setOffset(QPoint(200, -50));
    const QList<PwgPage> pages = ReadPwgRaster(WritePages(setup, {red}));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(pages[0].ColorSpace, CUPS_CSPACE_SRGB);
    EXPECT_EQ(pages[0].BitsPerPixel, 24);
    EXPECT_TRUE(pages[0].Colored);
    EXPECT_EQ(MeanOf(pages[0].Pixels, QRect(212, 12, 100, 50)), qGray(220, 20, 20));
    EXPECT_EQ(MeanOf(pages[0].Pixels, QRect(0, 62, 425, 488)), 255);
    EXPECT_EQ(MeanOf(pages[0].Pixels, QRect(0, 0, 212, 62)), 255);
    EXPECT_EQ(MeanOf(pages[0].Pixels, QRect(0, 0, 425, 12)), 255);
}

// Back sides are turned as the printer asks of them, and say so in their headers; turned back, the page
// stands as it was drawn.
struct BackCase {
    const char* Name;
    const char* Sides;
    const char* SheetBack;
    bool Mirrored;
    bool UpsideDown;
};

void PrintTo(const BackCase& c, std::ostream* os) {
    *os << c.Name;
}

class PwgBackSides : public testing::TestWithParam<BackCase> {};

TEST_P(PwgBackSides, AreTurnedAsThePrinterAsks) {
    const BackCase& c = GetParam();
    TPwgPageSetup setup = Letter(50);
    setup.Sides = c.Sides;
    setup.SheetBack = c.SheetBack;
    const QImage corner = Filled(40, 20, QImage::Format_Grayscale8, qRgb(0, 0, 0));
    const QList<PwgPage> pages = ReadPwgRaster(WritePages(setup, {corner, corner, corner}));
    ASSERT_EQ(pages.size(), 3);
    for (int side = 0; side < 3; ++side) {
        const bool back = side == 1;
        EXPECT_TRUE(pages[side].Duplex);
        EXPECT_EQ(pages[side].Tumble, QByteArray(c.Sides) == "two-sided-short-edge");
        EXPECT_EQ(pages[side].Mirrored, back && c.Mirrored) << "side " << side;
        EXPECT_EQ(pages[side].UpsideDown, back && c.UpsideDown) << "side " << side;
        // The image's corner on the sheet as it arrived, and as it was drawn.
        const QImage& sheet = pages[side].Pixels;
        const int x = back && c.Mirrored ? 425 - 12 - 40 : 12;
        const int y = back && c.UpsideDown ? 550 - 12 - 20 : 12;
        EXPECT_EQ(MeanOf(sheet, QRect(x, y, 40, 20)), 0) << "side " << side;
        EXPECT_EQ(MeanOf(sheet.mirrored(pages[side].Mirrored, pages[side].UpsideDown), QRect(12, 12, 40, 20)),
                  0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Turns, PwgBackSides,
    testing::Values(BackCase{"Normal", "two-sided-long-edge", "normal", false, false},
                    BackCase{"FlippedLongEdge", "two-sided-long-edge", "flipped", false, true},
                    BackCase{"FlippedShortEdge", "two-sided-short-edge", "flipped", true, false},
                    BackCase{"RotatedLongEdge", "two-sided-long-edge", "rotated", true, true},
                    BackCase{"RotatedShortEdge", "two-sided-short-edge", "rotated", false, false},
                    BackCase{"ManualTumbleLongEdge", "two-sided-long-edge", "manual-tumble", false, false},
                    BackCase{"ManualTumbleShortEdge", "two-sided-short-edge", "manual-tumble", true, true}),
    [](const auto& info) { return std::string(info.param.Name); });

// Pages encoded each on its own, back sides among them, and joined after the stream's start make the very
// stream that one writer writes page after page.
TEST(PwgWriter, PagesEncodedApartJoinToTheStreamWrittenWhole) {
    TPwgPageSetup setup = Letter(50);
    setup.Sides = "two-sided-long-edge";
    setup.SheetBack = "rotated";
    QList<QImage> pages;
    for (int shade : {0, 80, 160}) {
        pages.append(Filled(200 + shade, 100, QImage::Format_Grayscale8, qRgb(shade, shade, shade)));
        pages.back().setOffset(QPoint(shade / 4, shade / 2));
    }
    pages.append(QImage());
    QByteArray joined = PwgStreamStart();
    for (int index = 0; index < pages.size(); ++index)
        joined += EncodePwgPage(setup, pages[index], index);
    EXPECT_EQ(joined, WritePages(setup, pages));
    EXPECT_EQ(ReadPwgRaster(joined).size(), 4);
}

TEST(PwgWriter, RefusesPaperThatThePrintSystemDoesNotKnow) {
    TPwgPageSetup setup = Letter(100);
    setup.Media = "no_such_paper";
    EXPECT_THROW(WritePages(setup, {}), EPrinter);
}

// Pages encoded side by side are sent in the order they were handed over, however the encoders overtake each
// other, and the images of encoded pages come back white to be rendered into again: one more than the
// encoders serve a whole document.
TEST(PagePipeline, SendsInOrderAndRecyclesTheImages) {
    constexpr int encoders = 3;
    QList<int> sent;
    QSet<const uchar*> buffers;
    {
        TPagePipeline pipeline(
            encoders,
            [](const QImage& page, int index) {
                // Later pages of each round are encoded faster than the ones before.
                std::this_thread::sleep_for(std::chrono::milliseconds(2 * (encoders - index % encoders)));
                return QByteArray(1, char(page.pixel(0, 0) & 0xFF));
            },
            [&](const QByteArray& bytes, int index) {
                EXPECT_EQ(index, sent.size());
                sent.append(uchar(bytes[0]));
            });
        QImage page;
        for (int shade = 1; shade <= 12; ++shade) {
            if (page.isNull())
                page = QImage(8, 8, QImage::Format_Grayscale8);
            page.fill(shade);
            buffers.insert(page.constBits());
            pipeline.Submit(page);
            const bool white = std::all_of(page.constBits(), page.constBits() + page.sizeInBytes(),
                                           [](uchar byte) { return byte == 0xFF; });
            EXPECT_TRUE(white) << "after page " << shade;
        }
        pipeline.Finish();
    }
    EXPECT_EQ(sent, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_LE(buffers.size(), encoders + 1);
}

// An error of an encoder or of the sender reaches the caller at a later hand-over and at the end, and nothing
// is sent after it.
TEST(PagePipeline, RaisesTheFirstErrorAndSendsNoMore) {
    for (const bool inSender : {false, true}) {
        SCOPED_TRACE(inSender ? "sender" : "encoder");
        std::atomic<int> sent = 0;
        auto failOnSecond = [&](int index) {
            if (index == 1)
                throw EPrinter(QStringLiteral("the printer went away"));
        };
        TPagePipeline pipeline(
            2,
            [&](const QImage&, int index) {
                if (!inSender)
                    failOnSecond(index);
                return QByteArray("page");
            },
            [&](const QByteArray&, int index) {
                if (inSender)
                    failOnSecond(index);
                ++sent;
            });
        QImage page(4, 4, QImage::Format_Grayscale8);
        int submitted = 0;
        try {
            for (; submitted < 50; ++submitted) {
                page = QImage(4, 4, QImage::Format_Grayscale8);
                pipeline.Submit(page);
            }
        } catch (const EPrinter& error) {
            EXPECT_EQ(error.Message(), "the printer went away");
        }
        EXPECT_LT(submitted, 50);
        EXPECT_THROW(pipeline.Finish(), EPrinter);
        // The first page is sent before the sender fails; an encoder may fail before it is.
        if (inSender)
            EXPECT_EQ(sent, 1);
        else
            EXPECT_LE(sent, 1);
    }
}

// A pipeline dropped with pages in hand finishes the pages being encoded or sent and stops; an error then
// goes nowhere.
TEST(PagePipeline, StopsCleanlyWhenDroppedMidway) {
    std::atomic<int> encoded = 0;
    {
        TPagePipeline pipeline(
            2,
            [&](const QImage&, int) -> QByteArray {
                ++encoded;
                throw std::runtime_error("ignored");
            },
            [](const QByteArray&, int) {});
        QImage page(4, 4, QImage::Format_Grayscale8);
        pipeline.Submit(page);
    }
    EXPECT_LE(encoded, 1);
}

} // namespace
