#include "app/trust/SignedLink.h"

#include "app/intake/UriParts.h"
#include "app/intake/UrlParams.h"

#include <algorithm>

namespace {

const QString SignatureParam = QStringLiteral("&signature=");

std::optional<qint64> expiresOf(const QString& signedText) {
    const QString value = ParamValue(SplitUri(signedText).Params, QStringLiteral("expires"));
    // Plain decimal digits only, few enough to fit.
    if (value.isEmpty() || value.size() > 18 ||
        !std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    return value.toLongLong();
}

} // namespace

std::optional<TSignedLink> SplitSignedLink(const QString& Link) {
    const qsizetype at = Link.lastIndexOf(SignatureParam);
    if (at < 0)
        return std::nullopt;
    TSignedLink link;
    const QString signedText = Link.left(at);
    link.SignedText = signedText.toUtf8();
    link.SignatureText = Link.mid(at + SignatureParam.size());
    const auto decoded = QByteArray::fromBase64Encoding(
        link.SignatureText.toLatin1(), QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals |
                                           QByteArray::AbortOnBase64DecodingErrors);
    // toLatin1 turns what is no Latin-1 into "?", which no base64url text holds. Only the one spelling of the
    // signature's bytes is taken: the last character's spare bits would otherwise give one signature sixteen
    // spellings, each new to the record of used signatures.
    const auto canonical = [&] {
        return decoded.decoded.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals) ==
               link.SignatureText.toLatin1();
    };
    if (decoded && !link.SignatureText.contains(u'?') && canonical())
        link.Signature = *decoded;
    link.Expires = expiresOf(signedText);
    return link;
}
