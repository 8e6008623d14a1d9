#include "app/intake/InvocationUrlParts.h"

#include "app/intake/UriParts.h"
#include "app/intake/UrlParams.h"

void ReadInvocationUrl(const QString& Url, const std::function<void(const QString&)>& AddLine,
                       QString& ModuleAddress, QString& pdfurl) {
    const TUriParts parts = SplitUri(Url);
    AddLine(QStringLiteral("protocol :") + parts.Protocol);
    AddLine(QStringLiteral("Host :") + parts.Host);
    AddLine(QStringLiteral("Path :") + parts.Path);
    AddLine(QStringLiteral("URI :") + RebuildUri(parts));
    AddLine(QStringLiteral("Document :") + parts.Document);
    AddLine(QStringLiteral("Params :") + parts.Params);
    ModuleAddress = DecodedParam(parts.Params, QStringLiteral("moduleaddress"));
    pdfurl = DecodedParam(parts.Params, QStringLiteral("pdfurl"));
}
