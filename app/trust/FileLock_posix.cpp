#include "app/trust/FileLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr int PollMilliseconds = 10;

mode_t modeOf(QFileDevice::Permissions permissions) {
    const struct {
        QFileDevice::Permission Permission;
        mode_t Mode;
    } bits[] = {{QFileDevice::ReadOwner, S_IRUSR}, {QFileDevice::WriteOwner, S_IWUSR},
                {QFileDevice::ReadGroup, S_IRGRP}, {QFileDevice::WriteGroup, S_IWGRP},
                {QFileDevice::ReadOther, S_IROTH}, {QFileDevice::WriteOther, S_IWOTH}};
    mode_t mode = 0;
    for (const auto& bit : bits)
        if (permissions.testFlag(bit.Permission))
            mode |= bit.Mode;
    return mode;
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

TFileLock::~TFileLock() {
    if (FHandle >= 0)
        ::close(int(FHandle)); // lets the lock go
}

QString TFileLock::Take(QFileDevice::Permissions Permissions, int WaitMilliseconds) {
    const QByteArray path = QFile::encodeName(FPath);
    // A file made here gets Permissions whatever the process's umask; an existing one is only read, which is
    // all a lock needs, so that a lock file made by another user serves too.
    int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::fchmod(fd, modeOf(Permissions));
    else if (errno == EEXIST)
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemError();
    FHandle = fd;
    const QDeadlineTimer deadline(WaitMilliseconds);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return systemError();
        if (deadline.hasExpired())
            return QStringLiteral("another process holds it");
        QThread::msleep(PollMilliseconds);
    }
    return QString();
}
