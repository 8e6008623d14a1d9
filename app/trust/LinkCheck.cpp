#include "app/trust/LinkCheck.h"

#include "app/trust/ETrustError.h"
#include "app/trust/Ed25519.h"
#include "app/trust/SignedLink.h"
#include "app/trust/UsedSignatures.h"

void CheckLink(const TTrustPolicy& Policy, const QString& Link, qint64 Now, const TSignatureRecord& Record) {
    if (!Policy.Present())
        return;
    if (!Policy.Error.isEmpty())
        throw ETrustError(BrokenPolicyMessage(Policy));
    if (!Policy.RequiresSignature())
        return;
    const std::optional<TSignedLink> link = SplitSignedLink(Link);
    if (!link || link->SignatureText.isEmpty())
        throw ETrustError(QStringLiteral("The link is not signed"));
    if (!Ed25519Verify(Policy.PublicKey, link->SignedText, link->Signature))
        throw ETrustError(QStringLiteral("The link's signature does not match"));
    if (!link->Expires)
        throw ETrustError(QStringLiteral("The link carries no expiry time"));
    if (*link->Expires <= Now)
        throw ETrustError(QStringLiteral("The link has expired"));
    if (*link->Expires - Now > Policy.MaxAge)
        throw ETrustError(QStringLiteral("The link expires more than %1 seconds ahead").arg(Policy.MaxAge));
    if (!Record(link->Signature, *link->Expires))
        throw ETrustError(QStringLiteral("The link was used before"));
}

void CheckLink(const TTrustPolicy& Policy, const QString& Link, qint64 Now, const QString& RecordPath) {
    CheckLink(Policy, Link, Now, [&](const QByteArray& signature, qint64 expires) {
        return UsedSignatures::Use(RecordPath, signature, expires, Now);
    });
}

std::function<bool(const QUrl&)> SourceFilter(const TTrustPolicy& Policy) {
    if (!Policy.Sources)
        return {};
    return [sources = *Policy.Sources](const QUrl& url) {
        return sources.Allows(url);
    };
}
