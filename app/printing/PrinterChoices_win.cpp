#include "app/printing/PrinterChoices.h"

// Windows prints through Qt's stream, which takes none of the printer's own options from Kestrova.
TPrinterChoices ReadPrinterChoices(const QString&) {
    return {};
}
