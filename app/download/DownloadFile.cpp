#include "app/download/DownloadFile.h"

#include "app/download/DownloadFileName.h"
#include "app/download/EDownloadError.h"
#include "app/log/CheckDirectory.h"
#include "pdf/WriteWhole.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Enough for any number of jobs that run at once.
constexpr int MaxVariants = 1000;

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

[[noreturn]] void cannot(const char* what, const QString& path, const QString& reason) {
    throw EDownloadError(
        QStringLiteral("Cannot %1 file \"%2\". %3").arg(QLatin1String(what), shownPath(path), reason));
}

bool isLockFile(const QString& path) {
    return path.endsWith(QStringLiteral(".lock")) && QFileInfo(path).isFile();
}

// Removes the documents in Folder left by jobs that were killed: those whose lock no running job holds.
void removeLeftovers(const QString& Folder) {
    const QStringList locks = QDir(Folder).entryList({QStringLiteral("*.lock")}, QDir::Files | QDir::Hidden);
    for (const QString& name : locks) {
        const QString document = Folder + name.chopped(5);
        QLockFile lock(Folder + name);
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        if (!isLockFile(document) && QFileInfo(document).isFile())
            QFile::remove(document);
        lock.unlock();
    }
}

} // namespace

TDownloadFile::TDownloadFile(const QString& Folder, const QString& FileName) {
    CheckDirectory(Folder, true);
    removeLeftovers(Folder);
    constexpr QIODevice::OpenMode created = QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered;
    for (int number = 1;; ++number) {
        const QString path = Folder + (number == 1 ? FileName : NumberedFileName(FileName, number));
        FFile.setFileName(path);
        FLock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
        FLock->setStaleLockTime(0); // a job may run for long: only a lock whose process has ended is stale
        // A file under a name that this job holds was left by a job that no longer runs, unless it is
        // itself a lock file: that may belong to a running job.
        if (FLock->tryLock(0) && !isLockFile(path)) {
            if (QFileInfo(path).isFile())
                QFile::remove(path);
            if (!FFile.open(created))
                cannot("create", path, FFile.errorString());
            FCleanup = std::make_unique<TTerminationCleanup>([this] {
                FFile.close();
                FFile.remove();
                FLock->unlock();
            });
            return;
        }
        if (!FLock->isLocked() && FLock->error() != QLockFile::LockFailedError) {
            // Where no lock file can be made, neither can the document: the system says why.
            if (!FFile.open(created))
                cannot("create", path, FFile.errorString());
            FFile.remove();
            cannot("create", path, QStringLiteral("Its lock file cannot be created"));
        }
        if (number == MaxVariants)
            cannot("create", path, QStringLiteral("Every variant of the name is in use"));
    }
}

TDownloadFile::~TDownloadFile() {
    FFile.close();
    FFile.remove(); // a file that cannot be deleted stays; nobody is told
}

void TDownloadFile::Write(const QByteArray& Data) {
    if (!WriteWhole(FFile, Data.constData(), Data.size()))
        cannot("write", FFile.fileName(), FFile.errorString());
}

void TDownloadFile::Close() {
    if (!FFile.flush())
        cannot("write", FFile.fileName(), FFile.errorString());
    FFile.close();
}
