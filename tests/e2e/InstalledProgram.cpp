#include "InstalledProgram.h"

#include "JobHarness.h"
#include "support/PdfFixtures.h"
#include "support/PrintSystem.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

void Program::SetUp() {
    if (!PrintSystem::Shared().Started())
        GTEST_SKIP() << "no private print system: " << PrintSystem::Shared().Error().toStdString();
    ASSERT_TRUE(Install.isValid() && Home.isValid());
    for (const char* file : {"Kestrova", "libpdfium.so"})
        ASSERT_TRUE(QFile::copy(QDir(KESTROVA_BIN_DIR).filePath(file), Install.filePath(file))) << file;
    QFile::setPermissions(Install.filePath("Kestrova"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

int Program::Run(const QString& link) {
    QProcess program;
    Start(program, link);
    return WaitFor(program);
}

int Program::WaitFor(QProcess& program) {
    QElapsedTimer clock;
    clock.start();
    while (program.state() != QProcess::NotRunning && clock.elapsed() < 180000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        program.waitForFinished(20);
    }
    if (program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished();
        return -1;
    }
    return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
}

void Program::Start(QProcess& program, const QString& link) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", Home.path());
    // The engine must be found beside the program. Under the address sanitizer the dlopen is the
    // sanitizer's, which searches by its own run path and not the program's, so the path is named.
#if defined(__SANITIZE_ADDRESS__)
    environment.insert("LD_LIBRARY_PATH", Install.path());
#else
    environment.remove("LD_LIBRARY_PATH");
#endif
    environment.insert("XDG_DATA_HOME", DataHome());
    program.setProcessEnvironment(environment);
    if (!Launcher.isEmpty()) {
        program.start(Launcher.first(), Launcher.mid(1) + QStringList{Install.filePath("Kestrova"), link});
        return;
    }
    if (!ReadOnlyInstall) {
        program.start(Install.filePath("Kestrova"), {link});
        return;
    }
    // Root may write anywhere, so the folder is mounted read-only, in a mount namespace that ends with the
    // program.
    program.start("unshare",
                  {"--mount", "sh", "-c", "mount -o bind,ro \"$0\" \"$0\" && exec \"$0/Kestrova\" \"$1\"",
                   Install.path(), link});
}

QString Program::StartStalledJob(QProcess& program, const QString& path) {
    HttpResponse stalled{200, {}, MakePdf({})};
    stalled.StallAfter = stalled.Body.size() / 2;
    Server.On("GET", path.toUtf8(), stalled);
    Start(program, JobLink("Desk", Server.Url(path)));
    const QString document = Install.filePath("DownFile/" + path.section(u'/', -1));
    QElapsedTimer clock;
    clock.start();
    while (QFileInfo(document).size() == 0 && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return QFileInfo(document).size() > 0 ? document : QString();
}

QStringList Program::LogLines(const QString& folder) const {
    QFile log(folder + "/log/" + QDate::currentDate().toString("yyyyMMdd") + ".log");
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(log.readAll()).split("\r\n", Qt::SkipEmptyParts);
}

void Program::ExpectLoggedOnce(const QString& link, const QString& folder) const {
    const QStringList lines = LogLines(folder.isEmpty() ? Install.path() : folder);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().endsWith(": " + link)) << lines.first().toStdString();
}
