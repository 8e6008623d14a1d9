#include "app/trust/TrustFileText.h"

#include "app/trust/ETrustError.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace {

// The settings of each section, in the order a message names them.
struct Section {
    const char* Name;
    std::array<const char*, 2> Keys; // an empty name ends the list early
};
constexpr std::array<Section, 2> Sections{
    {{"sources", {"allow", ""}}, {"signing", {"public-key", "max-age"}}}};

constexpr qsizetype LongestQuote = 60;

[[noreturn]] void broken(int line, const QString& message) {
    throw ETrustError(AtLine(line, message));
}

// Whether Bytes are UTF-8 text without control characters, which a message may quote.
bool printable(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return !utf8.hasError() && std::none_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7f;
    });
}

// Text in quotes, cut where it is long.
QString quoted(const QString& text) {
    return u'"' + (text.size() > LongestQuote ? text.left(LongestQuote) + QStringLiteral("...") : text) +
           u'"';
}

const Section* sectionNamed(const QString& name) {
    const auto found = std::find_if(Sections.begin(), Sections.end(), [&name](const Section& section) {
        return name == QLatin1String(section.Name);
    });
    return found == Sections.end() ? nullptr : &*found;
}

QString keysOf(const Section& section) {
    QStringList keys;
    for (const char* key : section.Keys)
        if (*key)
            keys.append(QLatin1String(key) + u'=');
    return keys.join(QStringLiteral(" or "));
}

// The section whose setting Key is, for a message about a setting outside its section.
const Section* sectionOfKey(const QString& key) {
    for (const Section& section : Sections)
        for (const char* known : section.Keys)
            if (*known && key == QLatin1String(known))
                return &section;
    return nullptr;
}

std::optional<TTrustSetting>* slotOf(TTrustSettings& settings, const QString& key) {
    if (key == u"allow")
        return &settings.Allow;
    if (key == u"public-key")
        return &settings.PublicKey;
    return &settings.MaxAge;
}

class Reader {
public:
    TTrustSettings Read(const QByteArray& text) {
        const QByteArray body = text.startsWith("\xef\xbb\xbf") ? text.mid(3) : text;
        if (!body.isEmpty() && !body.endsWith('\n'))
            broken(int(body.count('\n')) + 1,
                   QStringLiteral("the line has no line end; the file was cut short"));
        const QList<QByteArray> lines = body.split('\n');
        for (qsizetype at = 0; at + 1 < lines.size(); ++at)
            readLine(int(at) + 1, lines[at].endsWith('\r') ? lines[at].chopped(1) : lines[at]);
        endSection();
        if (!FSettings.Allow && !FSettings.PublicKey)
            throw ETrustError(QStringLiteral("the file sets nothing; expected [sources] with allow= or "
                                             "[signing] with public-key="));
        return FSettings;
    }

private:
    void readLine(int line, const QByteArray& bytes) {
        if (!printable(bytes))
            broken(line,
                   QStringLiteral("a line of binary bytes; expected [section], name=value or a comment"));
        const QString text = QString::fromUtf8(bytes).trimmed();
        if (text.isEmpty() || text.startsWith(u';') || text.startsWith(u'#'))
            return;
        if (text.startsWith(QStringLiteral("-----")))
            broken(line,
                   QStringLiteral("a key in PEM form; expected public-key= followed on the same line by "
                                  "the base64 between its BEGIN and END lines"));
        if (text.startsWith(u'['))
            return readSection(line, text);
        static const QRegularExpression base64(QStringLiteral("^[A-Za-z0-9+/]{20,}={0,2}$"));
        if (base64.match(text).hasMatch())
            broken(line, QStringLiteral("%1 is base64 on a line of its own; expected public-key= followed on "
                                        "the same line by the key")
                             .arg(quoted(text)));
        const qsizetype equals = text.indexOf(u'=');
        if (equals < 0)
            broken(line, QStringLiteral("%1 is no setting; expected [section], name=value or a comment")
                             .arg(quoted(text)));
        readSetting(line, text, text.left(equals).trimmed(), text.mid(equals + 1));
    }

    void readSection(int line, const QString& text) {
        static const QRegularExpression header(QStringLiteral("^\\[([^\\]]*)\\]\\s*(;.*)?$"));
        const QRegularExpressionMatch match = header.match(text);
        if (!match.hasMatch())
            broken(line,
                   QStringLiteral("%1 is no section; expected [sources] or [signing]").arg(quoted(text)));
        const Section* section = sectionNamed(match.captured(1).trimmed());
        if (!section)
            broken(line,
                   QStringLiteral("unknown section %1; expected [sources] or [signing]").arg(quoted(text)));
        endSection();
        const int index = int(section - Sections.data());
        if (FSectionLines[index])
            broken(line, QStringLiteral("a second [%1] section; the first is on line %2")
                             .arg(QLatin1String(section->Name))
                             .arg(FSectionLines[index]));
        FSectionLines[index] = line;
        FSection = section;
        FSectionLine = line;
    }

    void readSetting(int line, const QString& text, const QString& key, const QString& rest) {
        if (!FSection) {
            const Section* home = sectionOfKey(key);
            broken(line, home ? QStringLiteral("%1= stands outside a section; expected it under [%2]")
                                    .arg(key, QLatin1String(home->Name))
                              : QStringLiteral("%1 stands outside a section; expected [sources] or [signing] "
                                               "before it")
                                    .arg(quoted(text)));
        }
        if (!sectionOfKey(key) || sectionOfKey(key) != FSection)
            broken(line, QStringLiteral("unknown setting %1 in [%2]; expected %3")
                             .arg(quoted(key), QLatin1String(FSection->Name), keysOf(*FSection)));
        std::optional<TTrustSetting>& setting = *slotOf(FSettings, key);
        if (setting)
            broken(line, QStringLiteral("a second %1=; the first is on line %2").arg(key).arg(setting->Line));
        setting = TTrustSetting{rest.section(u';', 0, 0).trimmed(), line};
        FSectionSets = true;
    }

    // A section that sets nothing, or a [signing] without its key, is a policy cut short.
    void endSection() {
        if (!FSection)
            return;
        if (!FSectionSets)
            broken(FSectionLine, QStringLiteral("[%1] sets nothing; expected %2")
                                     .arg(QLatin1String(FSection->Name), keysOf(*FSection)));
        if (FSection == &Sections[1] && !FSettings.PublicKey)
            broken(FSectionLine, QStringLiteral("[signing] sets no public-key="));
        FSection = nullptr;
        FSectionSets = false;
    }

    TTrustSettings FSettings;
    const Section* FSection = nullptr;
    int FSectionLine = 0;
    bool FSectionSets = false;
    std::array<int, Sections.size()> FSectionLines{};
};

} // namespace

QString AtLine(int Line, const QString& Message) {
    return QStringLiteral("line %1: %2").arg(Line).arg(Message);
}

TTrustSettings ParseTrustFile(const QByteArray& Text) {
    return Reader().Read(Text);
}
