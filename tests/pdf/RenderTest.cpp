// Rendering on the real engine: the bitmap overloads (fill, shift, format, the caller's image), the
// device-context overload through a QPainter, and the unit routines ToBitmap, ColorToARGB and
// EncodeRenderOptions.
#include "pdf/Pdf.h"
#include "pdf/binding/Binding.h"
#include "pdf/binding/LibraryLoader.h"
#include "pdf/core/Rendering.h"
#include "pdf/engine/FPdfView.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

using namespace PDFium;

namespace {

// A Letter page with a line of black text near its top left.
FixtureDocument TextPage() {
    FixtureDocument document;
    document.Pages = {SizedPage({612, 792}, 0, QStringLiteral("Kestrova renders this line"))};
    return document;
}

int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

bool IsWhite(QRgb pixel) {
    return (pixel & 0xFFFFFF) == 0xFFFFFF;
}

class RenderTest : public testing::Test {
protected:
    void Open(const FixtureDocument& document) {
        bytes = MakePdf(document);
        pdf.SetPageNumber(1);
        pdf.LoadDocument(bytes);
    }

    QByteArray bytes;
    TPdf pdf;
};

} // namespace

TEST_F(RenderTest, AnEmptyPageIsWhiteWithEveryOption) {
    Open({});
    const QImage image = pdf.RenderPage(0, 0, 153, 198, ro0, AllRenderOptions, clWhite);
    ASSERT_EQ(image.size(), QSize(153, 198));
    EXPECT_EQ(image.depth(), 32);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(row[x] & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
    }
}

TEST_F(RenderTest, TextIsDrawnOnTheFillColour) {
    Open(TextPage());
    struct Case {
        TRenderOptions options;
        TColor color;
        QRgb fill;
    };
    const Case cases[] = {
        {AllRenderOptions, clWhite, 0xFFFFFF},
        {{}, clWhite, 0xFFFFFF},
        {{reAnnotations, reLcd}, 0x0000FF /* red */, 0xFF0000},
        {{reReverseByteOrder}, 0x0000FF /* red: the fill keeps the engine's byte order */, 0xFF0000},
        {{}, 0xFF0000 /* blue */, 0x0000FF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.Mask());
        const QImage image = pdf.RenderPage(0, 0, 612, 792, ro0, c.options, c.color);
        EXPECT_EQ(image.depth(), 32);
        EXPECT_EQ(image.pixel(600, 780) & 0xFFFFFF, c.fill);
        // The text sits in the band between 696 and 720 points from the bottom.
        const int inked =
            CountPixels(image, QRect(72, 60, 400, 40), [&](QRgb p) { return (p & 0xFFFFFF) != c.fill; });
        EXPECT_GT(inked, 200);
        EXPECT_EQ(
            CountPixels(image, QRect(0, 200, 612, 592), [&](QRgb p) { return (p & 0xFFFFFF) != c.fill; }), 0);
    }
}

TEST_F(RenderTest, LeftAndTopShiftThePageInsideTheBitmap) {
    Open(TextPage());
    const QImage base = pdf.RenderPage(0, 0, 306, 396, ro0, {}, clWhite);
    const QImage shifted = pdf.RenderPage(10, 20, 306, 396, ro0, {}, clWhite);
    ASSERT_EQ(shifted.size(), QSize(306, 396));
    for (int y = 0; y < 396; ++y)
        for (int x = 0; x < 306; ++x) {
            const QRgb expected = x < 10 || y < 20 ? 0xFFFFFFFF : base.pixel(x - 10, y - 20);
            ASSERT_EQ(shifted.pixel(x, y), expected) << x << "," << y;
        }
}

