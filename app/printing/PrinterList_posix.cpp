#include "app/printing/PrinterList.h"

#include "app/printing/Lpoptions.h"

#include <cups/cups.h>

namespace {

int addDestination(void* data, unsigned, cups_dest_t* dest) {
    auto* list = static_cast<TPrinterList*>(data);
    QString name = QString::fromUtf8(dest->name);
    if (dest->instance)
        name += u'/' + QString::fromUtf8(dest->instance);
    if (dest->is_default)
        list->DefaultIndex = int(list->Names.size());
    list->Names.append(name);
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
    cupsEnumDests(CUPS_DEST_FLAGS_NONE, 0, nullptr, 0, CUPS_PRINTER_DISCOVERED, addDestination, &list);
    if (list.DefaultIndex >= 0)
        return list;
    if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE) {
        list.Missing = QStringLiteral("The print system cannot be reached at \"%1\"")
                           .arg(QString::fromUtf8(cupsServer()));
    } else if (const auto [name, where] = userDefault(); !name.isEmpty()) {
        list.Missing =
            QStringLiteral("The default printer \"%1\", named in %2, does not exist in the print system")
                .arg(name, where);
    }
    return list;
}
