#include "app/options/PrintOptions.h"

#include "app/printing/EPrinter.h"

#include <QRegularExpression>
#include <QString>

namespace {

[[noreturn]] void malformed(const QByteArray& name, const QByteArray& value, const char* form) {
    throw EPrinter(QStringLiteral("The print option %1 has a malformed value \"%2\": it takes %3")
                       .arg(QString::fromLatin1(name), QString::fromUtf8(value), QLatin1String(form)));
}

bool isKeyword(const QByteArray& value) {
    static const QRegularExpression keyword(QStringLiteral("^[a-z0-9][a-z0-9._-]*$"));
    return keyword.match(QString::fromLatin1(value)).hasMatch();
}

int readCopies(const QByteArray& value) {
    bool ok = false;
    const int copies = value.toInt(&ok);
    if (!ok || copies < 1 || value.startsWith('+'))
        malformed("copies", value, "a whole number from 1");
    return copies;
}

// "1-3,5": ranges of page numbers from 1, ascending and apart.
QList<std::pair<int, int>> readPageRanges(const QByteArray& value) {
    static const QRegularExpression range(QStringLiteral("^([1-9][0-9]{0,8})(?:-([1-9][0-9]{0,8}))?$"));
    QList<std::pair<int, int>> ranges;
    for (const QByteArray& part : value.split(',')) {
        const auto match = range.match(QString::fromLatin1(part.trimmed()));
        const int first = match.captured(1).toInt();
        const int last = match.capturedLength(2) > 0 ? match.captured(2).toInt() : first;
        if (!match.hasMatch() || last < first || (!ranges.isEmpty() && first <= ranges.last().second))
            malformed("page-ranges", value, "ascending page ranges such as 1-3,5");
        ranges.append({first, last});
    }
    return ranges;
}

TScaling readScaling(const QByteArray& value) {
    static const QMap<QByteArray, TScaling> scalings{{"auto", TScaling::Auto},
                                                     {"auto-fit", TScaling::Auto},
                                                     {"fit", TScaling::Fit},
                                                     {"fill", TScaling::Fill},
                                                     {"none", TScaling::None}};
    const auto found = scalings.constFind(value);
    if (found == scalings.constEnd())
        malformed("print-scaling", value, "auto, fit, fill or none");
    return *found;
}

int readOrientation(const QByteArray& value) {
    static const QMap<QByteArray, int> orientations{{"3", 3},
                                                    {"4", 4},
                                                    {"5", 5},
                                                    {"6", 6},
                                                    {"portrait", 3},
                                                    {"landscape", 4},
                                                    {"reverse-landscape", 5},
                                                    {"reverse-portrait", 6}};
    const auto found = orientations.constFind(value);
    if (found == orientations.constEnd())
        malformed("orientation-requested", value, "3 (portrait), 4 (landscape), 5 or 6");
    return *found;
}

QByteArray readKeyword(const QByteArray& name, const QByteArray& value, const QList<QByteArray>& allowed = {},
                       const char* form = "a keyword") {
    if (!isKeyword(value) || (!allowed.isEmpty() && !allowed.contains(value)))
        malformed(name, value, allowed.isEmpty() ? form : allowed.join(", ").constData());
    return value;
}

} // namespace

const QList<QByteArray>& PrintOptionNames() {
    static const QList<QByteArray> names{"copies",        "sides",
                                         "media",         "media-source",
                                         "page-ranges",   "print-color-mode",
                                         "print-scaling", "orientation-requested"};
    return names;
}

const QList<QByteArray>& PrinterOptionNames() {
    static const QList<QByteArray> names{"sides", "media", "media-source", "print-color-mode"};
    return names;
}

TOptionValues MergeOptions(TOptionValues Base, const TOptionValues& Over) {
    for (auto value = Over.constBegin(); value != Over.constEnd(); ++value)
        Base.insert(value.key(), value.value());
    return Base;
}

TPrintOptions ReadPrintOptions(const TOptionValues& Values) {
    TPrintOptions options;
    for (const QByteArray& name : PrintOptionNames()) {
        const auto found = Values.constFind(name);
        if (found == Values.constEnd())
            continue;
        const QByteArray value = found->trimmed();
        options.Given.insert(name, value);
        if (name == "copies")
            options.Copies = readCopies(value);
        else if (name == "sides")
            options.Sides =
                readKeyword(name, value, {"one-sided", "two-sided-long-edge", "two-sided-short-edge"});
        else if (name == "media")
            options.Media = readKeyword(name, value, {}, "a PWG paper name such as iso_a4_210x297mm");
        else if (name == "media-source")
            options.MediaSource = readKeyword(name, value);
        else if (name == "page-ranges")
            options.PageRanges = readPageRanges(value);
        else if (name == "print-color-mode") {
            const QByteArray mode = readKeyword(name, value, {"monochrome", "color", "auto", "bi-level"});
            options.Color = mode == "color";
            options.AutoColor = mode == "auto";
            options.BiLevel = mode == "bi-level";
        } else if (name == "print-scaling")
            options.Scaling = readScaling(value);
        else if (name == "orientation-requested")
            options.Orientation = readOrientation(value);
    }
    // A turn asked for places the page as IPP does, at its size when it fits.
    if (options.Orientation && options.Scaling == TScaling::Specified)
        options.Scaling = TScaling::Auto;
    return options;
}
