// Reading a document's text: CharacterCount and Text of every page, and a search for a common word on every
// page, through TPdf beside the raw engine calls that do the same work (page, text page, characters, search),
// over the 36 pages of a real manual.
#include "pdf/Pdf.h"
#include "pdf/binding/Binding.h"
#include "pdf/engine/FPdfText.h"
#include "pdf/engine/FPdfView.h"

#include <QFileInfo>
#include <QString>
#include <benchmark/benchmark.h>

using namespace PDFium;

namespace {

const QString Document = QStringLiteral(KESTROVA_TESTDATA_DIR "/realworld/libtasn1.pdf");
const QString Word = QStringLiteral("the");

bool Skip(benchmark::State& state) {
    if (QFileInfo::exists(Document))
        return false;
    state.SkipWithError("shared test data not found: ../shared/testdata/realworld/libtasn1.pdf");
    return true;
}

// The document in a component, open for the whole run.
TPdf* Component() {
    static TPdf* pdf = [] {
        auto* opened = new TPdf;
        opened->SetFileName(Document);
        opened->SetActive(true);
        return opened;
    }();
    return pdf;
}

// The same document opened straight through the engine.
FPDF_DOCUMENT RawDocument() {
    static FPDF_DOCUMENT document = [] {
        LoadLibrary();
        return FPDF_LoadDocument(Document.toLocal8Bit().constData(), nullptr);
    }();
    return document;
}

// Runs Work(text page) on every page of the raw document, with the page and text page loaded for it.
template <typename Work> void EveryRawPage(Work work) {
    FPDF_DOCUMENT document = RawDocument();
    const int pages = FPDF_GetPageCount(document);
    for (int index = 0; index < pages; ++index) {
        FPDF_PAGE page = FPDF_LoadPage(document, index);
        FPDF_TEXTPAGE textPage = FPDFText_LoadPage(page);
        work(textPage);
        FPDFText_ClosePage(textPage);
        FPDF_ClosePage(page);
    }
}

// Runs Work() on every page of the component, each page made current in turn.
template <typename Work> void EveryComponentPage(Work work) {
    TPdf* pdf = Component();
    const int pages = pdf->PageCount();
    for (int page = 1; page <= pages; ++page) {
        pdf->SetPageNumber(page);
        work(*pdf);
    }
    pdf->SetPageNumber(0);
}

void BM_RawEngineText(benchmark::State& state) {
    if (Skip(state))
        return;
    for (auto _ : state)
        EveryRawPage([](FPDF_TEXTPAGE textPage) {
            const int count = FPDFText_CountChars(textPage);
            QString text(count, Qt::Uninitialized);
            FPDFText_GetText(textPage, 0, count, reinterpret_cast<unsigned short*>(text.data()));
            benchmark::DoNotOptimize(text.constData());
        });
}

void BM_TPdfText(benchmark::State& state) {
    if (Skip(state))
        return;
    for (auto _ : state)
        EveryComponentPage([](TPdf& pdf) {
            const QString text = pdf.Text(0, pdf.CharacterCount());
            benchmark::DoNotOptimize(text.constData());
        });
}

void BM_RawEngineSearch(benchmark::State& state) {
    if (Skip(state))
        return;
    int matches = 0;
    for (auto _ : state) {
        matches = 0;
        EveryRawPage([&](FPDF_TEXTPAGE textPage) {
            FPDF_SCHHANDLE find =
                FPDFText_FindStart(textPage, reinterpret_cast<FPDF_WIDESTRING>(Word.utf16()), 0, 0);
            while (FPDFText_FindNext(find)) {
                benchmark::DoNotOptimize(FPDFText_GetSchResultIndex(find));
                ++matches;
            }
            FPDFText_FindClose(find);
        });
    }
    state.counters["matches"] = matches;
}

void BM_TPdfSearch(benchmark::State& state) {
    if (Skip(state))
        return;
    int matches = 0;
    for (auto _ : state) {
        matches = 0;
        EveryComponentPage([&](TPdf& pdf) {
            for (int index = pdf.FindFirst(Word, {}, 0, true); index >= 0; index = pdf.FindNext())
                ++matches;
        });
    }
    state.counters["matches"] = matches;
}

} // namespace

BENCHMARK(BM_RawEngineText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TPdfText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawEngineSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TPdfSearch)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
