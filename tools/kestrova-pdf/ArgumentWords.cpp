#include "ArgumentWords.h"

#include <QRegularExpression>
#include <cmath>

int PageArgument(const QString& Text) {
    bool ok = false;
    const int page = Text.toInt(&ok);
    if (!ok || page < 1)
        throw UsageError("PAGE must be a page number from 1");
    return page;
}

double Number(const QString& word, const char* what) {
    bool ok = false;
    const double value = word.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw UsageError(std::string(what) + " must be a finite number: " + word.toStdString());
    return value;
}

double PositiveNumber(const QString& word, const char* what) {
    const double value = Number(word, what);
    if (value <= 0)
        throw UsageError(std::string(what) + " must be a number above 0: " + word.toStdString());
    return value;
}

PDFium::TColor ColorValue(const QString& text) {
    static const QRegularExpression sixDigits(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    const uint rgb = text.toUInt(nullptr, 16);
    if (!sixDigits.match(text).hasMatch())
        throw UsageError("a colour is six hexadecimal digits RRGGBB: " + text.toStdString());
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

QStringList Take(const QStringList& words, qsizetype& position, qsizetype count, const QString& keyword) {
    if (position + count > words.size())
        throw UsageError(keyword.toStdString() + " needs " + std::to_string(count) + " arguments");
    const QStringList taken = words.mid(position, count);
    position += count;
    return taken;
}
