#include "app/intake/StartArguments.h"

#include "app/log/RunLog.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>

namespace {

// A link starts with a scheme (RFC 3986: a letter, then letters, digits, '+', '-' or '.', then ':'); which
// schemes the program takes is the job's own check, with its own message.
bool IsLink(const QString& argument) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(argument).hasMatch();
}

int Refuse(const QString& message) {
    WriteLog(QStringLiteral("Refused command line: ") + message);
    std::fprintf(stderr, "Kestrova: %s\nTry 'kestrova --help'.\n", qPrintable(message));
    return 1;
}

} // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv, const char* Version) {
    // A core application reads the arguments: it needs no display, and it is gone before the program's own.
    int readArgc = argc;
    const QCoreApplication reading(readArgc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrova"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Version));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the PDF that a kestrova: link names on the printer assigned to the link's "
                       "module, showing only its progress. Without a link it shows its settings: the "
                       "assignment table, who may print, and the registration as the links' handler."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("LINK"),
                                 QStringLiteral("kestrova://print/?moduleaddress=...&pdfurl=..."),
                                 QStringLiteral("[LINK]"));
    if (!parser.parse(QCoreApplication::arguments()))
        return Refuse(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("kestrova %s\n", Version);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return Refuse(QStringLiteral("One link at most, not %1 arguments.").arg(positional.size()));
    if (!positional.isEmpty() && !positional.first().isEmpty() && !IsLink(positional.first()))
        return Refuse(QStringLiteral("\"%1\" is neither a link nor an option.").arg(positional.first()));
    return std::nullopt;
}
