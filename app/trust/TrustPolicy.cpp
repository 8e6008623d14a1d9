#include "app/trust/TrustPolicy.h"

#include "app/table/AssignmentTable.h"
#include "app/trust/ETrustError.h"
#include "app/trust/Ed25519.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#ifndef KESTROVA_SYSTEM_TRUST_FILE
#define KESTROVA_SYSTEM_TRUST_FILE "/etc/kestrova/trust.ini"
#endif

namespace {

const QString AllowKey = QStringLiteral("sources/allow");
const QString PublicKeyKey = QStringLiteral("signing/public-key");
const QString MaxAgeKey = QStringLiteral("signing/max-age");

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

void readSettings(const QString& path, TTrustPolicy& policy) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ETrustError(file.errorString());
    file.close();
    const QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        throw ETrustError(QStringLiteral("it is not in the INI format"));
    for (const QString& key : settings.allKeys())
        if (key != AllowKey && key != PublicKeyKey && key != MaxAgeKey)
            throw ETrustError(QStringLiteral("unknown key \"%1\"").arg(key));
    if (settings.contains(AllowKey))
        policy.Sources = TAllowedSources::Parse(settings.value(AllowKey).toStringList());
    if (settings.contains(PublicKeyKey))
        policy.PublicKey = decodedKey(settings.value(PublicKeyKey).toString());
    if (settings.contains(MaxAgeKey))
        policy.MaxAge = maxAge(settings.value(MaxAgeKey).toString());
}

} // namespace

TTrustPolicy ReadTrustPolicy(const QString& Path) {
    TTrustPolicy policy;
    if (!isThere(Path))
        return policy;
    policy.FilePath = Path;
    try {
        readSettings(Path, policy);
    } catch (const ETrustError& error) {
        policy.Error = error.Message();
        policy.Sources.reset();
        policy.PublicKey.clear();
    }
    return policy;
}

void WriteTrustPolicy(const QString& Path, const std::optional<QStringList>& Sources,
                      const QString& PublicKey, qint64 MaxAge) {
    // Checked as a job reads them, so that no file is written that would refuse every link.
    const std::optional<TAllowedSources> sources =
        Sources ? std::optional(TAllowedSources::Parse(*Sources)) : std::nullopt;
    const bool signing = !PublicKey.trimmed().isEmpty();
    if (signing) {
        decodedKey(PublicKey);
        maxAge(QString::number(MaxAge));
    }
    if (!sources && !signing) {
        if (QFile::exists(Path) && !QFile::remove(Path))
            cannotWrite(Path, QStringLiteral("it cannot be removed"));
        return;
    }
    QByteArray text;
    if (sources)
        text += "[sources]\nallow=" + sources->Origins().join(QStringLiteral(", ")).toUtf8() + "\n";
    if (signing)
        text += "[signing]\npublic-key=" + PublicKey.trimmed().toLatin1() +
                "\nmax-age=" + QByteArray::number(MaxAge) + "\n";
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

TTrustPolicy CurrentTrustPolicy() {
    const QString system = SystemTrustFilePath();
    return ReadTrustPolicy(isThere(system) ? system : TrustFilePath());
}

QString BrokenPolicyMessage(const TTrustPolicy& Policy) {
    return QStringLiteral("The trust file \"%1\" cannot be read: %2").arg(Policy.FilePath, Policy.Error);
}
