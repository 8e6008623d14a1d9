#include "app/printing/OpenPrintStream.h"

#include "app/printing/PwgPrintStream.h"
#include "app/printing/QtPrintStream.h"

#include <QPrinterInfo>

std::unique_ptr<TPrintStream> OpenPrintStream(const QString& PrinterName, const TOptionValues& LinkOptions) {
    if (auto destination = std::make_unique<TCupsDestination>(PrinterName);
        destination->TakesPwgRaster() || destination->TakesFormat("application/pdf"))
        return std::make_unique<TPwgPrintStream>(std::move(destination), LinkOptions);
    return std::make_unique<TQtPrintStream>(QPrinterInfo::printerInfo(PrinterName), LinkOptions);
}
