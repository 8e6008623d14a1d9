// An exclusive lock on a file, held by the operating system for the process that takes it and let go when
// that process ends, however it ends. No lock is ever left behind: what the file holds and how old it is do
// not matter, so an empty lock file, or one left by a process that no longer runs, is simply taken.
#pragma once

#include <QFileDevice>
#include <QString>

class TFileLock {
public:
    explicit TFileLock(QString Path) : FPath(std::move(Path)) {}
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

    // Waits at most WaitMilliseconds for the lock, making the file with Permissions where it is missing. An
    // empty text when the lock is held, else why not: "another process holds it", or why the file cannot be
    // opened.
    QString Take(QFileDevice::Permissions Permissions, int WaitMilliseconds);

private:
    QString FPath;
    qintptr FHandle = -1;
};
