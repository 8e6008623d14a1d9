#include "PrivateDisplay.h"

#include <QFile>
#include <QRandomGenerator>

namespace {

// A display number is taken while its lock file or its socket exists.
bool Taken(int number) {
    return QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)) ||
           QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number));
}

QString Cookie() {
    QByteArray bytes(16, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(QRandomGenerator::system()->bounded(256));
    return QString::fromLatin1(bytes.toHex());
}

} // namespace

PrivateDisplay::~PrivateDisplay() {
    if (FServer.state() == QProcess::NotRunning)
        return;
    FServer.terminate();
    if (!FServer.waitForFinished(5000))
        FServer.kill();
    FServer.waitForFinished(5000);
}

bool PrivateDisplay::Start() {
    if (!FFolder.isValid()) {
        FError = QStringLiteral("no temporary folder");
        return false;
    }
    for (int number = 91; number < 191; ++number)
        if (!Taken(number) && StartOn(number))
            return true;
    if (FError.isEmpty())
        FError = QStringLiteral("no free display number");
    return false;
}

bool PrivateDisplay::StartOn(int number) {
    const QString display = QStringLiteral(":%1").arg(number);
    // xauth adds to an authority file that exists, and says so when it has to create it.
    QFile authority(Authority());
    if (!authority.exists() && authority.open(QIODevice::WriteOnly))
        authority.close();
    if (QProcess::execute(QStringLiteral("xauth"),
                          {QStringLiteral("-q"), QStringLiteral("-f"), Authority(), QStringLiteral("add"),
                           display, QStringLiteral("MIT-MAGIC-COOKIE-1"), Cookie()}) != 0) {
        FError = QStringLiteral("xauth failed");
        return false;
    }
    // The server writes its display number on standard output once it accepts clients.
    FServer.start(QStringLiteral("Xvfb"),
                  {display, QStringLiteral("-auth"), Authority(), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                   QStringLiteral("1280x1024x24"), QStringLiteral("-displayfd"), QStringLiteral("1")});
    if (!FServer.waitForStarted(5000)) {
        FError = QStringLiteral("Xvfb cannot be started: ") + FServer.errorString();
        return false;
    }
    while (FServer.state() == QProcess::Running && !FServer.canReadLine())
        if (!FServer.waitForReadyRead(10000))
            break;
    if (FServer.state() == QProcess::Running && FServer.canReadLine()) {
        FDisplay = display;
        return true;
    }
    // Another server took the number meanwhile, or this one failed: the next number is tried.
    FError = QString::fromLocal8Bit(FServer.readAllStandardError()).trimmed();
    FServer.kill();
    FServer.waitForFinished(5000);
    return false;
}
