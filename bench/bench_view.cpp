// Paging through the 36-page manual in kestrova-view's window: from the Page Down key to the painted page,
// beside the raw engine loading and rendering the same page at the view's size; a repaint of an unchanged
// page with and without the view's cache, with the renders it cost; and the peak memory after each of three
// passes through the document.
#include "ViewerWindow.h"
#include "pdf/binding/Binding.h"
#include "pdf/engine/FPdfView.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

using namespace PDFium;

namespace {

const QString Document = QStringLiteral(KESTROVA_TESTDATA_DIR "/realworld/libtasn1.pdf");

// The viewer, open on the manual at page 1 and fitted to the width of a 1000 by 800 window.
TViewerWindow& Viewer() {
    static TViewerWindow* window = [] {
        auto* opened = new TViewerWindow;
        opened->ShowError = [](const QString& message) {
            qFatal("%s", qPrintable(message));
        };
        opened->show();
        opened->OpenFile(Document);
        QCoreApplication::processEvents();
        return opened;
    }();
    return *window;
}

bool Skip(benchmark::State& state) {
    if (QFileInfo::exists(Document))
        return false;
    state.SkipWithError("shared test data not found: ../shared/testdata/realworld/libtasn1.pdf");
    return true;
}

// Page Down on the view, and the view painted, as the event loop would do it next.
void TurnPage(TViewerWindow& window) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QCoreApplication::sendEvent(&window.View(), &key);
    window.View().repaint();
}

// Counts the engine's renders while it lives, passing each on.
class RenderCounter {
public:
    RenderCounter() {
        Original = std::exchange(FPDF_RenderPageBitmap, &Count);
        Renders = 0;
    }
    ~RenderCounter() { FPDF_RenderPageBitmap = Original; }
    static inline int Renders = 0;

private:
    static inline decltype(FPDF_RenderPageBitmap) Original = nullptr;
    static void Count(FPDF_BITMAP bitmap, FPDF_PAGE page, int left, int top, int width, int height,
                      int rotate, int flags) {
        ++Renders;
        Original(bitmap, page, left, top, width, height, rotate, flags);
    }
};

// The resident peak of the process so far, in megabytes.
double PeakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

void BM_PageDownToPaintedPage(benchmark::State& state) {
    if (Skip(state))
        return;
    TViewerWindow& window = Viewer();
    window.GoToPage(1);
    for (auto _ : state) {
        if (window.View().PageNumber() == window.Pdf().PageCount()) {
            state.PauseTiming();
            window.GoToPage(1);
            state.ResumeTiming();
        }
        TurnPage(window);
    }
    state.counters["width"] = window.View().width();
    state.counters["height"] = window.View().height();
}

void BM_RawEngineLoadAndRender(benchmark::State& state) {
    if (Skip(state))
        return;
    TViewerWindow& window = Viewer();
    const int width = window.View().width();
    const int height = window.View().height();
    FPDF_DOCUMENT document = window.Pdf().Document();
    const int count = window.Pdf().PageCount();
    int index = 0;
    for (auto _ : state) {
        FPDF_PAGE page = FPDF_LoadPage(document, index);
        FPDF_BITMAP bitmap = FPDFBitmap_Create(width, height, 0);
        FPDFBitmap_FillRect(bitmap, 0, 0, width, height, 0xFFFFFFFF);
        FPDF_RenderPageBitmap(bitmap, page, 0, 0, width, height, 0, FPDF_ANNOT);
        benchmark::DoNotOptimize(FPDFBitmap_GetBuffer(bitmap));
        FPDFBitmap_Destroy(bitmap);
        FPDF_ClosePage(page);
        index = (index + 1) % count;
    }
}

void BM_RepaintUnchangedPage(benchmark::State& state) {
    if (Skip(state))
        return;
    TViewerWindow& window = Viewer();
    window.GoToPage(1);
    window.View().SetCache(state.range(0) != 0);
    window.View().repaint();
    RenderCounter counter;
    for (auto _ : state)
        window.View().repaint();
    state.counters["renders_per_repaint"] = double(RenderCounter::Renders) / double(state.iterations());
    window.View().SetCache(true);
}

void BM_PeakMemoryOverThreePasses(benchmark::State& state) {
    if (Skip(state))
        return;
    TViewerWindow& window = Viewer();
    for (auto _ : state)
        for (int pass = 1; pass <= 3; ++pass) {
            window.GoToPage(1);
            window.View().repaint();
            while (window.View().PageNumber() < window.Pdf().PageCount())
                TurnPage(window);
            state.counters["peak_MB_pass" + std::to_string(pass)] = PeakMegabytes();
        }
}

} // namespace

BENCHMARK(BM_RawEngineLoadAndRender)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageDownToPaintedPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintUnchangedPage)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemoryOverThreePasses)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
