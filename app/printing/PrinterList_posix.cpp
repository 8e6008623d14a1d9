#include "app/printing/PrinterList.h"

#include "app/printing/Lpoptions.h"
#include "app/printing/PrintSystemReach.h"

#include <cups/cups.h>

namespace {

int addDestination(void* data, unsigned, cups_dest_t* dest) {
    QString name = QString::fromUtf8(dest->name);
    if (dest->instance)
        name += u'/' + QString::fromUtf8(dest->instance);
    static_cast<QStringList*>(data)->append(name);
    return 1;
}

// The default printer the user named, where CUPS looks for it before it asks the print system, and where it
// was named; empty when the user named none.
TNamedDefault userDefault() {
    if (const QString name = qEnvironmentVariable("LPDEST"); !name.isEmpty())
        return {name, QStringLiteral("the environment variable LPDEST")};
    if (const QString name = qEnvironmentVariable("PRINTER"); !name.isEmpty() && name != u"lp")
        return {name, QStringLiteral("the environment variable PRINTER")};
    return LpoptionsDefault();
}

} // namespace

TPrinterList ReadPrinterList() {
    TPrinterList list;
    // Printers that the print system only discovered on the network are left out, and with them the browse.
    cupsEnumDests(CUPS_DEST_FLAGS_NONE, 0, nullptr, 0, CUPS_PRINTER_DISCOVERED, addDestination, &list.Names);
    if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE &&
        !(list.Missing = PrintSystemUnreachable()).isEmpty()) {
        return list;
    }
    // The default is looked up here, as CUPS looks it up: the destinations it enumerates carry the default
    // mark of the user's lpoptions, not the one PRINTER or LPDEST gives a queue that lpoptions also names.
    const TNamedDefault named = userDefault();
    const char* server = named.Printer.isEmpty() ? cupsGetDefault2(CUPS_HTTP_DEFAULT) : nullptr;
    const QString wanted = named.Printer.isEmpty() ? QString::fromUtf8(server ? server : "") : named.Printer;
    for (qsizetype i = 0; !wanted.isEmpty() && i < list.Names.size(); ++i) {
        if (list.Names[i].compare(wanted, Qt::CaseInsensitive) == 0)
            list.DefaultIndex = int(i);
    }
    if (list.DefaultIndex < 0 && !named.Printer.isEmpty()) {
        list.Missing =
            QStringLiteral("The default printer \"%1\", named in %2, does not exist in the print system")
                .arg(named.Printer, named.Where);
    }
    return list;
}
