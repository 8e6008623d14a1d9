#include "app/intake/UriParts.h"

#include "app/intake/EUrlError.h"

#include <utility>

namespace {

bool isSlash(QChar c) {
    return c == u'/' || c == u'\\';
}

// Backslashes become slashes from behind the scheme's colon (and its two slashes) up to the query or
// fragment.
QString normaliseSlashes(QString text) {
    qsizetype i = 0;
    const qsizetype colon = text.indexOf(u':');
    if (colon >= 0) {
        i = colon + 1;
        if (colon + 2 < text.size() && isSlash(text[colon + 1]) && isSlash(text[colon + 2]))
            i = colon + 3;
    }
    for (; i < text.size() && text[i] != u'?' && text[i] != u'#'; ++i) {
        if (text[i] == u'\\')
            text[i] = u'/';
    }
    return text;
}

// Text before the first Separator; Rest keeps what follows it. Without Separator, returns everything.
QString takeBefore(QString& rest, QChar separator) {
    const qsizetype at = rest.indexOf(separator);
    if (at < 0)
        return std::exchange(rest, QString());
    const QString before = rest.left(at);
    rest = rest.mid(at + 1);
    return before;
}

// Cuts query and fragment off Rest into Parts.
void takeQuery(QString& rest, TUriParts& parts) {
    if (const qsizetype question = rest.indexOf(u'?'); question >= 0) {
        parts.Params = rest.mid(question + 1);
        rest.truncate(question);
        if (const qsizetype hash = parts.Params.indexOf(u'#'); hash >= 0) {
            parts.Bookmark = parts.Params.mid(hash + 1);
            parts.Params.truncate(hash);
        }
    } else if (const qsizetype hash = rest.indexOf(u'#'); hash >= 0) {
        parts.Bookmark = rest.mid(hash + 1);
        rest.truncate(hash);
    }
}

void takeAuthority(const QString& authority, TUriParts& parts) {
    QString hostAndPort = authority;
    if (const qsizetype at = authority.lastIndexOf(u'@'); at >= 0) {
        QString password = authority.left(at);
        parts.UserName = takeBefore(password, u':');
        parts.Password = parts.UserName.isEmpty() ? QString() : password;
        hostAndPort = authority.mid(at + 1);
    }
    const qsizetype open = hostAndPort.indexOf(u'[');
    const qsizetype close = hostAndPort.indexOf(u']');
    if (open >= 0 && close > open) {
        parts.Host = hostAndPort.mid(open + 1, close - open - 1);
        const qsizetype colon = hostAndPort.indexOf(u':', close);
        parts.Port = colon < 0 ? QString() : hostAndPort.mid(colon + 1);
        parts.IPv6 = true;
    } else {
        parts.Host = takeBefore(hostAndPort, u':');
        parts.Port = hostAndPort;
    }
}

QString defaultPort(const QString& protocol) {
    if (protocol.compare(u"http", Qt::CaseInsensitive) == 0)
        return QStringLiteral("80");
    if (protocol.compare(u"https", Qt::CaseInsensitive) == 0)
        return QStringLiteral("443");
    if (protocol.compare(u"ftp", Qt::CaseInsensitive) == 0)
        return QStringLiteral("21");
    return QString();
}

} // namespace

TUriParts SplitUri(const QString& Uri) {
    TUriParts parts;
    QString rest = normaliseSlashes(Uri);
    const qsizetype scheme = rest.indexOf(u"://");
    if (scheme < 0) {
        takeQuery(rest, parts);
        const qsizetype slash = rest.lastIndexOf(u'/');
        parts.Path = rest.left(slash + 1);
        parts.Document = rest.mid(slash + 1);
        return parts;
    }
    parts.Protocol = rest.left(scheme);
    rest = rest.mid(scheme + 3);
    takeQuery(rest, parts);
    takeAuthority(takeBefore(rest, u'/'), parts);
    const qsizetype slash = rest.lastIndexOf(u'/');
    parts.Path = QStringLiteral("/") + rest.left(slash + 1);
    parts.Document = rest.mid(slash + 1);
    return parts;
}

QString RebuildUri(const TUriParts& Parts) {
    if (Parts.Protocol.isEmpty())
        throw EUrlError(QStringLiteral("Protocol field is empty"));
    if (Parts.Host.isEmpty())
        throw EUrlError(QStringLiteral("Host field is empty"));
    QString uri = Parts.Protocol + QStringLiteral("://");
    uri += Parts.IPv6 ? QLatin1Char('[') + Parts.Host + QLatin1Char(']') : Parts.Host;
    if (!Parts.Port.isEmpty() && Parts.Port != defaultPort(Parts.Protocol))
        uri += QLatin1Char(':') + Parts.Port;
    uri += Parts.Path + Parts.Document;
    if (!Parts.Params.isEmpty())
        uri += QLatin1Char('?') + Parts.Params;
    return uri;
}
