// kestrova-view's window on a 1,000-page document made from the shared manual: the time to the first page
// painted, beside the raw engine opening the document and rendering its first page at the view's size; a
// frame of scrolling, as pages come into sight and once they have been rendered, with the renders it cost;
// Page Down to the painted frame; a repaint of an unchanged page with and without the view's cache; the
// peak memory after each of three passes through the whole document; and a search for a word that no page
// holds, with the longest the window's event loop waited on it.
#include "ViewerWindow.h"
#include "pdf/engine/FPdfView.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <ctime>

using namespace PDFium;

namespace {

const QString Manual = QStringLiteral(KESTROVA_TESTDATA_DIR "/realworld/libtasn1.pdf");
constexpr int LongDocumentPages = 1000;

// The manual's pages again and again up to 1,000, written once for the run.
QString LongDocument() {
    static QTemporaryDir folder;
    static const QString name = [] {
        TPdf manual;
        manual.SetFileName(Manual);
        manual.SetActive(true);
        TPdf pages;
        pages.CreateDocument();
        while (pages.PageCount() < LongDocumentPages) {
            const int more = std::min(manual.PageCount(), LongDocumentPages - pages.PageCount());
            pages.ImportPages(manual, QStringLiteral("1-%1").arg(more), pages.PageCount() + 1);
        }
        const QString written = folder.filePath(QStringLiteral("long.pdf"));
        pages.SaveAs(written, saNoIncremental, pvUnknown);
        return written;
    }();
    return name;
}

// A shown viewer window of 1000 by 800, its errors fatal.
TViewerWindow* NewViewer() {
    auto* window = new TViewerWindow;
    window->ShowError = [](const QString& message) {
        qFatal("%s", qPrintable(message));
    };
    window->show();
    return window;
}

// The viewer, open on the long document at page 1 and fitted to the width.
TViewerWindow& Viewer() {
    static TViewerWindow* window = [] {
        TViewerWindow* opened = NewViewer();
        opened->OpenFile(LongDocument());
        QCoreApplication::processEvents();
        return opened;
    }();
    return *window;
}

QScrollBar& Bar(TViewerWindow& window) {
    return *window.findChild<QAbstractScrollArea*>(QStringLiteral("saPage"))->verticalScrollBar();
}

// The page area painted, as the event loop would do it next.
void Paint(TViewerWindow& window) {
    window.findChild<QAbstractScrollArea*>(QStringLiteral("saPage"))->viewport()->repaint();
}

bool Skip(benchmark::State& state) {
    if (QFileInfo::exists(Manual))
        return false;
    state.SkipWithError("shared test data not found: ../shared/testdata/realworld/libtasn1.pdf");
    return true;
}

// Page Down on the current view, and the page area painted.
void PageDown(TViewerWindow& window) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QCoreApplication::sendEvent(&window.View(), &key);
    Paint(window);
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

// A memory figure of the process from its status, in megabytes: VmHWM, the resident peak so far, or VmRSS,
// what is resident now.
double Megabytes(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

void BM_TimeToFirstPage(benchmark::State& state) {
    if (Skip(state))
        return;
    const QString document = LongDocument();
    for (auto _ : state) {
        TViewerWindow* window = NewViewer();
        window->OpenFile(document);
        Paint(*window);
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}

void BM_RawEngineFirstPage(benchmark::State& state) {
    if (Skip(state))
        return;
    const QByteArray document = LongDocument().toLocal8Bit();
    const int width = Viewer().View().width();
    const int height = Viewer().View().height();
    for (auto _ : state) {
        FPDF_DOCUMENT opened = FPDF_LoadDocument(document.constData(), nullptr);
        FPDF_PAGE page = FPDF_LoadPage(opened, 0);
        FPDF_BITMAP bitmap = FPDFBitmap_Create(width, height, 0);
        FPDFBitmap_FillRect(bitmap, 0, 0, width, height, 0xFFFFFFFF);
        FPDF_RenderPageBitmap(bitmap, page, 0, 0, width, height, 0, FPDF_ANNOT);
        benchmark::DoNotOptimize(FPDFBitmap_GetBuffer(bitmap));
        FPDFBitmap_Destroy(bitmap);
        FPDF_ClosePage(page);
        FPDF_CloseDocument(opened);
    }
}

// A frame of scrolling by a wheel's three lines: Arg 0 down through the document, pages coming into sight;
// Arg 1 to and fro over two pages already rendered.
void BM_ScrollFrame(benchmark::State& state) {
    if (Skip(state))
        return;
    TViewerWindow& window = Viewer();
    QScrollBar& bar = Bar(window);
    const bool rendered = state.range(0) != 0;
    window.GoToPage(rendered ? 10 : 1);
    Paint(window);
    const int start = bar.value();
    const int step = 3 * bar.singleStep();
    const int span = window.View().height() / step;
    RenderCounter counter;
    int frame = 0;
    for (auto _ : state) {
        if (rendered)
            bar.setValue(start + (frame % (2 * span) < span ? frame % span : span - frame % span) * step);
        else if (bar.value() >= bar.maximum())
            bar.setValue(0);
        else
            bar.setValue(bar.value() + step);
        Paint(window);
        ++frame;
    }
    state.counters["renders_per_frame"] = double(RenderCounter::Renders) / double(state.iterations());
}

void BM_PageDownToPaintedFrame(benchmark::State& state) {
    if (Skip(state))
        return;
    TViewerWindow& window = Viewer();
    window.GoToPage(1);
    for (auto _ : state) {
        if (Bar(window).value() >= Bar(window).maximum()) {
            state.PauseTiming();
            window.GoToPage(1);
            state.ResumeTiming();
        }
        PageDown(window);
    }
    state.counters["width"] = window.View().width();
    state.counters["height"] = window.View().height();
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

// Page Down from the first page to the last, three times, with the resident peak and what is resident after
// each pass.
void BM_PeakMemoryOverThreePasses(benchmark::State& state) {
    if (Skip(state))
        return;
    TViewerWindow& window = Viewer();
    for (auto _ : state)
        for (int pass = 1; pass <= 3; ++pass) {
            window.GoToPage(1);
            Paint(window);
            while (Bar(window).value() < Bar(window).maximum())
                PageDown(window);
            state.counters["peak_MB_pass" + std::to_string(pass)] = Megabytes("VmHWM");
            state.counters["resident_MB_pass" + std::to_string(pass)] = Megabytes("VmRSS");
        }
    state.counters["pages"] = window.Pdf().PageCount();
}

// The processor time the calling thread has used, in milliseconds: what it did itself, whatever else the
// machine ran meanwhile.
double ThreadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
}

// A word that no page holds, sought from page 1 through every page until the window says "No match": the
// time that takes, and the longest the event loop went without a turn on the way (a timer that fires on
// every turn measures the gaps), the call that starts the search included; in wall time, and in the window
// thread's own processor time, which a busy machine does not stretch.
void BM_AbsentWordSearch(benchmark::State& state) {
    if (Skip(state))
        return;
    TViewerWindow& window = Viewer();
    auto* label = window.findChild<QLabel*>(QStringLiteral("lSearch"));
    qint64 longest = 0;
    double longestWork = 0;
    int run = 0;
    for (auto _ : state) {
        window.GoToPage(1);
        Paint(window);
        QElapsedTimer turn;
        turn.start();
        double work = ThreadMilliseconds();
        const auto turnEnds = [&] {
            longest = std::max(longest, turn.restart());
            const double now = ThreadMilliseconds();
            longestWork = std::max(longestWork, now - work);
            work = now;
        };
        // A text of its own each time, so that no page's matches are known from the run before.
        window.Find(QStringLiteral("zqxjv absent %1").arg(++run));
        turnEnds();
        QEventLoop loop;
        QTimer everyTurn;
        everyTurn.setInterval(0);
        QObject::connect(&everyTurn, &QTimer::timeout, &loop, [&] {
            turnEnds();
            if (label->text().trimmed() == QStringLiteral("No match"))
                loop.quit();
        });
        everyTurn.start();
        loop.exec();
        state.PauseTiming();
        window.findChild<QAction*>(QStringLiteral("acStopSearch"))->trigger();
        state.ResumeTiming();
    }
    state.counters["longest_hold_ms"] = double(longest);
    state.counters["longest_hold_cpu_ms"] = longestWork;
    state.counters["pages"] = window.Pdf().PageCount();
}

} // namespace

BENCHMARK(BM_RawEngineFirstPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimeToFirstPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageDownToPaintedFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintUnchangedPage)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemoryOverThreePasses)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AbsentWordSearch)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