TEST_F(RenderTest, IntoTheCallersImageWhichIsResizedAndReformatted) {
    Open(TextPage());
    QImage image(5, 5, QImage::Format_Mono);
    pdf.RenderPage(&image, 0, 0, 61, 79, ro0, AllRenderOptions, clWhite);
    EXPECT_EQ(image.size(), QSize(61, 79));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image, pdf.RenderPage(0, 0, 61, 79, ro0, AllRenderOptions, clWhite));

    // Without an image nothing happens and nothing is raised.
    EXPECT_EQ(ErrorOf([&] { pdf.RenderPage(nullptr, 0, 0, 61, 79, ro0, {}, clWhite); }),
              QStringLiteral("<none>"));
}

// With no colour the page is drawn over the image's pixels as they are: what the page leaves uncovered keeps
// them, and the page's own marks are those of a rendering on white. An image that has to be made anew, of
// another size or format, starts white.
TEST_F(RenderTest, WithNoColourThePageIsDrawnOverTheImage) {
    Open(TextPage());
    const QImage onWhite = pdf.RenderPage(0, 0, 153, 198, ro0, {}, clWhite);
    QImage image(153, 198, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(200, 0, 0));
    pdf.RenderPage(&image, 0, 0, 153, 198, ro0, {}, clNone);
    EXPECT_EQ(image.pixel(0, 0), qRgb(200, 0, 0));
    image.setPixel(0, 0, qRgb(255, 255, 255));
    EXPECT_EQ(image, onWhite);

    QImage other(10, 10, QImage::Format_RGB32);
    other.fill(Qt::black);
    pdf.RenderPage(&other, 0, 0, 153, 198, ro0, {}, clNone);
    EXPECT_EQ(other, onWhite);
}

// A grayscale rendering into an 8-bit gray image stays 8-bit gray, with the gray of the 32-bit rendering in
// every pixel, also for a page with transparency; without the grayscale option the image becomes 32-bit. A
// colour rendering in reversed byte order into an RGB888 image stays RGB888, with the same colours.
TEST_F(RenderTest, IntoEightBitGrayAndRgbImages) {
    REQUIRE_TESTDATA("pdf/annotation_highlight_square_with_ap.pdf");
    for (const QString& document : {QString(), testDataPath("pdf/annotation_highlight_square_with_ap.pdf")}) {
        SCOPED_TRACE(document.toStdString());
        if (document.isEmpty()) {
            Open(TextPage());
        } else {
            pdf.SetActive(false);
            pdf.SetFileName(document);
            pdf.SetPageNumber(1);
            pdf.SetActive(true);
        }
        const QImage colour = pdf.RenderPage(0, 0, 153, 198, ro0, AllRenderOptions, clWhite);
        QImage gray(1, 1, QImage::Format_Grayscale8);
        pdf.RenderPage(&gray, 0, 0, 153, 198, ro0, AllRenderOptions, clWhite);
        ASSERT_EQ(gray.format(), QImage::Format_Grayscale8);
        ASSERT_EQ(gray.size(), colour.size());
        int differing = 0;
        for (int y = 0; y < gray.height(); ++y)
            for (int x = 0; x < gray.width(); ++x)
                differing += gray.constScanLine(y)[x] != qRed(colour.pixel(x, y));
        EXPECT_EQ(differing, 0);
        pdf.RenderPage(&gray, 0, 0, 153, 198, ro0, {}, clWhite);
        EXPECT_EQ(gray.depth(), 32);

        // In colour, RGB888 in reversed byte order gives the 32-bit rendering's colours.
        const QImage full = pdf.RenderPage(0, 0, 153, 198, ro0, {reAnnotations}, clWhite);
        QImage rgb(1, 1, QImage::Format_RGB888);
        pdf.RenderPage(&rgb, 0, 0, 153, 198, ro0, {reAnnotations, reReverseByteOrder}, clWhite);
        ASSERT_EQ(rgb.format(), QImage::Format_RGB888);
        EXPECT_EQ(rgb, full.convertToFormat(QImage::Format_RGB888));
    }
}

