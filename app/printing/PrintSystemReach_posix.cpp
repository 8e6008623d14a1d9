#include "app/printing/PrintSystemReach.h"

#include <cups/cups.h>

namespace {

constexpr int ProbeTimeoutMs = 5000;

} // namespace

QString PrintSystemUnreachable() {
    http_t* connection = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                      ProbeTimeoutMs, nullptr);
    if (connection) {
        httpClose(connection);
        return {};
    }
    return QStringLiteral("The print system cannot be reached at \"%1\"")
        .arg(QString::fromUtf8(cupsServer()));
}
