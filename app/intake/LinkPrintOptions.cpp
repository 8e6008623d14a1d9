#include "app/intake/LinkPrintOptions.h"

#include "app/intake/EUrlError.h"
#include "app/intake/UriParts.h"
#include "app/intake/UrlParams.h"

#include <QRegularExpression>

TOptionValues LinkPrintOptions(const QString& Url) {
    static const QRegularExpression separator(QStringLiteral("&|\r\n|\r|\n"));
    TOptionValues options;
    for (const QString& parameter : SplitUri(Url).Params.split(separator)) {
        const qsizetype equals = parameter.indexOf(u'=');
        const QString name = parameter.left(equals);
        // Names as IPP spells them, exactly; any other parameter is not a print option.
        if (equals < 0 || !PrintOptionNames().contains(name.toLatin1()))
            continue;
        if (options.contains(name.toLatin1()))
            throw EUrlError(
                QStringLiteral("The link gives the print option \"%1\" more than once, which is ambiguous")
                    .arg(name));
        const QString value = DecodeParamValue(parameter.mid(equals + 1), name);
        for (const QChar c : value)
            if (c.category() == QChar::Other_Control)
                throw EUrlError(
                    QStringLiteral("The link's print option \"%1\" holds a control character (%2)")
                        .arg(name,
                             u'%' + QStringLiteral("%1").arg(c.unicode(), 2, 16, QChar(u'0')).toUpper()));
        options.insert(name.toLatin1(), value.toUtf8());
    }
    return options;
}