TEST_F(RenderTest, ABitmapTheEngineCannotCreateRaises) {
    Open({});
    for (QSize size : {QSize(0, 10), QSize(10, -1), QSize(100000, 100000)}) {
        SCOPED_TRACE(size.width());
        EXPECT_EQ(ErrorOf([&] { pdf.RenderPage(0, 0, size.width(), size.height(), ro0, {}, clWhite); }),
                  QStringLiteral("Cannot create bitmap"));
    }
}

TEST_F(RenderTest, RotationTurnsTheBitmap) {
    Open(TextPage());
    const QImage upright = pdf.RenderPage(0, 0, 306, 396, ro0, {}, clWhite);
    const QImage turned = pdf.RenderPage(0, 0, 396, 306, ro90, {}, clWhite);
    ASSERT_EQ(turned.size(), QSize(396, 306));
    // A quarter turn clockwise: the upright pixel (x, y) lands at (395 - y, x).
    int differing = 0;
    for (int y = 0; y < 396; y += 3)
        for (int x = 0; x < 306; x += 3)
            differing += upright.pixel(x, y) != turned.pixel(395 - y, x) ? 1 : 0;
    EXPECT_LT(differing, 102 * 132 / 50); // anti-aliasing differs at the edges of turned glyphs
    EXPECT_LT(CountPixels(turned, QRect(0, 0, 396, 306), IsWhite), 396 * 306);
}

TEST_F(RenderTest, APageWithTransparencyGivesThirtyTwoBits) {
    REQUIRE_TESTDATA("pdf/annotation_highlight_square_with_ap.pdf");
    pdf.SetFileName(testDataPath("pdf/annotation_highlight_square_with_ap.pdf"));
    pdf.SetPageNumber(1);
    pdf.SetActive(true);
    const QImage image = pdf.RenderPage(0, 0, 100, 100, ro0, AllRenderOptions, clWhite);
    EXPECT_EQ(image.depth(), 32);
    EXPECT_EQ(image.size(), QSize(100, 100));
}

TEST_F(RenderTest, ASystemColourIsResolvedThroughThePalette) {
    Open({});
    const QPalette saved = QGuiApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Active, QPalette::Base, QColor(10, 120, 230));
    QGuiApplication::setPalette(palette);
    const TColor windowColour = 0xFF000005; // the system's window background
    EXPECT_EQ(ColorToARGB(windowColour, 255), 0xFF0A78E6u);
    const QImage image = pdf.RenderPage(0, 0, 20, 20, ro0, {}, windowColour);
    QGuiApplication::setPalette(saved);
    EXPECT_EQ(image.pixel(0, 0), 0xFF0A78E6u);
    EXPECT_EQ(image.pixel(19, 19), 0xFF0A78E6u);
}

TEST(ColorToARGB, GivesTheEnginesAARRGGBB) {
    struct Case {
        TColor color;
        quint8 alpha;
        FPDF_DWORD argb;
    };
    const Case cases[] = {
        {clWhite, 255, 0xFFFFFFFF},    {clBlack, 255, 0xFF000000}, {0x0000FF, 255, 0xFFFF0000},
        {0x00FF00, 128, 0x8000FF00},   {0xFF0000, 0, 0x000000FF},  {0x123456, 0x9A, 0x9A563412},
        {0x7F123456, 255, 0xFF563412}, // only a top byte of 0xFF names a system colour
        {0xFF0000FF, 255, 0xFF000000}, // an index beyond the system colours is black
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorToARGB(c.color, c.alpha), c.argb) << std::hex << c.color;
}

TEST(EncodeRenderOptions, MapsEveryOptionToItsFlag) {
    struct Case {
        TRenderOptions options;
        int flags;
    };
    const Case cases[] = {
        {{}, 0},
        {AllRenderOptions, 0x7F9F},
        {{reAnnotations}, 0x01},
        {{reLcd}, 0x02},
        {{reNoNativeText}, 0x04},
        {{reGrayscale}, 0x08},
        {{reDebugInfo}, 0x80},
        {{reNoCatchException}, 0x100},
        {{reLimitCache}, 0x200},
        {{reHalftone}, 0x400},
        {{rePrinting}, 0x800},
        {{reReverseByteOrder}, 0x10},
        {{reNoSmoothText}, 0x1000},
        {{reNoSmoothImage}, 0x2000},
        {{reNoSmoothPath}, 0x4000},
        {{reGrayscale, rePrinting, reReverseByteOrder}, 0x818},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeRenderOptions(c.options), c.flags) << c.options.Mask();
}

