#include "TextFont.h"

#include "pdf/Exception.h"
#include "pdf/editing/TextFonts.h"

#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <algorithm>

using namespace PDFium;

namespace {

// Fonts the engine embeds whole.
bool IsFontFile(const QString& path) {
    return path.endsWith(QLatin1String(".ttf"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".otf"), Qt::CaseInsensitive);
}

// The lines that a fontconfig program answers; none where it is missing or fails.
QStringList FontconfigLines(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The characters of the text as fontconfig writes a character set: hexadecimal code points.
QString CharacterSet(const QString& text) {
    QStringList codes;
    for (const char32_t code : text.toUcs4())
        if (!QChar::isNonCharacter(code) && QChar::category(code) != QChar::Other_Control)
            codes.append(QString::number(code, 16));
    codes.removeDuplicates();
    return codes.join(QLatin1Char(' '));
}

// Whether the font file draws every character, by the character set that fontconfig reads from it: ranges
// of hexadecimal code points ("20-7e a0 ...").
bool FileCovers(const QString& path, const QString& text) {
    const QStringList answer = FontconfigLines("fc-query", {"--format=%{charset}\n", path});
    QList<std::pair<uint, uint>> ranges;
    for (const QString& range : answer.value(0).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        ranges.append(
            {range.section('-', 0, 0).toUInt(nullptr, 16), range.section('-', -1).toUInt(nullptr, 16)});
    for (const QString& code : CharacterSet(text).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const uint value = code.toUInt(nullptr, 16);
        if (std::none_of(ranges.begin(), ranges.end(),
                         [&](const auto& range) { return value >= range.first && value <= range.second; }))
            return false;
    }
    return true;
}

QString SystemFontFor(const QString& text) {
    const QString pattern = QStringLiteral(":charset=") + CharacterSet(text);
    const QStringList covering = FontconfigLines("fc-list", {pattern, "--format=%{file}\n"});
    const QSet<QString> coveringSet(covering.begin(), covering.end());
    for (const QString& file : FontconfigLines("fc-match", {"--sort", pattern, "--format=%{file}\n"}))
        if (coveringSet.contains(file) && IsFontFile(file))
            return file;
    throw Exception(QStringLiteral("No font of this system draws every character of \"%1\"").arg(text));
}

} // namespace

QString FontForText(const QString& Text, const QString& Requested) {
    CheckEngineLaysOut(Text);
    if (QFileInfo(Requested).isFile()) {
        if (!FileCovers(Requested, Text))
            throw Exception(
                QStringLiteral("The font %1 does not draw every character of \"%2\"").arg(Requested, Text));
        return Requested;
    }
    return FirstUncoveredCharacter(Requested, Text).isNull() ? Requested : SystemFontFor(Text);
}
