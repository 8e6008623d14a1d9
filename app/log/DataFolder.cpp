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

} // namespace

QString FolderFor(const QString& ExecutableFolder) {
    const QFileInfo folder(ExecutableFolder);
    return withSeparator(folder.isDir() && folder.isWritable() ? ExecutableFolder : userDataFolder());
}

QString Path() {
    return overridden().isEmpty() ? FolderFor(QCoreApplication::applicationDirPath())
                                  : withSeparator(overridden());
}

void SetPath(const QString& folder) {
    overridden() = folder;
}

} // namespace DataFolder