// Engine bitmaps of every format, with rows padded beyond their pixels, keep their bytes in the copy.
TEST(ToBitmap, KeepsTheEnginesBytesForEveryFormat) {
    LoadLibrary();
    struct Case {
        int format;
        QImage::Format imageFormat;
        int bytesPerPixel;
    };
    const Case cases[] = {
        {FPDFBitmap_Gray, QImage::Format_Grayscale8, 1},
        {FPDFBitmap_BGR, QImage::Format_BGR888, 3},
        {FPDFBitmap_BGRx, QImage::Format_RGB32, 4},
        {FPDFBitmap_BGRA, QImage::Format_ARGB32, 4},
    };
    const int width = 7;
    const int height = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const int stride = width * c.bytesPerPixel + 13;
        QByteArray pixels(stride * height, '\0');
        for (int i = 0; i < pixels.size(); ++i)
            pixels[i] = char(i * 7 + 3);
        std::unique_ptr<fpdf_bitmap_t__, void (*)(FPDF_BITMAP)> bitmap(
            FPDFBitmap_CreateEx(width, height, c.format, pixels.data(), stride), FPDFBitmap_Destroy);
        ASSERT_NE(bitmap, nullptr);
        ASSERT_EQ(FPDFBitmap_GetFormat(bitmap.get()), c.format);
        QImage image(3, 3, QImage::Format_Mono);
        ToBitmap(bitmap.get(), image);
        EXPECT_EQ(image.format(), c.imageFormat);
        EXPECT_EQ(image.size(), QSize(width, height));
        for (int row = 0; row < height; ++row)
            EXPECT_EQ(std::memcmp(image.constScanLine(row), pixels.constData() + row * stride,
                                  width * c.bytesPerPixel),
                      0)
                << "row " << row;
    }
}

