#include "app/trust/FileLock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

#include <windows.h>

namespace {

constexpr int PollMilliseconds = 10;

QString systemError() {
    return QStringLiteral("system error %1").arg(GetLastError());
}

} // namespace

TFileLock::~TFileLock() {
    if (FHandle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(FHandle)); // lets the lock go
}

QString TFileLock::Take(QFileDevice::Permissions, int WaitMilliseconds) {
    // The folder's access control list decides who may use the file.
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(FPath).utf16()),
                                    GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return systemError();
    FHandle = reinterpret_cast<qintptr>(file);
    const QDeadlineTimer deadline(WaitMilliseconds);
    for (;;) {
        OVERLAPPED at{};
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
            return QString();
        if (GetLastError() != ERROR_LOCK_VIOLATION)
            return systemError();
        if (deadline.hasExpired())
            return QStringLiteral("another process holds it");
        QThread::msleep(PollMilliseconds);
    }
}
