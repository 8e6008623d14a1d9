#include "pdf/editing/SaveTarget.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PDFium {

TSaveTargetCheck CheckSaveTarget(const QString& FileName) {
    struct stat status {};
    // Nothing there, or nothing that can be looked at: the new file says why when it cannot be made.
    if (::stat(QFile::encodeName(FileName).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return {TSaveTarget::stReplace, {}};
    if (S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode))
        return {TSaveTarget::stWriteThrough, {}};
    if (S_ISDIR(status.st_mode))
        return {TSaveTarget::stRefused, QStringLiteral("It is a folder")};
    if (S_ISBLK(status.st_mode))
        return {TSaveTarget::stRefused, QStringLiteral("It is a block device, not a file")};
    if (S_ISSOCK(status.st_mode))
        return {TSaveTarget::stRefused, QStringLiteral("It is a socket, not a file")};
    return {TSaveTarget::stRefused, QStringLiteral("It is not a file")};
}

QString OpenInPlace(QFile& File, const QString& FileName) {
    // Opened without waiting, so that a FIFO without a reader answers at once; then written to as usual.
    const int descriptor =
        ::open(QFile::encodeName(FileName).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENXIO ? QStringLiteral("No program reads from it")
                              : QString::fromLocal8Bit(std::strerror(errno));
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        ::close(descriptor);
        return reason;
    }
    File.setFileName(FileName);
    if (!File.open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return File.errorString();
    }
    return {};
}

bool IsStandardOutput(const QString& FileName) {
    struct stat named {
    }, output{};
    return ::stat(QFile::encodeName(FileName).constData(), &named) == 0 &&
           ::fstat(STDOUT_FILENO, &output) == 0 && named.st_dev == output.st_dev &&
           named.st_ino == output.st_ino;
}

} // namespace PDFium
