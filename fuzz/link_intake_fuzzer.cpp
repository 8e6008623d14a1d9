// Feeds arbitrary command lines to the link intake: the command-line reader, the split into parts, the
// rebuilt address, the parameter lookup and the decoding. Only EUrlError may leave them.
#include "app/intake/EUrlError.h"
#include "app/intake/GetParamStr.h"
#include "app/intake/InvocationUrlParts.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString commandLine = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString program;
    QString link;
    GetParamStr(GetParamStr(commandLine.constData(), program), link);
    QString moduleAddress;
    QString pdfurl;
    try {
        ReadInvocationUrl(
            link, [](const QString&) {}, moduleAddress, pdfurl);
    } catch (const EUrlError&) {
    }
    return 0;
}
