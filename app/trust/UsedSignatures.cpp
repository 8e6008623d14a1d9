#include "app/trust/UsedSignatures.h"

#include "app/trust/ETrustError.h"
#include "app/trust/TrustPolicy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>

namespace UsedSignatures {

namespace {

// Long enough for any number of processes that start at once to take their turn.
constexpr int LockWaitMilliseconds = 30 * 1000;

[[noreturn]] void cannot(const char* what, const QString& path, const QString& reason) {
    throw ETrustError(QStringLiteral("The record of used links \"%1\" cannot be %2: %3")
                          .arg(QDir::toNativeSeparators(path), QLatin1String(what), reason));
}

QByteArray readRecord(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        cannot("read", path, file.errorString());
    return file.readAll();
}

// The signatures of the record with their expiry. A line that is not "expiry signature" gives up the
// signatures it still holds, each kept until Latest.
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

void writeRecord(const QString& path, const QMap<QByteArray, qint64>& kept) {
    QByteArray text;
    for (auto entry = kept.cbegin(); entry != kept.cend(); ++entry)
        text += QByteArray::number(entry.value()) + ' ' + entry.key() + '\n';
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        cannot("written", path, file.errorString());
}

} // namespace

QString RecordPath() {
    return QFileInfo(TrustFilePath()).dir().filePath(QStringLiteral("used-signatures"));
}

bool Use(const QString& RecordPath, const QString& Signature, qint64 Expires, qint64 Now, qint64 MaxAge) {
    QDir().mkpath(QFileInfo(RecordPath).absolutePath());
    QLockFile lock(RecordPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(0); // only the lock of a process that has ended is stale
    if (!lock.tryLock(LockWaitMilliseconds))
        cannot("locked", RecordPath,
               lock.error() == QLockFile::LockFailedError
                   ? QStringLiteral("another process holds it")
                   : QStringLiteral("its lock file cannot be created"));
    const QByteArray record = readRecord(RecordPath);
    const QByteArray signature = Signature.toLatin1();
    // Found anywhere, a damaged line included.
    if (record.contains(signature))
        return false;
    QMap<QByteArray, qint64> kept = entries(record, Now + MaxAge);
    kept.removeIf([Now](const auto& entry) { return entry.value() <= Now; });
    kept.insert(signature, Expires);
    writeRecord(RecordPath, kept);
    return true;
}

} // namespace UsedSignatures
