#include "app/log/ExecutableFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace ExecutableFolder {

namespace {

QString& overridden() {
    static QString folder;
    return folder;
}

QString withSeparator(const QString& folder) {
    const QString native = QDir::toNativeSeparators(folder);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

} // namespace

QString Path() {
    return withSeparator(overridden().isEmpty() ? QCoreApplication::applicationDirPath() : overridden());
}

void SetPath(const QString& folder) {
    overridden() = folder;
}

} // namespace ExecutableFolder
