#include "app/intake/LinkPrintOptions.h"

#include "app/intake/UriParts.h"
#include "app/intake/UrlParams.h"

TOptionValues LinkPrintOptions(const QString& Url) {
    const QString params = SplitUri(Url).Params;
    TOptionValues options;
    for (const QByteArray& name : PrintOptionNames()) {
        const QString prefix = QString::fromLatin1(name) + u'=';
        // ParamValue cannot tell a parameter that is absent from one that is empty.
        const bool given = params.startsWith(prefix, Qt::CaseInsensitive) ||
                           params.contains(u'&' + prefix, Qt::CaseInsensitive);
        if (given)
            options.insert(name, UrlDecode(ParamValue(params, QString::fromLatin1(name))).toUtf8());
    }
    return options;
}
