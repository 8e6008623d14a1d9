#include "app/intake/UrlParams.h"

#include "app/intake/EUrlError.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// The bytes that Value stands for; I is the index of a "%".
void appendEscape(const QString& value, qsizetype& i, QByteArray& bytes) {
    if (i + 1 < value.size() && value[i + 1] == u'%') {
        bytes += '%';
        i += 2;
        return;
    }
    if (i + 2 >= value.size())
        throw EUrlError(
            QStringLiteral("Error decoding URL style (%XX) encoded string at position %1").arg(i + 1));
    const int high = hexDigit(value[i + 1]);
    const int low = hexDigit(value[i + 2]);
    if (high < 0 || low < 0)
        throw EUrlError(QStringLiteral("Invalid URL encoded character (%1) at position %2")
                            .arg(value.mid(i, 3), QString::number(i + 1)));
    bytes += char(high * 16 + low);
    i += 3;
}

} // namespace

QString ParamValue(const QString& Params, const QString& Name) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString lines = Params;
    lines.replace(u'&', u'\n');
    for (const QString& line : lines.split(lineBreak)) {
        if (line.size() > Name.size() && line[Name.size()] == u'=' &&
            QStringView(line).left(Name.size()).compare(Name, Qt::CaseInsensitive) == 0)
            return line.mid(Name.size() + 1);
    }
    return QString();
}

QString UrlDecode(const QString& Value) {
    QByteArray bytes;
    for (qsizetype i = 0; i < Value.size();) {
        const QChar c = Value[i];
        if (c == u'%') {
            appendEscape(Value, i, bytes);
        } else if (c == u'+') {
            bytes += ' ';
            ++i;
        } else {
            const qsizetype length =
                c.isHighSurrogate() && i + 1 < Value.size() && Value[i + 1].isLowSurrogate() ? 2 : 1;
            bytes += QStringView(Value).mid(i, length).toUtf8();
            i += length;
        }
    }
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        throw EUrlError(
            QStringLiteral("No mapping for the Unicode character exists in the target multi-byte code page"));
    return text;
}

QString DecodeParamValue(const QString& Value, const QString& Name) {
    try {
        return UrlDecode(Value);
    } catch (const EUrlError& error) {
        throw EUrlError(
            QStringLiteral("The link's parameter \"%1\" is not well encoded: %2").arg(Name, error.Message()));
    }
}

QString DecodedParam(const QString& Params, const QString& Name) {
    return DecodeParamValue(ParamValue(Params, Name), Name);
}
