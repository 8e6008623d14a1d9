#include "PrintSystem.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cups/cups.h>

#include <csignal>
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

// Writes Content to the file at Path, the print system's switch for what its printers do; empty Content
// removes the file, and with it the switch.
bool setSwitch(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (content.isEmpty())
        return !file.exists() || file.remove();
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
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
    // The print system runs the renderer of this build as its filter.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KESTROVA_FILTER"),
                       QStringLiteral(KESTROVA_BIN_DIR "/kestrova-pdftoraster"));
    start.setProcessEnvironment(environment);
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
    FDriverless = qEnvironmentVariable("KESTROVA_DRIVERLESS_PRINTER");
    FDuplex = qEnvironmentVariable("KESTROVA_DUPLEX_PRINTER");
    FLabel = qEnvironmentVariable("KESTROVA_LABEL_PRINTER");
    FDriverlessPlain = qEnvironmentVariable("KESTROVA_DRIVERLESS_PLAIN_PRINTER");
    FPostScript = qEnvironmentVariable("KESTROVA_POSTSCRIPT_PRINTER");
    FLaserJet = qEnvironmentVariable("KESTROVA_LASERJET_PRINTER");
    FRaw = qEnvironmentVariable("KESTROVA_RAW_PRINTER");
    FDriverlessError = qEnvironmentVariable("KESTROVA_DRIVERLESS_ERROR");
    if (FPrinters.isEmpty())
        FError = QStringLiteral("scripts/print-system.sh start named no printers");
}

bool PrintSystem::SetDriverlessDelay(int Seconds) {
    return setSwitch(QDir(FFolder).filePath(QStringLiteral("driverless-delay")),
                     Seconds == 0 ? QByteArray() : QByteArray::number(Seconds));
}

bool PrintSystem::HoldJobs(const QString& Printer, const QStringList& BackendLines) {
    return setSwitch(QDir(FFolder).filePath(Printer + QStringLiteral(".hold")),
                     BackendLines.isEmpty() ? QByteArray() : (BackendLines.join(u'\n') + u'\n').toUtf8());
}

PrintSystem::~PrintSystem() {
    if (!FFolder.isEmpty())
        stop(FFolder);
}

QString PrintSystem::WaitForOutput(const QString& Printer, int TimeoutSeconds) {
    // The queue's own files only: Kestrova_Driverless is not Kestrova_Driverless_Plain.
    const QRegularExpression printed(
        QStringLiteral("^%1-\\d+\\.\\w+$").arg(QRegularExpression::escape(Printer)));
    const QDeadlineTimer deadline(std::chrono::seconds{TimeoutSeconds});
    do {
        const QStringList files = QDir(FOutput).entryList(QDir::Files).filter(printed);
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

bool PrintSystem::AddPrinter(const QString& Name, int DefaultDpi, const QByteArray& Filter) {
    QFile model(FFolder + QStringLiteral("/a4.ppd"));
    if (!model.open(QIODevice::ReadOnly))
        return false;
    QByteArray text = model.readAll();
    if (DefaultDpi != 300) {
        // DefaultDpi offered beside 300 dpi and chosen by default.
        const QByteArray dpi = QByteArray::number(DefaultDpi);
        text.replace("*DefaultResolution: 300dpi", "*DefaultResolution: " + dpi + "dpi\n*Resolution " + dpi +
                                                       "dpi/" + dpi + " DPI: \"<</HWResolution[" + dpi + " " +
                                                       dpi + "]>>setpagedevice\"");
    }
    if (!Filter.isEmpty())
        text.replace("application/vnd.cups-pdf application/pdf 0 -", Filter);
    const QString ppd = FFolder + QStringLiteral("/%1.ppd").arg(Name);
    QFile variant(ppd);
    if (!variant.open(QIODevice::WriteOnly) || variant.write(text) != text.size())
        return false;
    variant.close();
    return lpadmin({QStringLiteral("-p"), Name, QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("kestrova-file:") + FOutput, QStringLiteral("-P"), ppd});
}

bool PrintSystem::RemovePrinter(const QString& Name) {
    return lpadmin({QStringLiteral("-x"), Name});
}

bool PrintSystem::KillServer() {
    QFile file(QDir(FFolder).filePath(QStringLiteral("cupsd.pid")));
    const pid_t pid = file.open(QIODevice::ReadOnly) ? pid_t(file.readAll().trimmed().toInt()) : 0;
    if (pid <= 0 || ::kill(pid, SIGKILL) != 0)
        return false;
    const QDeadlineTimer deadline(std::chrono::seconds{10});
    while (::kill(pid, 0) == 0 && !deadline.hasExpired())
        QThread::msleep(20);
    return deadline.hasExpired() == false;
}

bool PrintSystem::RestoreDefaultPrinter() {
    return lpadmin({QStringLiteral("-p"), DefaultPrinter(), QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("kestrova-file:") + FOutput, QStringLiteral("-P"),
                    FFolder + QStringLiteral("/letter.ppd")}) &&
           lpadmin({QStringLiteral("-d"), DefaultPrinter()});
}

bool PrintSystem::lpadmin(const QStringList& arguments) {
    return Administer(QStringLiteral("lpadmin"), arguments);
}

bool PrintSystem::Administer(const QString& Command, const QStringList& Arguments) {
    QProcess process;
    process.start(Command, Arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QString PrintSystem::LastJobTitle(const QString& Printer) {
    cups_job_t* jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, Printer.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
    QString title;
    int newest = 0;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id > newest) {
            newest = jobs[i].id;
            title = QString::fromUtf8(jobs[i].title);
        }
    }
    cupsFreeJobs(count, jobs);
    return title;
}

NoDefaultPrinter::NoDefaultPrinter(PrintSystem& System) : FSystem(System) {
    FSystem.RemovePrinter(FSystem.DefaultPrinter());
}

NoDefaultPrinter::~NoDefaultPrinter() {
    FSystem.RestoreDefaultPrinter();
}

int PrintSystem::PrintingJobCount() {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    int printing = 0;
    for (int i = 0; i < count; ++i)
        printing += jobs[i].state != IPP_JSTATE_CANCELED && jobs[i].state != IPP_JSTATE_ABORTED;
    cupsFreeJobs(count, jobs);
    return printing;
}

bool PrintSystem::WaitUntilIdle(const QString& Printer, int TimeoutSeconds) {
    const QDeadlineTimer deadline(std::chrono::seconds{TimeoutSeconds});
    for (;;) {
        cups_job_t* jobs = nullptr;
        const int count =
            cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, Printer.toUtf8().constData(), 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(count, jobs);
        if (count == 0)
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}
