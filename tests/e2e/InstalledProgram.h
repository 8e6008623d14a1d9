// The real program copied with its engine into a folder of its own, as an installation would be, with a home
// of its own and a web server on 127.0.0.1; started with a link as the desktop starts it.
#pragma once

#include "support/HttpServer.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class Program : public testing::Test {
protected:
    void SetUp() override;

    // Runs the program with Link to its end, serving the web meanwhile; its exit code, or -1 when it did not
    // end in time.
    int Run(const QString& link);
    // Waits, serving the web, until Program has ended; its exit code, or -1 when it did not end in time (it
    // is then killed) or crashed.
    int WaitFor(QProcess& program);

    // Starts the program with Link as the desktop starts it.
    void Start(QProcess& program, const QString& link);
    // Starts the program with a job whose document the web server sends only halfway, at Path; the
    // document's path in the download folder once the job has begun to save it, or an empty string when it
    // has not within a minute.
    QString StartStalledJob(QProcess& program, const QString& path);

    // The user's data folder, XDG_DATA_HOME, in the temporary home.
    QString DataHome() const { return Home.filePath("data"); }

    // The lines of the day's log in Folder, the program's data folder.
    QStringList LogLines(const QString& folder) const;
    // The day's log in the program's data folder, beside the program unless named, holds one line: the time
    // and the link.
    void ExpectLoggedOnce(const QString& link, const QString& folder = QString()) const;

    QTemporaryDir Install;
    QTemporaryDir Home;
    HttpServer Server;
    bool ReadOnlyInstall = false; // the program's folder cannot be written, as in an installed package
    // A command the program is started through, given the program and the link as its last arguments (such as
    // unshare, for a mount namespace of its own); none when empty.
    QStringList Launcher;
};
