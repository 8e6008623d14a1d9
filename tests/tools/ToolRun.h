// Runs a built tool as a process and keeps what it answered: exit code, JSON and errors.
#pragma once

#include "support/TestData.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

struct ToolRun {
    int ExitCode = -1;
    QByteArray Output;
    QString Errors;
    QJsonObject Json() const { return QJsonDocument::fromJson(Output).object(); }
};

// Runs the built tool Name (kestrova-pdf unless named).
inline ToolRun RunTool(const QStringList& arguments, const QString& name = QStringLiteral("kestrova-pdf")) {
    QProcess process;
    process.start(QStringLiteral(KESTROVA_BIN_DIR "/") + name, arguments);
    const bool finished = process.waitForFinished(60000);
    if (!finished)
        process.kill();
    EXPECT_TRUE(finished) << name.toStdString() << " did not end: " << arguments.join(' ').toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

inline QString Shared(const char* relative) {
    return testDataPath(QString::fromLatin1(relative));
}
