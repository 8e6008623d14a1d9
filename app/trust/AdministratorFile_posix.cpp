#include "app/trust/AdministratorFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

// What is wrong with the folder or file at Path, named What, for holding the administrator's policy.
QString fault(const QString& path, const QString& what, mode_t type) {
    struct stat status {};
    if (lstat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("%1 cannot be examined: %2")
            .arg(what, QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("%1 is a symbolic link; it must be a %2 of its own")
            .arg(what, type == S_IFDIR ? QStringLiteral("folder") : QStringLiteral("file"));
    if ((status.st_mode & S_IFMT) != type)
        return QStringLiteral("%1 is no %2")
            .arg(what, type == S_IFDIR ? QStringLiteral("folder") : QStringLiteral("regular file"));
    if (status.st_uid != 0)
        return QStringLiteral("%1 is owned by user %2, not by root").arg(what).arg(status.st_uid);
    if (status.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("%1 may be written by others than root (mode %2); make it %3")
            .arg(what)
            .arg(status.st_mode & 07777, 4, 8, QLatin1Char('0'))
            .arg(type == S_IFDIR ? QStringLiteral("0755") : QStringLiteral("0644"));
    return QString();
}

} // namespace

QString AdministratorFileFault(const QString& Path) {
    const QString folder = QFileInfo(Path).absolutePath();
    QString found = fault(Path, QStringLiteral("it"), S_IFREG);
    if (found.isEmpty())
        found =
            fault(folder, QStringLiteral("its folder \"%1\"").arg(QDir::toNativeSeparators(folder)), S_IFDIR);
    return found;
}
