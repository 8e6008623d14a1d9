// What the assignment table and its editor ask of the printing interface: the installed printers in the
// system's order and the default printer. Tests hand in a fixed list instead of the print system.
#pragma once

#include "pdf/Exception.h"

#include <QString>
#include <QStringList>

// A failure of the printing interface.
class EPrinter : public Exception {
public:
    using Exception::Exception;
};

class TPrinterNames {
public:
    virtual ~TPrinterNames() = default;
    virtual QStringList Printers() const = 0;
    virtual QString DefaultPrinter() const = 0; // empty when the system has none
};

// The print system's own printers (CUPS on Linux).
class TSystemPrinterNames final : public TPrinterNames {
public:
    QStringList Printers() const override;
    QString DefaultPrinter() const override;
};

// The current printer while nothing has selected one: the entry of the printer list that names the default
// printer, compared without regard to case. Raises EPrinter when there is no such entry.
QString CurrentPrinterName(const TPrinterNames& Names);
