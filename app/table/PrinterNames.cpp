#include "app/table/PrinterNames.h"

#include <QPrinterInfo>

QStringList TSystemPrinterNames::Printers() const {
    return QPrinterInfo::availablePrinterNames();
}

QString TSystemPrinterNames::DefaultPrinter() const {
    return QPrinterInfo::defaultPrinterName();
}

QString CurrentPrinterName(const TPrinterNames& Names) {
    const QString defaultPrinter = Names.DefaultPrinter();
    if (!defaultPrinter.isEmpty())
        for (const QString& name : Names.Printers())
            if (name.compare(defaultPrinter, Qt::CaseInsensitive) == 0)
                return name;
    throw EPrinter(QStringLiteral("There is no default printer currently selected"));
}
