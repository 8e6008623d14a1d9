#include "app/printing/QtPrintStream.h"

#include "app/printing/DefaultResolution.h"
#include "app/printing/EPrinter.h"

#include <QImage>
#include <QPrinterInfo>

#include <cstdlib>

namespace {

constexpr int PreferredResolution = 300;

// The printer's own default resolution; where the print system does not tell it, the listed resolution
// closest to 300 dpi.
int resolutionOf(const QPrinterInfo& info) {
    if (const int resolution = DefaultResolution(info.printerName()); resolution > 0)
        return resolution;
    int best = PreferredResolution;
    int bestDistance = -1;
    for (const int resolution : info.supportedResolutions()) {
        const int distance = std::abs(resolution - PreferredResolution);
        if (bestDistance < 0 || distance < bestDistance) {
            best = resolution;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

TQtPrintStream::TQtPrintStream(const QPrinterInfo& Info) : FPrinter(Info, QPrinter::ScreenResolution) {
    FPrinter.setResolution(resolutionOf(Info));
    // QPrinter starts from its own paper, not the printer's.
    FPrinter.setPageSize(Info.defaultPageSize());
    FPrinter.setFullPage(false);
}

TQtPrintStream::~TQtPrintStream() {
    if (FCanvas.isActive())
        FCanvas.end();
}

bool TQtPrintStream::Begin(const QString& Title) {
    FPrinter.setDocName(Title);
    const bool printerExists = !QPrinterInfo::printerInfo(FPrinter.printerName()).isNull();
    return printerExists && FCanvas.begin(&FPrinter);
}

void TQtPrintStream::Draw(QImage& Bitmap) {
    FCanvas.drawImage(QPoint(0, 0), Bitmap);
}

void TQtPrintStream::NewPage() {
    if (!FPrinter.newPage())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
}

void TQtPrintStream::End() {
    FCanvas.end();
}

void TQtPrintStream::Abort() {
    FPrinter.abort();
    FCanvas.end();
}
