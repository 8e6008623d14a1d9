// Documents that the benchmarks open once for a whole run, and the skip for a run without the shared data.
#pragma once

#include "pdf/Pdf.h"

#include <QFileInfo>
#include <benchmark/benchmark.h>

// A component with File open and its first page current, kept for the whole run.
inline PDFium::TPdf* Opened(const QString& file) {
    auto* pdf = new PDFium::TPdf;
    pdf->SetFileName(file);
    pdf->SetPageNumber(1);
    pdf->SetActive(true);
    return pdf;
}

// Ends the benchmark with a reason when File is absent.
inline bool Skip(benchmark::State& state, const QString& file) {
    if (QFileInfo::exists(file))
        return false;
    state.SkipWithError(qPrintable("shared test data not found: " + file));
    return true;
}
