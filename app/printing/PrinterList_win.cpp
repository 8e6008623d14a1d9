#include "app/printing/PrinterList.h"

#include <QPrinterInfo>

TPrinterList ReadPrinterList() {
    TPrinterList list;
    list.Names = QPrinterInfo::availablePrinterNames();
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    for (qsizetype i = 0; !defaultName.isEmpty() && i < list.Names.size(); ++i) {
        if (list.Names[i].compare(defaultName, Qt::CaseInsensitive) == 0)
            list.DefaultIndex = int(i);
    }
    return list;
}
