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

TQtPrintStream::TQtPrintStream(const QPrinterInfo& Info, const TOptionValues& LinkOptions)
    : FPrinter(Info, QPrinter::ScreenResolution) {
    FOptions = ReadPrintOptions(LinkOptions);
    for (const QByteArray& option : PrinterOptionNames()) {
        if (FOptions.Given.contains(option))
            throw EPrinter(
                QStringLiteral("The printer \"%1\" takes no %2 from Kestrova: it takes no PWG raster")
                    .arg(Info.printerName(), QString::fromLatin1(option)));
    }
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
    return !QPrinterInfo::printerInfo(FPrinter.printerName()).isNull();
}

// Qt hands the document to the print system when its painter ends, and cannot take it back: the painter
// begins only when the document gets its first page, so that one abandoned before never reaches the printer.
bool TQtPrintStream::started() {
    return FCanvas.isActive() || FCanvas.begin(&FPrinter);
}

void TQtPrintStream::Draw(const QImage& Bitmap) {
    if (started())
        FCanvas.drawImage(Bitmap.offset(), Bitmap);
}

void TQtPrintStream::NewPage() {
    if (!started() || !FPrinter.newPage())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
}

void TQtPrintStream::End() {
    if (!started())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    FCanvas.end();
}

void TQtPrintStream::Abort() {
    if (!FCanvas.isActive())
        return;
    FPrinter.abort();
    FCanvas.end();
}
