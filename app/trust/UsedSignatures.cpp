#include "app/trust/UsedSignatures.h"

#include "app/trust/ETrustError.h"
#include "app/trust/FileLock.h"
#include "app/trust/TrustPolicy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>

#ifndef KESTROVA_MACHINE_RECORD_FOLDER
#define KESTROVA_MACHINE_RECORD_FOLDER "/var/lib/kestrova"
#endif

namespace UsedSignatures {

namespace {

// Long enough for any number of processes that start at once to take their turn.
constexpr int LockWaitMilliseconds = 30 * 1000;
constexpr qint64 KeptAfterExpiry = TTrustPolicy::LongestMaxAge;

QString& machineFolderOverride() {
    static QString folder;
    return folder;
}

[[noreturn]] void cannot(const char* what, const QString& path, const QString& reason) {
    throw ETrustError(QStringLiteral("The record of used links \"%1\" cannot be %2: %3")
                          .arg(QDir::toNativeSeparators(path), QLatin1String(what), reason));
}

QByteArray encoded(const QByteArray& signature) {
    return signature.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

// The signatures of the record with their expiry. A line that is not "expiry signature" gives up the
// signatures it still holds, each expiring at Latest.
QMap<QByteArray, qint64> entries(const QByteArray& record, qint64 latest) {
    static const QRegularExpression line(QStringLiteral("^([0-9]{1,18}) ([A-Za-z0-9_-]+)$"));
    static const QRegularExpression signature(QStringLiteral("[A-Za-z0-9_-]{80,}"));
    QMap<QByteArray, qint64> result;
    for (const QByteArray& bytes : record.split('\n')) {
        const QString text = QString::fromLatin1(bytes);
        if (const auto match = line.match(text); match.hasMatch()) {
            result.insert(match.captured(2).toLatin1(), match.captured(1).toLongLong());
            continue;
        }
        for (auto found = signature.globalMatch(text); found.hasNext();)
            result.insert(found.next().captured().toLatin1(), latest);
    }
    return result;
}

QByteArray recordText(const QMap<QByteArray, qint64>& kept) {
    QByteArray text;
    for (auto entry = kept.cbegin(); entry != kept.cend(); ++entry)
        text += QByteArray::number(entry.value()) + ' ' + entry.key() + '\n';
    return text;
}

// Read and write for their owner, and for the group and others where they may write Folder.
QFileDevice::Permissions permissionsIn(const QString& folder) {
    const QFileDevice::Permissions of = QFileInfo(folder).permissions();
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (of.testFlag(QFileDevice::WriteGroup))
        permissions |= QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    if (of.testFlag(QFileDevice::WriteOther))
        permissions |= QFileDevice::ReadOther | QFileDevice::WriteOther;
    return permissions;
}

QByteArray readRecord(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    // In a folder that others may write, a link could lead the reader to a file of their choosing.
    if (info.isSymLink() || !info.isFile())
        cannot("read", path, QStringLiteral("it is no regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        cannot("read", path, file.errorString());
    return file.readAll();
}

void writeRecord(const QString& path, const QByteArray& text, QFileDevice::Permissions permissions) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(permissions) ||
        file.write(text) != text.size() || !file.commit())
        cannot("written", path, file.errorString());
}

} // namespace

QString MachineRecordFolder() {
    return machineFolderOverride().isEmpty() ? QStringLiteral(KESTROVA_MACHINE_RECORD_FOLDER)
                                             : machineFolderOverride();
}

void SetMachineRecordFolder(const QString& Folder) {
    machineFolderOverride() = Folder;
}

QString RecordPathFor(const QString& TrustFile) {
    const QDir folder =
        TrustFile == SystemTrustFilePath() ? QDir(MachineRecordFolder()) : QFileInfo(TrustFile).dir();
    return folder.filePath(QStringLiteral("used-signatures"));
}

QString RecordPath() {
    return RecordPathFor(TrustFileInForce());
}

bool Take(QByteArray& Record, const QByteArray& Signature, qint64 Expires, qint64 Now) {
    const QByteArray signature = encoded(Signature);
    // Found anywhere, a damaged line included.
    if (Record.contains(signature))
        return false;
    QMap<QByteArray, qint64> kept = entries(Record, Now + TTrustPolicy::LongestMaxAge);
    kept.removeIf([Now](const auto& entry) { return entry.value() + KeptAfterExpiry <= Now; });
    kept.insert(signature, Expires);
    Record = recordText(kept);
    return true;
}

bool Use(const QString& RecordPath, const QByteArray& Signature, qint64 Expires, qint64 Now) {
    const QString folder = QFileInfo(RecordPath).absolutePath();
    QDir().mkpath(folder);
    const QFileDevice::Permissions permissions = permissionsIn(folder);
    TFileLock lock(RecordPath + QStringLiteral(".lock"));
    if (const QString refusal = lock.Take(permissions, LockWaitMilliseconds); !refusal.isEmpty())
        cannot("locked", RecordPath, refusal);
    QByteArray record = readRecord(RecordPath);
    if (!Take(record, Signature, Expires, Now))
        return false;
    writeRecord(RecordPath, record, permissions);
    return true;
}

} // namespace UsedSignatures
