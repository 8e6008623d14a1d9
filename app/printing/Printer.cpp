#include "app/printing/Printer.h"

#include "app/printing/DefaultResolution.h"
#include "app/printing/EPrinter.h"

#include <QImage>
#include <QLocale>
#include <QPrinter>
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

[[noreturn]] void notPrinting() {
    throw EPrinter(QStringLiteral("Printer is not currently printing"));
}

} // namespace

int FindPrinter(const QStringList& Printers, const QString& Name) {
    const QLocale locale;
    const QString wanted = locale.toLower(Name);
    for (qsizetype i = 0; i < Printers.size(); ++i) {
        if (Printers[i].size() == Name.size() && locale.toLower(Printers[i]) == wanted)
            return int(i);
    }
    return -1;
}

TPrinter::TPrinter() : FPrinters(QPrinterInfo::availablePrinterNames()) {}

TPrinter::~TPrinter() {
    if (FPrinting && FCanvas.isActive())
        FCanvas.end();
}

int TPrinter::PrinterIndex() const {
    return FPrinterIndex >= 0 ? FPrinterIndex : defaultIndex();
}

int TPrinter::defaultIndex() const {
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    for (qsizetype i = 0; !defaultName.isEmpty() && i < FPrinters.size(); ++i) {
        if (FPrinters[i].compare(defaultName, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    throw EPrinter(QStringLiteral("There is no default printer currently selected"));
}

void TPrinter::SetPrinterIndex(int Index) {
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (Index < -1 || Index >= FPrinters.size())
        throw EPrinter(QStringLiteral("Printer index out of range"));
    FPrinterIndex = Index == -1 ? defaultIndex() : Index;
    FDevice.reset();
}

QPrinter& TPrinter::device() {
    if (!FDevice) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(FPrinters.value(PrinterIndex()));
        FDevice = std::make_unique<QPrinter>(info, QPrinter::ScreenResolution);
        FDevice->setResolution(resolutionOf(info));
        // QPrinter starts from its own paper, not the printer's.
        FDevice->setPageSize(info.defaultPageSize());
        FDevice->setFullPage(false);
    }
    return *FDevice;
}

void TPrinter::BeginDoc() {
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    QPrinter& printer = device();
    printer.setDocName(FTitle);
    FPrinting = !QPrinterInfo::printerInfo(printer.printerName()).isNull();
}

bool TPrinter::started() {
    if (FPrinting && !FCanvas.isActive() && !FCanvas.begin(&device()))
        FPrinting = false;
    return FPrinting;
}

QPainter& TPrinter::Canvas() {
    started();
    return FCanvas;
}

void TPrinter::NewPage() {
    if (!started() || !device().newPage())
        notPrinting();
}

void TPrinter::EndDoc() {
    if (!started())
        notPrinting();
    FPrinting = false;
    FCanvas.end();
}

void TPrinter::Abort() {
    if (!FPrinting)
        notPrinting();
    FPrinting = false;
    if (FCanvas.isActive()) {
        device().abort();
        FCanvas.end();
    }
}

int TPrinter::PageWidth() {
    return device().width();
}

int TPrinter::PageHeight() {
    return device().height();
}

int TPrinter::Resolution() {
    return device().resolution();
}

void PrintBitmap(TPrinter& Printer, const QImage& Bitmap) {
    if (Printer.Printing() && Printer.Canvas().isActive())
        Printer.Canvas().drawImage(QPoint(0, 0), Bitmap);
}
