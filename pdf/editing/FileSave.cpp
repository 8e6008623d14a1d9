#include "pdf/editing/FileSave.h"

#include "pdf/PdfError.h"
#include "pdf/editing/SaveTarget.h"

#include <QDir>
#include <QFileInfo>

namespace PDFium {

TFileSave::TFileSave(const QString& FileName) : FFileName(FileName), FReplacement(FileName) {
    const TSaveTargetCheck target = CheckSaveTarget(FileName);
    Check(target.Target != TSaveTarget::stRefused, Message("create", target.Reason));
    FInPlace = target.Target == TSaveTarget::stWriteThrough;
    if (FInPlace) {
        const QString reason = OpenInPlace(FInPlaceFile, FileName);
        Check(reason.isEmpty(), Message("write", reason));
        return;
    }
    Check(QFileInfo(FileName).absoluteDir().exists(),
          Message("create", QStringLiteral("Its folder does not exist")));
    const bool opened = FReplacement.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    Check(opened, Message("create", FReplacement.errorString()));
}

QIODevice& TFileSave::Device() {
    return FInPlace ? static_cast<QIODevice&>(FInPlaceFile) : FReplacement;
}

void TFileSave::Commit() {
    if (FInPlace) {
        const bool flushed = FInPlaceFile.flush();
        Check(flushed, WriteError());
        FInPlaceFile.close();
        return;
    }
    const bool committed = FReplacement.commit();
    Check(committed, WriteError());
}

QString TFileSave::WriteError() const {
    return Message("write", FInPlace ? FInPlaceFile.errorString() : FReplacement.errorString());
}

QString TFileSave::Message(const char* What, const QString& Reason) const {
    return QStringLiteral("Cannot %1 file \"%2\". %3")
        .arg(QLatin1String(What), QDir::toNativeSeparators(FFileName), Reason);
}

} // namespace PDFium
