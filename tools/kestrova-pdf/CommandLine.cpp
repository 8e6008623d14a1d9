#include "CommandLine.h"

#include <QMap>
#include <cmath>

namespace {

double DpiArgument(const QString& text) {
    bool ok = false;
    const double dpi = text.toDouble(&ok);
    // Written so that not a number fails too, as it compares false with everything.
    if (!ok || !(dpi > 0) || !std::isfinite(dpi))
        throw UsageError("DPI must be a positive number");
    return dpi;
}

// The words of a command after its name: positional arguments and the options it allows.
struct Words {
    QStringList Positional;
    QStringList Flags;
    QString Password;
};

Words SplitWords(const QStringList& arguments, const QStringList& allowedFlags, bool allowPassword) {
    Words words;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (allowPassword && word == QLatin1String("--password")) {
            if (++i == arguments.size())
                throw UsageError("--password needs a value");
            words.Password = arguments[i];
        } else if (word.startsWith(QLatin1String("--"))) {
            if (!allowedFlags.contains(word))
                throw UsageError("unknown option " + word.toStdString());
            words.Flags.append(word);
        } else {
            words.Positional.append(word);
        }
    }
    return words;
}

void RequireCount(const Words& words, qsizetype count) {
    if (words.Positional.size() != count)
        throw UsageError("wrong number of arguments");
}

QString OptionValue(const QStringList& arguments, qsizetype& i) {
    if (++i == arguments.size())
        throw UsageError(arguments[i - 1].toStdString() + " needs a value");
    return arguments[i];
}

// FILE OUT with the save options of a command that saves a document; the command's own words follow.
QStringList ParseSaving(const QStringList& arguments, ToolInvocation& invocation) {
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
    invocation.File = positional[0];
    invocation.Edit.Output = positional[1];
    return arguments.mid(i);
}

} // namespace