TEST(ToBitmap, AnEngineBitmapOfItsOwnMakingIsCopiedWhole) {
    LoadLibrary();
    std::unique_ptr<fpdf_bitmap_t__, void (*)(FPDF_BITMAP)> bitmap(FPDFBitmap_Create(33, 17, 1),
                                                                   FPDFBitmap_Destroy);
    ASSERT_NE(bitmap, nullptr);
    FPDFBitmap_FillRect(bitmap.get(), 0, 0, 33, 17, 0x80102030);
    FPDFBitmap_FillRect(bitmap.get(), 32, 16, 1, 1, 0xFFA0B0C0);
    QImage image;
    ToBitmap(bitmap.get(), image);
    ASSERT_EQ(image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(image.pixel(0, 0), 0x80102030u);
    EXPECT_EQ(image.pixel(32, 16), 0xFFA0B0C0u);
}

TEST_F(RenderTest, OntoADeviceContextThroughAPainter) {
    Open(TextPage());
    QImage canvas(400, 500, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        pdf.RenderPage(&painter, 30, 40, 306, 396, ro0, {});
    }
    // Only the page's text is drawn, inside the rectangle; nothing is filled around it.
    const QRect page(30, 40, 306, 396);
    EXPECT_GT(CountPixels(canvas, page, [](QRgb p) { return !IsWhite(p); }), 100);
    EXPECT_EQ(CountPixels(canvas, QRect(0, 0, 400, 40), [](QRgb p) { return !IsWhite(p); }), 0);
    EXPECT_EQ(CountPixels(canvas, QRect(0, 0, 30, 500), [](QRgb p) { return !IsWhite(p); }), 0);

    // The same text as the bitmap rendering shows at the same place.
    const QImage bitmap = pdf.RenderPage(0, 0, 306, 396, ro0, {}, clWhite);
    int differing = 0;
    for (int y = 0; y < 396; ++y)
        for (int x = 0; x < 306; ++x)
            differing += IsWhite(bitmap.pixel(x, y)) != IsWhite(canvas.pixel(x + 30, y + 40)) ? 1 : 0;
    EXPECT_LT(differing, 30);
}

TEST_F(RenderTest, OntoADeviceContextColoursKeepTheirPlaceWithEveryOption) {
    REQUIRE_TESTDATA("pdf/text_color.pdf");
    pdf.SetFileName(testDataPath("pdf/text_color.pdf"));
    pdf.SetPageNumber(1);
    pdf.SetActive(true);
    const int width = int(pdf.PageWidth());
    const int height = int(pdf.PageHeight());
    const QImage bitmap = pdf.RenderPage(0, 0, width, height, ro0, {}, clWhite);
    for (TRenderOptions options : {TRenderOptions{}, TRenderOptions{reReverseByteOrder}}) {
        SCOPED_TRACE(options.Mask());
        QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            pdf.RenderPage(&painter, 0, 0, width, height, ro0, options);
        }
        // Red and blue must not trade places: compare the strongest pixel's channels.
        int redder = 0, bluer = 0, canvasRedder = 0, canvasBluer = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const QRgb b = bitmap.pixel(x, y), c = canvas.pixel(x, y);
                redder += qRed(b) > qBlue(b) + 60 ? 1 : 0;
                bluer += qBlue(b) > qRed(b) + 60 ? 1 : 0;
                canvasRedder += qRed(c) > qBlue(c) + 60 ? 1 : 0;
                canvasBluer += qBlue(c) > qRed(c) + 60 ? 1 : 0;
            }
        EXPECT_GT(redder + bluer, 0);
        EXPECT_NEAR(canvasRedder, redder, redder / 4 + 5);
        EXPECT_NEAR(canvasBluer, bluer, bluer / 4 + 5);
    }
}

TEST(RenderOwnFreeType, APageMatchesTheEngineInAProcessWithoutQt) {
    // Qt's GUI library, loaded in this process, brings the system's FreeType; the engine carries its own,
    // whose glyphs on this page differ by dozens of grey levels.
    REQUIRE_TESTDATA("pdf/latin_extended.pdf");
    if (!LibraryLoader::OwnSymbolsFirst())
        GTEST_SKIP() << "this build's loader binds the engine's calls in load order";
    const QString file = testDataPath("pdf/latin_extended.pdf");
    TPdf pdf;
    pdf.SetFormFill(false);
    pdf.SetFileName(file);
    pdf.SetPageNumber(1);
    pdf.SetActive(true);
    const int width = qRound(pdf.PageWidth());
    const int height = qRound(pdf.PageHeight());
    const QImage here =
        pdf.RenderPage(0, 0, width, height, ro0, {}, clWhite).convertToFormat(QImage::Format_RGB888);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString reference = dir.filePath("reference.ppm");
    QProcess standalone;
    standalone.start(QStringLiteral(KESTROVA_BIN_DIR "/standalone_render"),
                     {QStringLiteral(KESTROVA_BIN_DIR "/libpdfium.so"), file, "1", QString::number(width),
                      QString::number(height), reference});
    ASSERT_TRUE(standalone.waitForFinished(60000));
    ASSERT_EQ(standalone.exitCode(), 0) << standalone.readAllStandardError().toStdString();
    const QImage alone = QImage(reference).convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(alone.size(), here.size());

    int differing = 0;
    int largest = 0;
    for (int y = 0; y < height; ++y) {
        const uchar* a = here.constScanLine(y);
        const uchar* b = alone.constScanLine(y);
        for (int x = 0; x < width * 3; ++x) {
            const int difference = std::abs(a[x] - b[x]);
            differing += difference != 0 ? 1 : 0;
            largest = std::max(largest, difference);
        }
    }
    EXPECT_EQ(largest, 0) << differing << " colour values differ";
}
