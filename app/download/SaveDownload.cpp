#include "app/download/SaveDownload.h"

#include "app/download/EDownloadError.h"
#include "app/log/CheckDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Enough for any number of jobs that run at once; beyond it the folder is full of leftovers.
constexpr int MaxVariants = 1000;

QString variantName(const QString& fileName, int number) {
    const QString suffix = QStringLiteral(" (%1)").arg(number);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) + suffix + fileName.mid(dot) : fileName + suffix;
}

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// Another job's file holds this name: try the next variant. Anything else there (a folder, when the name
// is empty) is not ours to step around.
bool heldByAnotherFile(const QString& path) {
    return QFileInfo(path).isFile();
}

} // namespace

QString SaveDownload(const QString& Folder, const QString& FileName, const QByteArray& Data) {
    CheckDirectory(Folder, true);
    QFile file;
    for (int number = 1;; ++number) {
        file.setFileName(Folder + (number == 1 ? FileName : variantName(FileName, number)));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (number == MaxVariants || !heldByAnotherFile(file.fileName()))
            throw EDownloadError(QStringLiteral("Cannot create file \"%1\". %2")
                                     .arg(shownPath(file.fileName()), file.errorString()));
    }
    if (file.write(Data) != Data.size() || !file.flush()) {
        const QString message = QStringLiteral("Cannot write file \"%1\". %2")
                                    .arg(shownPath(file.fileName()), file.errorString());
        file.close();
        file.remove();
        throw EDownloadError(message);
    }
    file.close();
    return file.fileName();
}
