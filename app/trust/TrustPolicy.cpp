#include "app/trust/TrustPolicy.h"

#include "app/table/AssignmentTable.h"
#include "app/trust/AdministratorFile.h"
#include "app/trust/ETrustError.h"
#include "app/trust/Ed25519.h"
#include "app/trust/TrustFileText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifndef KESTROVA_SYSTEM_TRUST_FILE
#define KESTROVA_SYSTEM_TRUST_FILE "/etc/kestrova/trust.ini"
#endif

namespace {

// Far more than any policy needs, and little enough to read whole.
constexpr qint64 LargestFile = 64 * 1024;

QString& systemPathOverride() {
    static QString path;
    return path;
}

// A broken symbolic link is a file that is there but cannot be read.
bool isThere(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QByteArray decodedKey(const QString& text) {
    const auto decoded =
        QByteArray::fromBase64Encoding(text.trimmed().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || !IsEd25519PublicKey(*decoded))
        throw ETrustError(QStringLiteral("public-key is no Ed25519 public key in base64"));
    return *decoded;
}

// The value of Setting by Read, an error naming the setting's line.
template <class Read> auto lineValue(const TTrustSetting& setting, Read read) {
    try {
        return read(setting.Value);
    } catch (const ETrustError& error) {
        throw ETrustError(AtLine(setting.Line, error.Message()));
    }
}

qint64 maxAge(const QString& text) {
    bool ok = false;
    const qint64 seconds = text.trimmed().toLongLong(&ok);
    if (!ok || seconds <= 0)
        throw ETrustError(QStringLiteral("max-age \"%1\" is no positive number of seconds").arg(text));
    if (seconds > TTrustPolicy::LongestMaxAge)
        throw ETrustError(QStringLiteral("max-age \"%1\" is longer than a day (%2 seconds)")
                              .arg(text)
                              .arg(TTrustPolicy::LongestMaxAge));
    return seconds;
}

[[noreturn]] void cannotWrite(const QString& path, const QString& reason) {
    throw ETrustError(QStringLiteral("The trust file \"%1\" cannot be written: %2").arg(path, reason));
}

// The whole file at Path, the administrator's only while root alone may change it.
QByteArray readWhole(const QString& path) {
    if (path == SystemTrustFilePath())
        if (const QString fault = AdministratorFileFault(path); !fault.isEmpty())
            throw ETrustError(fault);
    if (!QFileInfo(path).isFile())
        throw ETrustError(QStringLiteral("it is no regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ETrustError(file.errorString());
    const QByteArray text = file.read(LargestFile + 1);
    if (text.size() > LargestFile)
        throw ETrustError(QStringLiteral("it is larger than %1 KiB").arg(LargestFile / 1024));
    return text;
}

void readSettings(const QByteArray& text, TTrustPolicy& policy) {
    const TTrustSettings settings = ParseTrustFile(text);
    if (settings.Allow)
        policy.Sources = lineValue(*settings.Allow, [](const QString& value) {
            return TAllowedSources::Parse(value.split(u',', Qt::SkipEmptyParts));
        });
    if (settings.PublicKey)
        policy.PublicKey = lineValue(*settings.PublicKey, decodedKey);
    if (settings.MaxAge)
        policy.MaxAge = lineValue(*settings.MaxAge, maxAge);
}

// The policy of the file Path, which Read gives the text of or refuses with its reason.
template <class Read> TTrustPolicy policyOf(const QString& path, Read read) {
    TTrustPolicy policy;
    policy.FilePath = path;
    try {
        readSettings(read(), policy);
    } catch (const ETrustError& error) {
        policy = TTrustPolicy();
        policy.FilePath = path;
        policy.Error = error.Message();
    }
    return policy;
}

} // namespace

TTrustPolicy ReadTrustPolicy(const QString& Path) {
    if (!isThere(Path))
        return TTrustPolicy();
    return policyOf(Path, [&Path] { return readWhole(Path); });
}

TTrustPolicy TrustPolicyOfText(const QString& FilePath, const QByteArray& Text) {
    return policyOf(FilePath, [&Text] { return Text; });
}

TTrustPolicy TrustPolicyOf(const std::optional<QStringList>& Sources, const QString& PublicKey,
                           qint64 MaxAge) {
    // Checked as a job reads them, so that no file is written that would refuse every link.
    TTrustPolicy policy;
    if (Sources)
        policy.Sources = TAllowedSources::Parse(*Sources);
    if (!PublicKey.trimmed().isEmpty()) {
        policy.PublicKey = decodedKey(PublicKey);
        policy.MaxAge = maxAge(QString::number(MaxAge));
    }
    return policy;
}

void WriteTrustPolicy(const QString& Path, const TTrustPolicy& Policy) {
    if (!Policy.Sources && !Policy.RequiresSignature()) {
        if (isThere(Path) && !QFile::remove(Path))
            cannotWrite(Path, QStringLiteral("it cannot be removed"));
        return;
    }
    QByteArray text;
    if (Policy.Sources)
        text += "[sources]\nallow=" + Policy.Sources->Origins().join(QStringLiteral(", ")).toUtf8() + "\n";
    if (Policy.RequiresSignature())
        text += "[signing]\npublic-key=" + Policy.PublicKey.toBase64() +
                "\nmax-age=" + QByteArray::number(Policy.MaxAge) + "\n";
    // Written whole and then put in place, so that a running job never reads half a policy.
    QDir().mkpath(QFileInfo(Path).absolutePath());
    QSaveFile file(Path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        cannotWrite(Path, file.errorString());
}

QString TrustFilePath() {
    return QFileInfo(AssignmentTable::CdsFilePath()).dir().filePath(QStringLiteral("trust.ini"));
}

QString SystemTrustFilePath() {
    return systemPathOverride().isEmpty() ? QStringLiteral(KESTROVA_SYSTEM_TRUST_FILE) : systemPathOverride();
}

void SetSystemTrustFilePath(const QString& Path) {
    systemPathOverride() = Path;
}

QString TrustFileInForce() {
    const QString system = SystemTrustFilePath();
    return isThere(system) ? system : TrustFilePath();
}

TTrustPolicy CurrentTrustPolicy() {
    return ReadTrustPolicy(TrustFileInForce());
}

QString BrokenPolicyMessage(const TTrustPolicy& Policy) {
    return QStringLiteral("The trust file \"%1\" cannot be used: %2").arg(Policy.FilePath, Policy.Error);
}
