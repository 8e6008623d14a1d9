#include "app/printing/OpenPrintStream.h"

#include "app/printing/QtPrintStream.h"

#include <QPrinterInfo>

std::unique_ptr<TPrintStream> OpenPrintStream(const QString& PrinterName, const TOptionValues& LinkOptions) {
    return std::make_unique<TQtPrintStream>(QPrinterInfo::printerInfo(PrinterName), LinkOptions);
}
