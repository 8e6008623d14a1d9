#include "PolicyReport.h"

#include "app/trust/TrustPolicy.h"
#include "app/trust/UsedSignatures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

// The key's fingerprint: the SHA-256 of its DER form, in base64 without padding.
QString fingerprint(const QByteArray& publicKey) {
    return QStringLiteral("SHA256:") +
           QString::fromLatin1(QCryptographicHash::hash(publicKey, QCryptographicHash::Sha256)
                                   .toBase64(QByteArray::OmitTrailingEquals));
}

QString sourcesOf(const TTrustPolicy& policy) {
    if (!policy.Sources)
        return QStringLiteral("any");
    if (policy.Sources->Origins().isEmpty())
        return QStringLiteral("none: every link is refused");
    return policy.Sources->Origins().join(QStringLiteral(", "));
}

} // namespace

PolicyReport ReportPolicy(const QString& Path) {
    const QString path = Path.isEmpty() ? SystemTrustFilePath() : QFileInfo(Path).absoluteFilePath();
    const TTrustPolicy policy = ReadTrustPolicy(path);
    if (!policy.Present())
        return {
            QStringLiteral("kestrova-link: there is no trust file \"%1\"; without one every link is taken\n")
                .arg(QDir::toNativeSeparators(path)),
            true};
    if (!policy.Error.isEmpty())
        return {QStringLiteral("kestrova-link: %1\n").arg(BrokenPolicyMessage(policy)), true};
    const QString signing = policy.RequiresSignature()
                                ? QStringLiteral("required, Ed25519 key %1, max-age %2 seconds")
                                      .arg(fingerprint(policy.PublicKey))
                                      .arg(policy.MaxAge)
                                : QStringLiteral("not required");
    QString text = QStringLiteral("trust file: %1\nsigned links: %2\nsources: %3\n")
                       .arg(QDir::toNativeSeparators(path), signing, sourcesOf(policy));
    if (policy.RequiresSignature())
        text += QStringLiteral("record of used links: %1\n")
                    .arg(QDir::toNativeSeparators(UsedSignatures::RecordPathFor(path)));
    return {text, false};
}
