#include "app/log/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace DataFolder {

namespace {

QString& overridden() {
    static QString folder;
    return folder;
}

QString withSeparator(const QString& folder) {
    const QString native = QDir::toNativeSeparators(folder);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

QString userDataFolder() {
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/kestrova");
    // The table is saved into it before anything else could create it.
    QDir().mkpath(folder);
    return folder;
}

// An installed program lives in the system's folders, which only root writes and only the package manager
// should: its folder is one under /usr or /opt (the path as given and as its links resolve), whoever runs it.
bool isInstalled(const QString& executableFolder) {
#ifdef Q_OS_WIN
    Q_UNUSED(executableFolder);
    return false;
#else
    const QString canonical = QFileInfo(executableFolder).canonicalFilePath();
    for (const QString& path : {QDir::cleanPath(executableFolder), canonical})
        for (const QLatin1String system : {QLatin1String("/usr/"), QLatin1String("/opt/")})
            if (!path.isEmpty() && (path + QLatin1Char('/')).startsWith(system))
                return true;
    return false;
#endif
}

} // namespace

QString FolderFor(const QString& ExecutableFolder) {
    const QFileInfo folder(ExecutableFolder);
    const bool ownFolder = folder.isDir() && folder.isWritable() && !isInstalled(ExecutableFolder);
    return withSeparator(ownFolder ? ExecutableFolder : userDataFolder());
}

QString Path() {
    return overridden().isEmpty() ? FolderFor(QCoreApplication::applicationDirPath())
                                  : withSeparator(overridden());
}

void SetPath(const QString& folder) {
    overridden() = folder;
}

} // namespace DataFolder
