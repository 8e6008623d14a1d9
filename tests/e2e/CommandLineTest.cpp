// The four programs' command lines as a user types them first: --help, -h and --version answer on standard
// output and exit 0 with no display at all (no DISPLAY, no WAYLAND_DISPLAY, Qt's default platform) and
// without writing anything, neither beside the programs nor into the home. Kestrova refuses what is neither
// a link nor an option, says so, exits 1 and logs it as a refused command line, never as a print job.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QStringList Programs{"Kestrova", "kestrova-view", "kestrova-pdf", "kestrova-link"};

struct Answer {
    int ExitCode;
    QString Output;
    QString Error;
};

class CommandLine : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Copy.isValid() && Home.isValid());
        for (const QString& file : Programs + QStringList{"libpdfium.so"})
            ASSERT_TRUE(QFile::copy(QDir(KESTROVA_BIN_DIR).filePath(file), Copy.filePath(file)))
                << qPrintable(file);
    }

    Answer Run(const QString& program, const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME"})
            environment.remove(name);
        environment.insert("HOME", Home.path());
        process.setProcessEnvironment(environment);
        process.start(Copy.filePath(program), arguments);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return {-1, {}, {}};
        }
        const int exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return {exitCode, QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QStringList CopyFolder() const {
        return QDir(Copy.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    QStringList HomeFolder() const {
        return QDir(Home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir Copy;
    QTemporaryDir Home;
};

TEST_F(CommandLine, HelpAndVersionAnswerWithoutDisplayAndWriteNothing) {
    const QStringList copied = CopyFolder();
    for (const QString& program : Programs) {
        const QString name = program.toLower();
        for (const char* help : {"--help", "-h"}) {
            const Answer answer = Run(program, {help});
            EXPECT_EQ(answer.ExitCode, 0) << qPrintable(program + ' ' + help + ": " + answer.Error);
            EXPECT_TRUE(answer.Output.startsWith("Usage", Qt::CaseInsensitive)) << qPrintable(answer.Output);
            EXPECT_TRUE(answer.Output.contains("--version")) << qPrintable(program);
        }
        const Answer version = Run(program, {"--version"});
        EXPECT_EQ(version.ExitCode, 0) << qPrintable(program + ": " + version.Error);
        EXPECT_EQ(version.Output.toStdString(), (name + ' ' + KESTROVA_VERSION + '\n').toStdString());
    }
    EXPECT_EQ(CopyFolder().join(' ').toStdString(), copied.join(' ').toStdString());
    EXPECT_EQ(HomeFolder().join(' ').toStdString(), "");
}

TEST_F(CommandLine, KestrovaRefusesWhatIsNeitherLinkNorOption) {
    struct Case {
        QStringList Arguments;
        QString Message;
    };
    const QList<Case> cases{
        {{"receipt.pdf"}, "\"receipt.pdf\" is neither a link nor an option."},
        {{"--print"}, "Unknown option 'print'."},
        {{"kestrova://print/?a=1", "kestrova://print/?b=2"}, "One link at most, not 2 arguments."},
    };
    for (const Case& refused : cases) {
        const Answer answer = Run("Kestrova", refused.Arguments);
        EXPECT_EQ(answer.ExitCode, 1) << qPrintable(refused.Arguments.join(' '));
        EXPECT_TRUE(answer.Error.startsWith("Kestrova: " + refused.Message)) << qPrintable(answer.Error);
        EXPECT_EQ(answer.Output.toStdString(), "");
    }
    // Each refusal is one line of the copy's log, which says what it was.
    QStringList lines;
    for (const QString& log : QDir(Copy.filePath("log")).entryList(QDir::Files)) {
        QFile file(Copy.filePath("log/" + log));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        lines += QString::fromLocal8Bit(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    }
    ASSERT_EQ(lines.size(), cases.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].endsWith(": Refused command line: " + cases[i].Message)) << qPrintable(lines[i]);
}

} // namespace
