#include "app/registration/ProtocolRegistration.h"

#include "app/registration/ERegistryError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

QString mimeType(const QString& key) {
    return QStringLiteral("x-scheme-handler/") + key.toLower();
}

// The user's own entry, written by a registration.
QString desktopId(const QString& key) {
    return key.toLower() + QStringLiteral("-protocol.desktop");
}

// The entry that the installed package puts among the system's applications for every user.
QString installedId(const QString& key) {
    return key.toLower() + QStringLiteral(".desktop");
}

QString applicationsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/applications");
}

QString entryPath(const QString& key) {
    return applicationsFolder() + QLatin1Char('/') + desktopId(key);
}

// Runs a tool to its end; its trimmed output, or nothing when it could not run or failed.
QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments, QIODevice::ReadOnly);
    const bool ran = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
                     process.exitCode() == 0;
    return ran ? QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed() : QString();
}

// The desktop entry that the system opens the protocol's links with.
QString defaultHandler(const QString& key) {
    return runTool(QStringLiteral("xdg-mime"),
                   {QStringLiteral("query"), QStringLiteral("default"), mimeType(key)});
}

// The executable as one argument of an Exec line: quoted when it holds a reserved character, with the
// quoting's escapes inside the quotes.
QString execArgument(const QString& path) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool needsQuotes =
        std::any_of(path.begin(), path.end(), [](QChar c) { return reserved.contains(c); });
    if (!needsQuotes)
        return path;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

// The Exec value: the executable and the link as its only argument, with "%" doubled as a literal and the
// string escapes of a desktop entry value applied last.
QString execValue(const QString& executablePath) {
    QString command = execArgument(executablePath);
    command.replace(QLatin1Char('%'), QStringLiteral("%%"));
    QString value;
    for (const QChar c : command) {
        switch (c.unicode()) {
        case u'\\':
            value += QStringLiteral("\\\\");
            break;
        case u'\n':
            value += QStringLiteral("\\n");
            break;
        case u'\t':
            value += QStringLiteral("\\t");
            break;
        case u'\r':
            value += QStringLiteral("\\r");
            break;
        default:
            value += c;
        }
    }
    return value + QStringLiteral(" %u");
}

// Whether the installed package's entry, as the desktop finds it, starts the executable at executablePath:
// then the program is that installation, and its entry serves every user already. The entry holds one group.
bool installedEntryStarts(const QString& key, const QString& executablePath) {
    QFile entry(QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                       QStringLiteral("applications/") + installedId(key)));
    if (entry.fileName().isEmpty() || !entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QString exec = QStringLiteral("Exec=") + execValue(executablePath);
    while (!entry.atEnd()) {
        if (QString::fromUtf8(entry.readLine()).trimmed() == exec)
            return true;
    }
    return false;
}

// Makes entry id the default handler of the protocol's links. xdg-mime reports success even when it could not
// store the choice, so the choice is read back.
void makeDefault(const QString& key, const QString& id) {
    runTool(QStringLiteral("xdg-mime"), {QStringLiteral("default"), id, mimeType(key)});
    if (defaultHandler(key) != id)
        throw ERegistryError(QStringLiteral("Failed to set data for '%1'").arg(mimeType(key)));
}

QByteArray desktopEntry(const QString& key, const QString& executablePath) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Terminal=false\n"
                          "NoDisplay=true\n"
                          "MimeType=%3;\n")
        .arg(key, execValue(executablePath), mimeType(key))
        .toUtf8();
}

} // namespace

bool IsExistRegistryKey(const QString& Key) {
    if (installedEntryStarts(Key, QCoreApplication::applicationFilePath()))
        return defaultHandler(Key) == installedId(Key);
    const QFileInfo entry(entryPath(Key));
    return entry.isFile() && entry.isWritable() && defaultHandler(Key) == desktopId(Key);
}

void RegisterProtocol(const QString& Key, const QString& ExecutablePath) {
    // The installed program registers no entry of its own beside the package's: it only makes that one the
    // user's choice again.
    if (installedEntryStarts(Key, ExecutablePath)) {
        makeDefault(Key, installedId(Key));
        return;
    }
    if (!QDir().mkpath(applicationsFolder()))
        return;
    QSaveFile entry(entryPath(Key));
    if (!entry.open(QIODevice::WriteOnly))
        return;
    entry.write(desktopEntry(Key, ExecutablePath));
    if (!entry.commit())
        throw ERegistryError(QStringLiteral("Failed to set data for 'Exec'"));
    const QString refresh = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (!refresh.isEmpty())
        runTool(refresh, {applicationsFolder()});
    makeDefault(Key, desktopId(Key));
}
