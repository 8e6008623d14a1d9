// The engine alone rendering every page of a document with the print job's options (grayscale among them)
// into one 8-bit gray bitmap, as the print job renders: the yardstick of the whole print job (bench/job.py).
// The document is KESTROVA_BENCH_PDF, else the 36-page manual; the resolution is KESTROVA_BENCH_DPI, else
// 300 dpi. KESTROVA_BENCH_PART "k/n" renders only every n-th page from the k-th (from 0), so that n
// processes side by side share the document.
#include "pdf/binding/Binding.h"
#include "pdf/core/Rendering.h"
#include "pdf/engine/FPdfView.h"

#include <QByteArray>
#include <QFileInfo>
#include <QList>
#include <QtGlobal>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace PDFium;

namespace {

QByteArray DocumentPath() {
    const QByteArray chosen = qgetenv("KESTROVA_BENCH_PDF");
    return chosen.isEmpty() ? QByteArray(KESTROVA_TESTDATA_DIR "/realworld/libtasn1.pdf") : chosen;
}

void BM_RawEngineRenderDocument(benchmark::State& state) {
    const QByteArray path = DocumentPath();
    if (!QFileInfo::exists(QString::fromLocal8Bit(path))) {
        state.SkipWithError("document not found");
        return;
    }
    LoadLibrary();
    FPDF_DOCUMENT document = FPDF_LoadDocument(path.constData(), "");
    if (!document) {
        state.SkipWithError("document cannot be opened");
        return;
    }
    // The byte order means nothing to gray pixels; the print job leaves it out for them too.
    const int flags = EncodeRenderOptions(AllRenderOptions) & ~FPDF_REVERSE_BYTE_ORDER;
    const QList<QByteArray> part = qgetenv("KESTROVA_BENCH_PART").split('/');
    const int first = part.size() == 2 ? part[0].toInt() : 0;
    const int stride = part.size() == 2 && part[1].toInt() > 0 ? part[1].toInt() : 1;
    const double dpi = qEnvironmentVariableIntValue("KESTROVA_BENCH_DPI") > 0
                           ? qEnvironmentVariableIntValue("KESTROVA_BENCH_DPI")
                           : 300;
    const int pages = FPDF_GetPageCount(document);
    QByteArray pixels;
    for (auto _ : state) {
        for (int index = first; index < pages; index += stride) {
            FPDF_PAGE page = FPDF_LoadPage(document, index);
            const int width = int(std::lround(FPDF_GetPageWidth(page) * dpi / 72));
            const int height = int(std::lround(FPDF_GetPageHeight(page) * dpi / 72));
            if (pixels.size() < qsizetype(width) * height)
                pixels.resize(qsizetype(width) * height);
            FPDF_BITMAP bitmap = FPDFBitmap_CreateEx(width, height, FPDFBitmap_Gray, pixels.data(), width);
            FPDFBitmap_FillRect(bitmap, 0, 0, width, height, 0xFFFFFFFF);
            FPDF_RenderPageBitmap(bitmap, page, 0, 0, width, height, 0, flags);
            benchmark::DoNotOptimize(FPDFBitmap_GetBuffer(bitmap));
            FPDFBitmap_Destroy(bitmap);
            FPDF_ClosePage(page);
        }
    }
    state.counters["pages"] = pages;
    FPDF_CloseDocument(document);
}

BENCHMARK(BM_RawEngineRenderDocument)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
