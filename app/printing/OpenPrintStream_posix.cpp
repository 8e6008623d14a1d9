#include "app/printing/OpenPrintStream.h"

#include "app/printing/PwgPrintStream.h"
#include "app/printing/QtPrintStream.h"

#include <QPrinterInfo>

std::unique_ptr<TPrintStream> OpenPrintStream(const QString& PrinterName, const TOptionValues& LinkOptions) {
    // A destination the print system does not know refuses the job in its own words; it never falls to Qt's
    // stream, whose printer of that name would be the default printer.
    if (auto destination = std::make_unique<TCupsDestination>(PrinterName);
        !destination->Found() || destination->TakesPwgRaster() || destination->TakesFormat("application/pdf"))
        return std::make_unique<TPwgPrintStream>(std::move(destination), LinkOptions);
    return std::make_unique<TQtPrintStream>(QPrinterInfo::printerInfo(PrinterName), LinkOptions);
}
