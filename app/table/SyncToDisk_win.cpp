#include "app/table/SyncToDisk.h"

#include <io.h>
#include <windows.h>

bool SyncToDisk(QFileDevice& File, QString& Problem) {
    const int descriptor = File.handle();
    // Qt keeps no C descriptor for a file it opened natively; its commit then flushes the file itself.
    if (descriptor < 0)
        return true;
    if (FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor))))
        return true;
    Problem = QStringLiteral("system error %1").arg(GetLastError());
    return false;
}
