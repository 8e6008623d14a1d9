#include "DocumentFile.h"

#include "PageRecords.h"
#include "app/printing/EPrinter.h"

#include <QByteArray>
#include <QDir>

#include <cerrno>
#include <cstring>
#include <stdlib.h>
#include <unistd.h>

namespace {

[[noreturn]] void cannotCopy(const QString& folder) {
    throw EPrinter(QStringLiteral("Cannot copy the document from standard input into %1: %2")
                       .arg(folder, QString::fromLocal8Bit(strerror(errno))));
}

} // namespace

TDocumentFile::TDocumentFile(const char* Name) {
    if (Name) {
        FPath = QString::fromLocal8Bit(Name);
        return;
    }
    const QString folder = QDir::tempPath();
    QByteArray name = QDir(folder).filePath(QStringLiteral("kestrova-pdftoraster-XXXXXX")).toLocal8Bit();
    FCopy = mkstemp(name.data());
    if (FCopy < 0)
        cannotCopy(folder);
    unlink(name.constData());
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t read = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (read == 0)
            break;
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0 || !WriteWhole(FCopy, buffer, size_t(read))) {
            const int error = errno;
            close(FCopy);
            errno = error;
            cannotCopy(folder);
        }
    }
    FPath = QStringLiteral("/proc/self/fd/%1").arg(FCopy);
}

TDocumentFile::~TDocumentFile() {
    if (FCopy >= 0)
        close(FCopy);
}
