#include "app/download/DownloadFileName.h"

#include "app/download/ExtractUrlFileName.h"

#include <QFile>

#include <algorithm>

namespace {

// An extension longer than this is a part of the name that happens to hold a full stop.
constexpr qsizetype MaxExtensionLength = 16;

bool refused(QChar c) {
#ifdef Q_OS_WIN
    return c.unicode() < 0x20 || QStringView(u"<>:\"/\\|?*").contains(c);
#else
    return c.isNull() || c == u'/';
#endif
}

qsizetype lengthOf(const QString& name) {
#ifdef Q_OS_WIN
    return name.size(); // NTFS counts UTF-16 code units
#else
    return QFile::encodeName(name).size();
#endif
}

// Base without its last characters until Base + Tail fits; never splits a surrogate pair.
QString fitted(QString base, const QString& tail) {
    while (!base.isEmpty() && lengthOf(base + tail) > MaxFileNameBytes)
        base.chop(base.size() > 1 && base.back().isLowSurrogate() ? 2 : 1);
    return base + tail;
}

// Where the extension begins; the name's length when it has none.
qsizetype extensionAt(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 && name.size() - dot <= MaxExtensionLength ? dot : name.size();
}

QString withSuffix(const QString& name, const QString& suffix) {
    const qsizetype dot = extensionAt(name);
    const QString extension = name.mid(dot);
    if (lengthOf(suffix + extension) >= MaxFileNameBytes)
        return fitted(name, suffix);
    return fitted(name.left(dot), suffix + extension);
}

} // namespace

QString DownloadFileName(const QString& Address) {
    QString name = ExtractUrlFileName(Address);
    if (name.contains(u'?') || name.contains(u'#')) {
        qsizetype end = Address.size();
        for (const QChar mark : {u'?', u'#'})
            if (const qsizetype at = Address.indexOf(mark); at >= 0)
                end = std::min(end, at);
        name = ExtractUrlFileName(Address.left(end));
    }
    for (QChar& c : name)
        if (refused(c))
            c = u'_';
    return withSuffix(name, QString());
}

QString NumberedFileName(const QString& FileName, int Number) {
    return withSuffix(FileName, QStringLiteral(" (%1)").arg(Number));
}
