// Rendering a printed page: TPdf's RenderPage into a new image, as the print job calls it (300 dpi Letter,
// all thirteen options, white), beside the raw engine calls that do the same work.
#include "pdf/Pdf.h"
#include "pdf/binding/Binding.h"
#include "pdf/core/Rendering.h"
#include "pdf/engine/FPdfView.h"

#include <QFileInfo>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstring>

using namespace PDFium;

namespace {

constexpr int Width = 2550;
constexpr int Height = 3300;
const QString Document = QStringLiteral(KESTROVA_TESTDATA_DIR "/realworld/libtasn1.pdf");

// The first page of the document, open for the whole run.
TPdf* FirstPage() {
    static TPdf* pdf = [] {
        auto* opened = new TPdf;
        opened->SetFileName(Document);
        opened->SetPageNumber(1);
        opened->SetActive(true);
        return opened;
    }();
    return pdf;
}

bool Skip(benchmark::State& state) {
    if (QFileInfo::exists(Document))
        return false;
    state.SkipWithError("shared test data not found: ../shared/testdata/realworld/libtasn1.pdf");
    return true;
}

void BM_TPdfRenderPage(benchmark::State& state) {
    if (Skip(state))
        return;
    TPdf* pdf = FirstPage();
    for (auto _ : state) {
        QImage image = pdf->RenderPage(0, 0, Width, Height, ro0, AllRenderOptions, clWhite);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_RawEngine(benchmark::State& state) {
    if (Skip(state))
        return;
    FPDF_PAGE page = FirstPage()->Page();
    const int flags = EncodeRenderOptions(AllRenderOptions);
    for (auto _ : state) {
        FPDF_BITMAP bitmap = FPDFBitmap_Create(Width, Height, 0);
        FPDFBitmap_FillRect(bitmap, 0, 0, Width, Height, 0xFFFFFFFF);
        FPDF_RenderPageBitmap(bitmap, page, 0, 0, Width, Height, 0, flags);
        QImage image(Width, Height, QImage::Format_RGB32);
        const auto* source = static_cast<const uchar*>(FPDFBitmap_GetBuffer(bitmap));
        const int stride = FPDFBitmap_GetStride(bitmap);
        for (int row = 0; row < Height; ++row)
            std::memcpy(image.scanLine(row), source + static_cast<size_t>(row) * stride, Width * 4);
        FPDFBitmap_Destroy(bitmap);
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

BENCHMARK(BM_RawEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TPdfRenderPage)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
