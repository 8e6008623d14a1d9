#include "pdf/editing/SaveTarget.h"

#include <QFileInfo>

namespace PDFium {

// Names here stand for files and folders alone: everything but a folder is replaced.
TSaveTargetCheck CheckSaveTarget(const QString& FileName) {
    if (QFileInfo(FileName).isDir())
        return {TSaveTarget::stRefused, QStringLiteral("It is a folder")};
    return {TSaveTarget::stReplace, {}};
}

QString OpenInPlace(QFile& File, const QString& FileName) {
    File.setFileName(FileName);
    return File.open(QIODevice::WriteOnly | QIODevice::Unbuffered | QIODevice::ExistingOnly)
               ? QString()
               : File.errorString();
}

// A name here never stands for a standard stream.
bool IsStandardOutput(const QString&) {
    return false;
}

} // namespace PDFium
