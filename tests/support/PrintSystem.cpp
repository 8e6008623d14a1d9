#include "PrintSystem.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <memory>

namespace {

QString script() {
    return QStringLiteral(KESTROVA_SOURCE_DIR "/scripts/print-system.sh");
}

// Stops it with nothing but the shell, because the process may be past the end of its QApplication.
void stop(const QString& folder) {
    const QString command = QStringLiteral("'%1' stop '%2' >/dev/null 2>&1").arg(script(), folder);
    [[maybe_unused]] const int status = std::system(command.toLocal8Bit().constData());
}

} // namespace

PrintSystem& PrintSystem::Shared() {
    static const std::unique_ptr<PrintSystem> shared(new PrintSystem);
    return *shared;
}

PrintSystem::PrintSystem() {
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/kestrova-print-XXXXXX"));
    if (!folder.isValid()) {
        FError = QStringLiteral("cannot make a temporary folder: ") + folder.errorString();
        return;
    }
    folder.setAutoRemove(false);
    FFolder = folder.path();

    QProcess start;
    start.start(script(), {QStringLiteral("start"), FFolder});
    if (!start.waitForFinished(120000) || start.exitStatus() != QProcess::NormalExit ||
        start.exitCode() != 0) {
        FError = QStringLiteral("scripts/print-system.sh start failed: ") +
                 QString::fromLocal8Bit(start.readAllStandardError()).trimmed();
        stop(FFolder);
        return;
    }
    static const QRegularExpression line(QStringLiteral("^export (\\w+)='(.*)'$"),
                                         QRegularExpression::MultilineOption);
    for (auto match = line.globalMatch(QString::fromLocal8Bit(start.readAllStandardOutput()));
         match.hasNext();) {
        const auto found = match.next();
        qputenv(found.captured(1).toLocal8Bit().constData(), found.captured(2).toLocal8Bit());
    }
    // A default printer named in the environment would override the private one.
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    FOutput = qEnvironmentVariable("KESTROVA_PRINT_OUTPUT");
    FPrinters = qEnvironmentVariable("KESTROVA_PRINTERS").split(u' ', Qt::SkipEmptyParts);
    if (FPrinters.isEmpty())
        FError = QStringLiteral("scripts/print-system.sh start named no printers");
}

PrintSystem::~PrintSystem() {
    if (!FFolder.isEmpty())
        stop(FFolder);
}

QString PrintSystem::WaitForOutput(const QString& Printer, int TimeoutSeconds) {
    const QDeadlineTimer deadline(std::chrono::seconds{TimeoutSeconds});
    do {
        const QStringList files = QDir(FOutput).entryList({Printer + QStringLiteral("-*.pdf")}, QDir::Files);
        for (const QString& file : files) {
            if (!FSeen.contains(file)) {
                FSeen.append(file);
                return QDir(FOutput).filePath(file);
            }
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return {};
}

bool PrintSystem::AddPrinter(const QString& Name, int DefaultDpi) {
    QString ppd = FFolder + QStringLiteral("/a4.ppd");
    if (DefaultDpi != 300) {
        // The same model, with DefaultDpi offered beside 300 dpi and chosen by default.
        QFile model(ppd);
        if (!model.open(QIODevice::ReadOnly))
            return false;
        const QByteArray dpi = QByteArray::number(DefaultDpi);
        QByteArray text = model.readAll();
        text.replace("*DefaultResolution: 300dpi", "*DefaultResolution: " + dpi + "dpi\n*Resolution " + dpi +
                                                       "dpi/" + dpi + " DPI: \"<</HWResolution[" + dpi + " " +
                                                       dpi + "]>>setpagedevice\"");
        ppd = FFolder + QStringLiteral("/a4-%1.ppd").arg(DefaultDpi);
        QFile variant(ppd);
        if (!variant.open(QIODevice::WriteOnly) || variant.write(text) != text.size())
            return false;
    }
    return lpadmin({QStringLiteral("-p"), Name, QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("kestrova-file:") + FOutput, QStringLiteral("-P"), ppd});
}

bool PrintSystem::RemovePrinter(const QString& Name) {
    return lpadmin({QStringLiteral("-x"), Name});
}

bool PrintSystem::lpadmin(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("lpadmin"), arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

NoDefaultPrinter::NoDefaultPrinter() {
    qputenv("PRINTER", "Kestrova_No_Such_Printer");
}

NoDefaultPrinter::~NoDefaultPrinter() {
    qunsetenv("PRINTER");
}
