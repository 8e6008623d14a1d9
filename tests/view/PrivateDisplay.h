// An X server of the tests' own: Xvfb on a display number that no server holds, reachable only through a
// cookie in a private authority file and never over the network. It stops when the object goes.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class PrivateDisplay {
public:
    PrivateDisplay() = default;
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // Starts the server; false, with Error() saying why, when none could be started.
    bool Start();
    QString Error() const { return FError; }
    // The values of DISPLAY and XAUTHORITY that reach it.
    QString Display() const { return FDisplay; }
    QString Authority() const { return FFolder.filePath(QStringLiteral("Xauthority")); }

private:
    bool StartOn(int number);

    QTemporaryDir FFolder;
    QProcess FServer;
    QString FDisplay;
    QString FError;
};
