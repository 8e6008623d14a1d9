// Saving and image reading as a program that edits documents waits for them: TPdf's SaveAs of the 36-page
// manual to memory and to a file, and every image of an image-heavy page read as a bitmap, each beside the
// raw engine calls that do the same work.
#include "BenchDocuments.h"
#include "pdf/Pdf.h"
#include "pdf/binding/EngineHandles.h"
#include "pdf/core/Rendering.h"
#include "pdf/engine/FPdfEdit.h"
#include "pdf/engine/FPdfSave.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <unistd.h>

using namespace PDFium;

namespace {

const QString Manual = QStringLiteral(KESTROVA_TESTDATA_DIR "/realworld/libtasn1.pdf");
const QString ImagePage = QStringLiteral(KESTROVA_TESTDATA_DIR "/pdf/embedded_images.pdf");

TPdf* TheManual() {
    static TPdf* pdf = Opened(Manual);
    return pdf;
}

TPdf* TheImagePage() {
    static TPdf* pdf = Opened(ImagePage);
    return pdf;
}

QString Target() {
    static QTemporaryDir dir;
    return dir.filePath("saved.pdf");
}

// The raw engine's sinks: bytes appended to memory, or written to a file.
struct MemoryWrite {
    FPDF_FILEWRITE Write;
    QByteArray* Bytes;
};
int AppendBlock(FPDF_FILEWRITE* pThis, const void* data, unsigned long size) {
    reinterpret_cast<MemoryWrite*>(pThis)->Bytes->append(static_cast<const char*>(data), qsizetype(size));
    return 1;
}
struct FileWrite {
    FPDF_FILEWRITE Write;
    FILE* File;
};
int FileBlock(FPDF_FILEWRITE* pThis, const void* data, unsigned long size) {
    return std::fwrite(data, 1, size, reinterpret_cast<FileWrite*>(pThis)->File) == size ? 1 : 0;
}

void BM_TPdfSaveToMemory(benchmark::State& state) {
    if (Skip(state, Manual))
        return;
    TPdf* pdf = TheManual();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        pdf->SaveAs(buffer, saNoIncremental, pvUnknown);
        benchmark::DoNotOptimize(buffer.data().constData());
    }
}

void BM_RawSaveToMemory(benchmark::State& state) {
    if (Skip(state, Manual))
        return;
    FPDF_DOCUMENT document = TheManual()->Document();
    for (auto _ : state) {
        QByteArray bytes;
        MemoryWrite sink{{1, &AppendBlock}, &bytes};
        FPDF_SaveAsCopy(document, &sink.Write, FPDF_NO_INCREMENTAL);
        benchmark::DoNotOptimize(bytes.constData());
    }
}

void BM_TPdfSaveToFile(benchmark::State& state) {
    if (Skip(state, Manual))
        return;
    TPdf* pdf = TheManual();
    const QString target = Target();
    for (auto _ : state)
        pdf->SaveAs(target, saNoIncremental, pvUnknown);
}

// The same promise by hand: a new file beside the target, on the disk before it takes the target's place.
void BM_RawSaveToFile(benchmark::State& state) {
    if (Skip(state, Manual))
        return;
    FPDF_DOCUMENT document = TheManual()->Document();
    const QByteArray target = Target().toLocal8Bit();
    const QByteArray temporary = target + ".new";
    for (auto _ : state) {
        FileWrite sink{{1, &FileBlock}, std::fopen(temporary.constData(), "wb")};
        FPDF_SaveAsCopy(document, &sink.Write, FPDF_NO_INCREMENTAL);
        std::fflush(sink.File);
        fsync(fileno(sink.File));
        std::fclose(sink.File);
        std::rename(temporary.constData(), target.constData());
    }
}

void BM_TPdfImageBitmaps(benchmark::State& state) {
    if (Skip(state, ImagePage))
        return;
    TPdf* pdf = TheImagePage();
    for (auto _ : state) {
        const int count = pdf->ImageCount();
        for (int index = 0; index < count; ++index) {
            QImage bitmap = pdf->Bitmap(index);
            benchmark::DoNotOptimize(bitmap.constBits());
        }
    }
}

void BM_RawImageBitmaps(benchmark::State& state) {
    if (Skip(state, ImagePage))
        return;
    FPDF_PAGE page = TheImagePage()->Page();
    for (auto _ : state) {
        const int count = FPDFPage_CountObjects(page);
        for (int index = 0; index < count; ++index) {
            FPDF_PAGEOBJECT object = FPDFPage_GetObject(page, index);
            if (FPDFPageObj_GetType(object) != FPDF_PAGEOBJ_IMAGE)
                continue;
            const OwnedBitmap bitmap(FPDFImageObj_GetBitmap(object));
            QImage image;
            ToBitmap(bitmap.get(), image);
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}

} // namespace

BENCHMARK(BM_RawSaveToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TPdfSaveToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawSaveToFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TPdfSaveToFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawImageBitmaps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TPdfImageBitmaps)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
