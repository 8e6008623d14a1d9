// Kestrova's CUPS filter alone against the program's own page loop, on the 36-page manual at 600 dpi in gray:
// the filter as the print system runs it (its raster into /dev/null) with one rendering process and with two,
// and the in-process loop that renders each page and encodes it on the print stream's encoder threads. Both
// make the same raster; the times are wall-clock, since the filter's work is done in its worker processes.
#include "BenchDocuments.h"
#include "app/job/PageRendering.h"
#include "app/printing/FilterJob.h"
#include "app/printing/PagePipeline.h"
#include "app/printing/PwgPageWriter.h"
#include "pdf/Pdf.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

const QString Document = QStringLiteral(KESTROVA_TESTDATA_DIR "/realworld/libtasn1.pdf");

// Every page of the manual on Letter at 600 dpi with quarter-inch margins, in gray.
TFilterJob ManualJob() {
    TFilterJob job;
    job.Setup.Resolution = 600;
    job.Setup.SheetWidth = 5100;
    job.Setup.SheetHeight = 6600;
    for (int* margin : {&job.Setup.Left, &job.Setup.Top, &job.Setup.Right, &job.Setup.Bottom})
        *margin = 150;
    for (int page = 1; page <= 36; ++page)
        job.Pages.append(page);
    return job;
}

void BM_InProcessPageLoop(benchmark::State& state) {
    if (Skip(state, Document))
        return;
    const TFilterJob job = ManualJob();
    const TPwgPageSetup& setup = job.Setup;
    QFile nowhere(QStringLiteral("/dev/null"));
    nowhere.open(QIODevice::WriteOnly);
    for (auto _ : state) {
        PDFium::TPdf pdf;
        pdf.SetFileName(Document);
        pdf.SetActive(true);
        // As the print stream runs it: an encoder a processor, its raster sent in order.
        TPagePipeline pipeline(
            std::min(7, QThread::idealThreadCount()),
            [&setup](const QImage& page, int index) { return EncodePwgPage(setup, page, index); },
            [&nowhere](const QByteArray& bytes, int) { nowhere.write(bytes); });
        TPageBitmap bitmap;
        for (const int page : job.Pages) {
            RenderPlacedPage(pdf, page, RenderingOn(setup, job.Scaling, job.Orientation, job.Color), bitmap);
            pipeline.Submit(bitmap.Image);
            bitmap.White = !bitmap.Image.isNull();
        }
        pipeline.Finish();
    }
}

void BM_Filter(benchmark::State& state) {
    if (Skip(state, Document))
        return;
    QStringList options;
    const TOptionValues attributes = FilterJobAttributes(ManualJob());
    for (auto it = attributes.begin(); it != attributes.end(); ++it)
        options.append(QString::fromLatin1(it.key() + '=' + it.value()));
    for (auto _ : state) {
        QProcess filter;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KESTROVA_FILTER_WORKERS"), QString::number(state.range(0)));
        filter.setProcessEnvironment(environment);
        filter.setStandardOutputFile(QProcess::nullDevice());
        filter.setStandardErrorFile(QProcess::nullDevice());
        filter.start(QStringLiteral(KESTROVA_BIN_DIR "/kestrova-pdftoraster"),
                     {"1", "lp", "manual", "1", options.join(' '), Document});
        if (!filter.waitForFinished(600000) || filter.exitCode() != 0)
            state.SkipWithError("the filter failed");
    }
}

} // namespace

BENCHMARK(BM_InProcessPageLoop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Filter)->ArgName("workers")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// QProcess wants an application object.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
