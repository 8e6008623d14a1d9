#include "app/trust/AllowedSources.h"

#include "app/trust/ETrustError.h"

namespace {

int defaultPort(const QString& scheme) {
    return scheme == u"https" ? 443 : 80;
}

} // namespace

QString NormalOrigin(const QUrl& Url) {
    const QString scheme = Url.scheme().toLower();
    // QUrl keeps the host decoded and in lower case, an internationalised one in its ACE form.
    const QString host = Url.host(QUrl::FullyEncoded).toLower();
    if (!Url.isValid() || (scheme != u"http" && scheme != u"https") || host.isEmpty())
        return QString();
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return QStringLiteral("%1://%2:%3").arg(scheme, shownHost).arg(Url.port(defaultPort(scheme)));
}

TAllowedSources TAllowedSources::Parse(const QStringList& Entries) {
    TAllowedSources sources;
    for (const QString& entry : Entries) {
        const QString text = entry.trimmed();
        if (text.isEmpty())
            continue;
        const QUrl url(text, QUrl::StrictMode);
        const QString origin = NormalOrigin(url);
        const QString path = url.path();
        if (origin.isEmpty() || !url.userInfo().isEmpty() || (!path.isEmpty() && path != u"/") ||
            url.hasQuery() || url.hasFragment())
            throw ETrustError(QStringLiteral("\"%1\" is not an origin (scheme://host[:port])").arg(text));
        if (!sources.FOrigins.contains(origin))
            sources.FOrigins.append(origin);
    }
    return sources;
}

bool TAllowedSources::Allows(const QUrl& Url) const {
    if (!Url.userInfo().isEmpty())
        return false;
    const QString origin = NormalOrigin(Url);
    return !origin.isEmpty() && FOrigins.contains(origin);
}
