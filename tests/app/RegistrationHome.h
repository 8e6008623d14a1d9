// A temporary home for one test: HOME, XDG_DATA_HOME and XDG_CONFIG_HOME point into a fresh folder, so that a
// protocol registration never touches the real user's files. The previous values come back afterwards.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QTemporaryDir>

class RegistrationHome {
public:
    RegistrationHome() {
        Set("HOME", Home.path().toLocal8Bit());
        Set("XDG_DATA_HOME", Home.filePath(".local/share").toLocal8Bit());
        Set("XDG_CONFIG_HOME", Home.filePath(".config").toLocal8Bit());
        Set("XDG_CURRENT_DESKTOP", QByteArray());
        QDir(Home.path()).mkpath(".local/share");
        QDir(Home.path()).mkpath(".config");
    }
    ~RegistrationHome() {
        // Backwards, so that a variable set twice gets its first value back.
        for (auto saved = Saved.crbegin(); saved != Saved.crend(); ++saved) {
            const auto& [name, value] = *saved;
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    RegistrationHome(const RegistrationHome&) = delete;
    RegistrationHome& operator=(const RegistrationHome&) = delete;

    QString DataHome() const { return Home.filePath(".local/share"); }
    QString ConfigHome() const { return Home.filePath(".config"); }
    QString Path(const QString& relative) const { return Home.filePath(relative); }

    // Another program that handles the protocol, the default one as the data folder's mimeapps.list says.
    void InstallOtherHandler() const {
        QDir(DataHome()).mkpath("applications");
        WriteFile(DataHome() + "/applications/other.desktop",
                  "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %u\n"
                  "MimeType=x-scheme-handler/kestrova;\n");
        WriteFile(DataHome() + "/applications/mimeapps.list",
                  "[Default Applications]\nx-scheme-handler/kestrova=other.desktop\n");
    }

    // The installed package's entry among the system's applications, starting Program, with the cache of
    // handlers that the package's installation makes; the system's data folders are this one alone.
    void InstallPackageEntry(const QString& Program) {
        const QString applications = Home.filePath("system/applications");
        QDir().mkpath(applications);
        WriteFile(applications + "/kestrova.desktop",
                  "[Desktop Entry]\nType=Application\nName=Kestrova\nExec=" + Program.toUtf8() +
                      " %u\nMimeType=x-scheme-handler/kestrova;\n");
        QProcess::execute("update-desktop-database", {applications});
        Set("XDG_DATA_DIRS", Home.filePath("system").toLocal8Bit());
    }

    // The configuration folder becomes a file, so that no default handler can be stored there. (Tests run as
    // root, which ignores permission bits.)
    void DenyDefaultHandlerChanges() const {
        QDir(ConfigHome()).removeRecursively();
        WriteFile(ConfigHome(), QByteArray());
    }

    // Sets an environment variable for the test's lifetime; an empty value removes it.
    void Set(const char* name, const QByteArray& value) {
        Saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

private:
    static void WriteFile(const QString& path, const QByteArray& content) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }

    QTemporaryDir Home;
    QList<QPair<const char*, QByteArray>> Saved;
};
