// Encoding a printed page as PWG raster in memory: libcups' raster writer beside our raster encoder, which
// writes the same bytes. The page is one of the 36-page manual's, rendered once as the print job renders it:
// Letter at 600 dpi, 5100 x 6600 pixels, in 8-bit gray with every render option, and in 8-bit sRGB with all
// of them but gray.
#include "BenchDocuments.h"
#include "app/printing/RasterEncoder.h"
#include "tests/support/MemoryRaster.h"

#include <cups/raster.h>

#include <QByteArray>
#include <QImage>
#include <benchmark/benchmark.h>

using namespace PDFium;

namespace {

const QString Manual = QStringLiteral(KESTROVA_TESTDATA_DIR "/realworld/libtasn1.pdf");
constexpr int Dpi = 600;
constexpr int PageNumber = 9; // running text and code listings

struct TPage {
    cups_page_header2_t Header;
    QImage Image;
};

// The page in gray (Colour 0) or in colour (1), with its header, rendered once for the run.
TPage& Rendered(int colour) {
    static TPage pages[2];
    TPage& page = pages[colour];
    if (page.Image.isNull()) {
        cupsRasterInitPWGHeader(&page.Header, pwgMediaForPWG("na_letter_8.5x11in"),
                                colour ? "srgb_8" : "sgray_8", Dpi, Dpi, "one-sided", nullptr);
        static TPdf* pdf = Opened(Manual);
        pdf->SetPageNumber(PageNumber);
        const int width = int(page.Header.cupsWidth);
        const int height = int(page.Header.cupsHeight);
        page.Image = QImage(width, height, colour ? QImage::Format_RGB888 : QImage::Format_Grayscale8);
        TRenderOptions options = AllRenderOptions;
        if (colour) {
            options = {};
            for (int option = reAnnotations; option <= reNoSmoothPath; ++option)
                if (option != reGrayscale)
                    options.Include(TRenderOption(option));
        }
        pdf->RenderPage(&page.Image, 0, 0, width, height, ro0, options, clWhite);
    }
    return page;
}

void report(benchmark::State& state, const TPage& page, const QByteArray& out) {
    state.SetBytesProcessed(int64_t(state.iterations()) * page.Image.sizeInBytes());
    state.counters["encoded_kb"] = double(out.size()) / 1024;
}

void BM_LibcupsWriter(benchmark::State& state) {
    if (Skip(state, Manual))
        return;
    TPage& page = Rendered(int(state.range(0)));
    QByteArray out;
    for (auto _ : state) {
        out.clear();
        const TRaster raster = OpenRasterWriter(out, CUPS_RASTER_WRITE_PWG);
        cupsRasterWriteHeader2(raster.get(), &page.Header);
        for (int y = 0; y < page.Image.height(); ++y)
            cupsRasterWritePixels(raster.get(), page.Image.scanLine(y), page.Header.cupsBytesPerLine);
        benchmark::DoNotOptimize(out.constData());
    }
    report(state, page, out);
}

void BM_RasterPageEncoder(benchmark::State& state) {
    if (Skip(state, Manual))
        return;
    TPage& page = Rendered(int(state.range(0)));
    QByteArray out;
    for (auto _ : state) {
        out = RasterStreamStart(TRasterKind::Pwg);
        TRasterPageEncoder encoder(TRasterKind::Pwg, page.Header, out);
        for (int y = 0; y < page.Image.height(); ++y)
            encoder.WriteLine(page.Image.constScanLine(y));
        benchmark::DoNotOptimize(out.constData());
    }
    report(state, page, out);
}

} // namespace

BENCHMARK(BM_LibcupsWriter)->ArgName("colour")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RasterPageEncoder)->ArgName("colour")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
