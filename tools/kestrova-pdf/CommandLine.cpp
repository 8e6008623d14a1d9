#include "CommandLine.h"

#include <QMap>
#include <cmath>

namespace {

const QString SaveOptions = QStringLiteral("[--full | --incremental] [--version 1.0-1.7]");
// Where the explanations of the usage begin.
constexpr int HelpColumn = 30;

double DpiArgument(const QString& text) {
    bool ok = false;
    const double dpi = text.toDouble(&ok);
    // Written so that not a number fails too, as it compares false with everything.
    if (!ok || !(dpi > 0) || !std::isfinite(dpi))
        throw UsageError("DPI must be a positive number");
    return dpi;
}

// The positional words of the inspections by their names in the usage.
void ReadArgument(const QString& name, const QString& word, ToolInvocation& invocation) {
    static const QMap<QString, std::function<void(const QString&, ToolInvocation&)>> readers{
        {"FILE",
         [](const QString& w, ToolInvocation& i) {
             i.File = w;
         }},
        {"PAGE",
         [](const QString& w, ToolInvocation& i) {
             i.PageNumber = PageArgument(w);
         }},
        {"TEXT",
         [](const QString& w, ToolInvocation& i) {
             i.Text = w;
         }},
        {"DPI",
         [](const QString& w, ToolInvocation& i) {
             i.Dpi = DpiArgument(w);
         }},
        {"OUT.png",
         [](const QString& w, ToolInvocation& i) {
             i.Output = w;
         }},
        {"DIR", [](const QString& w, ToolInvocation& i) {
             i.Folder = w;
         }}};
    readers.value(name)(word, invocation);
}

// The words of an inspection after its name: positional arguments, the flags it allows and a password.
void ReadInspection(const QStringList& arguments, ToolInvocation& invocation) {
    const ToolCommand& command = *invocation.Command;
    QStringList positional;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (word == QLatin1String("--password")) {
            if (++i == arguments.size())
                throw UsageError("--password needs a value");
            invocation.Password = arguments[i];
        } else if (word.startsWith(QLatin1String("--"))) {
            if (!command.Flags.contains(word))
                throw UsageError("unknown option " + word.toStdString());
            invocation.Flags.append(word);
        } else {
            positional.append(word);
        }
    }
    if (positional.size() != command.Arguments.size())
        throw UsageError("wrong number of arguments");
    for (qsizetype i = 0; i < positional.size(); ++i)
        ReadArgument(command.Arguments[i], positional[i], invocation);
}

QString OptionValue(const QStringList& arguments, qsizetype& i) {
    if (++i == arguments.size())
        throw UsageError(arguments[i - 1].toStdString() + " needs a value");
    return arguments[i];
}

// FILE OUT with the save options of a command that saves a document; the command's own words follow.
QStringList ReadSaving(const QStringList& arguments, ToolInvocation& invocation) {
    QStringList positional;
    qsizetype i = 1;
    for (; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (word == QLatin1String("--password"))
            invocation.Password = OptionValue(arguments, i);
        else if (word == QLatin1String("--version"))
            invocation.Edit.Version = ParsePdfVersion(OptionValue(arguments, i));
        else if (word == QLatin1String("--incremental"))
            invocation.Edit.Option = PDFium::saIncremental;
        else if (word == QLatin1String("--full"))
            invocation.Edit.Option = PDFium::saNoIncremental;
        else if (word.startsWith(QLatin1String("--")))
            throw UsageError("unknown option " + word.toStdString());
        else if (positional.size() < 2)
            positional.append(word);
        else
            break;
    }
    if (positional.size() < 2)
        throw UsageError(arguments.first().toStdString() + " needs FILE and OUT");
    // The bytes of the original, header and all, stay as they are.
    if (invocation.Edit.Option == PDFium::saIncremental && invocation.Edit.Version != PDFium::pvUnknown)
        throw UsageError("--version cannot change the version of an --incremental save");
    invocation.File = positional[0];
    invocation.Edit.Output = positional[1];
    return arguments.mid(i);
}

// The command's line of the usage: its words, then its explanation from the help column on.
QString CommandUsage(const ToolCommand& command) {
    QStringList words{command.Name};
    words += command.Arguments;
    if (command.ReadRecords)
        words << SaveOptions << command.Records + QStringLiteral("...");
    for (const QString& flag : command.Flags)
        words.append(QLatin1Char('[') + flag + QLatin1Char(']'));
    QString usage = QStringLiteral("  ") + words.join(QLatin1Char(' '));
    const QString indent(HelpColumn, QLatin1Char(' '));
    usage += usage.size() + 2 <= HelpColumn ? QString(HelpColumn - usage.size(), QLatin1Char(' '))
                                            : QLatin1Char('\n') + indent;
    usage += command.Help.join(QLatin1Char('\n') + indent) + QLatin1Char('\n');
    for (const QString& line : command.Details)
        usage += line + QLatin1Char('\n');
    return usage;
}

} // namespace

ToolInvocation ParseCommandLine(const QStringList& Arguments) {
    if (Arguments.isEmpty())
        throw UsageError("no command given");
    ToolInvocation invocation;
    for (const ToolCommand& command : ToolCommands())
        if (command.Name == Arguments.first())
            invocation.Command = &command;
    if (!invocation.Command)
        throw UsageError("unknown command");
    if (invocation.Command->ReadRecords)
        invocation.Command->ReadRecords(ReadSaving(Arguments, invocation), invocation);
    else
        ReadInspection(Arguments, invocation);
    return invocation;
}

QString UsageText() {
    QString usage = QStringLiteral(
        "Usage: kestrova-pdf COMMAND FILE ... [--password P]\n"
        "Shows what Kestrova's PDF component sees in a document, or edits it, as JSON on standard output.\n"
        "\n");
    for (const ToolCommand& command : ToolCommands())
        usage += CommandUsage(command);
    return usage +
           QStringLiteral("\nErrors go to standard error with exit code 1; wrong usage exits with code 2.\n");
}
