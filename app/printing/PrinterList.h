// The system's printers and its default printer, read from the local print system in one call, without a
// browse of the network: the printers in the system's order, a CUPS instance as "Queue/instance".
//
// When there is no default printer, Missing says why in words for the user: the print system cannot be
// reached, or the user's default names a printer that the print system lacks (as lp refuses it). It is empty
// when the system simply has no default.
#pragma once

#include <QString>
#include <QStringList>

struct TPrinterList {
    QStringList Names;
    int DefaultIndex = -1;
    QString Missing;
};

TPrinterList ReadPrinterList();
