// The text of a trust file, read strictly and whole: sections [sources] and [signing], each at most once,
// with their own settings, each at most once; blank lines and comments (";" or "#" first on a line, or ";"
// after a value). Whatever else a line holds, a line cut short (no line end after the last one), a section
// that sets nothing and a file that sets nothing make the whole file broken: a policy is taken as written or
// not at all, never in part.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct TTrustSetting {
    QString Value; // without its comment and the spaces around it
    int Line = 0;  // counted from 1
};

struct TTrustSettings {
    std::optional<TTrustSetting> Allow;     // [sources] allow
    std::optional<TTrustSetting> PublicKey; // [signing] public-key
    std::optional<TTrustSetting> MaxAge;    // [signing] max-age
};

// The settings of Text. Raises ETrustError "line N: what was found; what was expected", quoting what it found
// only where it is printable text, and then at most its first 60 characters.
TTrustSettings ParseTrustFile(const QByteArray& Text);

// "line N: Message", the form of every error about a line of a trust file.
QString AtLine(int Line, const QString& Message);
