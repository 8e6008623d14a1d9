#include "app/printing/Lpoptions.h"

#include <cups/cups.h>

#include <QFile>

namespace {

struct TLine {
    bool Default = false; // a "Default" line, else a "Dest" line
    QString Name;         // "Queue" or "Queue/instance"
    QByteArray Options;
};

QString systemFile() {
    return qEnvironmentVariable("CUPS_SERVERROOT", QStringLiteral("/etc/cups")) +
           QStringLiteral("/lpoptions");
}

QString userFile() {
    const QString home = qEnvironmentVariable("HOME");
    return home.isEmpty() ? QString() : home + QStringLiteral("/.cups/lpoptions");
}

// The "Dest" and "Default" lines of the file at Path: the keyword, the destination, then its options.
QList<TLine> readLines(const QString& path) {
    QList<TLine> lines;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const qsizetype space = line.indexOf(' ');
        const QByteArray keyword = line.first(space < 0 ? line.size() : space);
        const bool isDefault = keyword.compare("Default", Qt::CaseInsensitive) == 0;
        if (space < 0 || (!isDefault && keyword.compare("Dest", Qt::CaseInsensitive) != 0))
            continue;
        const QByteArray rest = line.mid(space + 1).trimmed();
        const qsizetype end = rest.indexOf(' ');
        if (end < 0)
            lines.append({isDefault, QString::fromUtf8(rest), {}});
        else
            lines.append({isDefault, QString::fromUtf8(rest.first(end)), rest.mid(end + 1)});
    }
    return lines;
}

void addOptions(TOptionValues& options, const QByteArray& text) {
    cups_option_t* parsed = nullptr;
    const int count = cupsParseOptions(text.constData(), 0, &parsed);
    for (int i = 0; i < count; ++i)
        options.insert(parsed[i].name, parsed[i].value);
    cupsFreeOptions(count, parsed);
}

} // namespace

TNamedDefault LpoptionsDefault() {
    for (const auto& [path, where] : {std::pair{userFile(), QStringLiteral("~/.cups/lpoptions")},
                                      std::pair{systemFile(), systemFile()}}) {
        for (const TLine& line : readLines(path))
            if (line.Default)
                return {line.Name, where};
    }
    return {};
}

TOptionValues LpoptionsOptions(const QString& Queue, const QString& Instance) {
    TOptionValues options;
    for (const QString& path : {systemFile(), userFile()}) {
        const QList<TLine> lines = readLines(path);
        for (const QString& name : {Queue, Instance.isEmpty() ? QString() : Queue + u'/' + Instance}) {
            for (const TLine& line : lines)
                if (!name.isEmpty() && line.Name.compare(name, Qt::CaseInsensitive) == 0)
                    addOptions(options, line.Options);
        }
    }
    TOptionValues printOptions;
    for (const QByteArray& option : PrintOptionNames())
        if (options.contains(option))
            printOptions.insert(option, options.value(option));
    return printOptions;
}