ToolInvocation ParseCommandLine(const QStringList& Arguments) {
    static const QMap<QString, ToolCommand> commands{
        {"info", ToolCommand::Info},       {"text", ToolCommand::Text},
        {"find", ToolCommand::Find},       {"links", ToolCommand::Links},
        {"outline", ToolCommand::Outline}, {"render", ToolCommand::Render},
        {"objects", ToolCommand::Objects}, {"images", ToolCommand::Images},
        {"edit", ToolCommand::Edit},       {"annots", ToolCommand::Annots},
        {"fields", ToolCommand::Fields},   {"annotate", ToolCommand::Annotate},
        {"fill", ToolCommand::Fill}};
    if (Arguments.isEmpty())
        throw UsageError("no command given");
    if (!commands.contains(Arguments.first()))
        throw UsageError("unknown command");
    ToolInvocation invocation;
    invocation.Command = commands.value(Arguments.first());
    switch (invocation.Command) {
    case ToolCommand::Edit:
        invocation.Edit.Placements = ParsePlacements(ParseSaving(Arguments, invocation));
        return invocation;
    case ToolCommand::Annotate:
        invocation.AnnotationEdits = ParseAnnotationEdits(ParseSaving(Arguments, invocation));
        return invocation;
    case ToolCommand::Fill:
        invocation.FormValues = ParseFormValues(ParseSaving(Arguments, invocation));
        return invocation;
    default:
        break;
    }
    const bool isFind = invocation.Command == ToolCommand::Find;
    const QStringList findFlags{"--case", "--whole-word", "--consecutive", "--backward"};
    const Words words = SplitWords(Arguments, isFind ? findFlags : QStringList{}, true);
    invocation.Password = words.Password;
    switch (invocation.Command) {
    case ToolCommand::Info:
    case ToolCommand::Outline:
    case ToolCommand::Fields:
        RequireCount(words, 1);
        break;
    case ToolCommand::Text:
    case ToolCommand::Links:
    case ToolCommand::Objects:
    case ToolCommand::Annots:
        RequireCount(words, 2);
        invocation.PageNumber = PageArgument(words.Positional[1]);
        break;
    case ToolCommand::Find:
        RequireCount(words, 3);
        invocation.PageNumber = PageArgument(words.Positional[1]);
        invocation.Text = words.Positional[2];
        for (const auto& [flag, option] :
             {std::pair{"--case", PDFium::seCaseSensitive}, std::pair{"--whole-word", PDFium::seWholeWord},
              std::pair{"--consecutive", PDFium::seConsecutive}})
            if (words.Flags.contains(QLatin1String(flag)))
                invocation.Options.Include(option);
        invocation.Backward = words.Flags.contains("--backward");
        break;
    case ToolCommand::Render:
        RequireCount(words, 4);
        invocation.PageNumber = PageArgument(words.Positional[1]);
        invocation.Dpi = DpiArgument(words.Positional[2]);
        invocation.Output = words.Positional[3];
        break;
    case ToolCommand::Images:
        RequireCount(words, 3);
        invocation.PageNumber = PageArgument(words.Positional[1]);
        invocation.Folder = words.Positional[2];
        break;
    case ToolCommand::Edit:
    case ToolCommand::Annotate:
    case ToolCommand::Fill:
        break;
    }
    invocation.File = words.Positional[0];
    return invocation;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: kestrova-pdf COMMAND FILE ... [--password P]\n"
        "Shows what Kestrova's PDF component sees in a document, or edits it, as JSON on standard output.\n"
        "\n"
        "  info FILE                   document information and every page's size, rotation and label,\n"
        "                              or its error where the page cannot be read\n"
        "  text FILE PAGE              the page's text and every character\n"
        "  find FILE PAGE TEXT [--case] [--whole-word] [--consecutive] [--backward]\n"
        "                              the character index of every match\n"
        "  links FILE PAGE             link annotations and web links of the page\n"
        "  outline FILE                the bookmark tree, to 32 levels, and the named destinations\n"
        "  render FILE PAGE DPI OUT.png  the page drawn on white, as a PNG\n"
        "  objects FILE PAGE           index, type, bounds and transparency of every object of the page\n"
        "  images FILE PAGE DIR        every image of the page written into DIR as a PNG\n"
        "  edit FILE OUT [--full | --incremental] [--version 1.0-1.7] PLACEMENT...\n"
        "                              places everything on the pages and saves to OUT (may be FILE);\n"
        "                              a full save unless --incremental; coordinates in points from the\n"
        "                              page's lower-left corner, colours as RRGGBB\n"
        "    text PAGE X Y TEXT [font=Helvetica] [size=12] [color=000000] [alpha=255]\n"
        "    image PAGE X Y FILE [width=W] [height=H]   a PNG, JPEG or other picture; one point a pixel\n"
        "    rect PAGE X Y WIDTH HEIGHT [fill=RRGGBB] [stroke=RRGGBB] [line=1] [alpha=255]\n"
        "    polyline PAGE X1 Y1 X2 Y2 [X Y ...] [close] [fill=RRGGBB] [stroke=RRGGBB] [line=1] [alpha=255]\n"
        "                              a path without fill or stroke is stroked black\n"
        "  annots FILE PAGE            every annotation of the page with all its fields\n"
        "  fields FILE                 every form field: page, index, name, type, value, flags, options\n"
        "  annotate FILE OUT [--full | --incremental] [--version 1.0-1.7] EDIT...\n"
        "                              changes the annotations and saves to OUT, as edit does\n"
        "    add PAGE SUBTYPE LEFT BOTTOM RIGHT TOP [SETTING...]   a new annotation (text, highlight,\n"
        "                              square, underline, ...), printed and red unless told otherwise;\n"
        "                              text markup covers its rectangle unless points= says otherwise\n"
        "    set PAGE INDEX [SETTING...]  changes the annotation at INDEX\n"
        "    delete PAGE INDEX         removes it; later indexes move down by one\n"
        "    SETTING: color=RRGGBB alpha=0-255 interior=RRGGBB interior-alpha=0-255 contents=TEXT\n"
        "             author=TEXT flags=print,hidden,... points=X1,Y1,...,X4,Y4 rect=LEFT,BOTTOM,RIGHT,TOP\n"
        "  fill FILE OUT [--full | --incremental] [--version 1.0-1.7] NAME=VALUE...\n"
        "                              fills form fields as typing and clicking would and saves to OUT;\n"
        "                              check boxes take Off or their on state, radio groups the export\n"
        "                              value or on state of a button, choice fields one of their options\n"
        "\n"
        "Errors go to standard error with exit code 1; wrong usage exits with code 2.\n");
}
