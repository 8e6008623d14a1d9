// Where kestrova-pdf saves: a regular file (the input itself too, or through a symbolic link) is replaced
// whole; a FIFO and a character device are written through and stay what they were; a folder and a socket
// are refused. Each target is looked at after the run, as the system sees it.
#include "support/FifoReader.h"
#include "support/PdfFixtures.h"
#include "support/Programs.h"
#include "tests/tools/ToolRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocalServer>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What stands under a name: "file", "folder", "fifo", "socket", "character device", "absent", and
// "link to ..." for a symbolic link.
QString KindOf(const QString& path) {
    struct stat status {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &status) != 0)
        return "absent";
    if (S_ISLNK(status.st_mode))
        return "link to " + (::stat(name.constData(), &status) == 0 && S_ISREG(status.st_mode)
                                 ? QString("file")
                                 : QString("?"));
    if (S_ISREG(status.st_mode))
        return "file";
    if (S_ISDIR(status.st_mode))
        return "folder";
    if (S_ISFIFO(status.st_mode))
        return "fifo";
    if (S_ISSOCK(status.st_mode))
        return "socket";
    if (S_ISCHR(status.st_mode))
        return "character device";
    return "other";
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool QpdfFindsNoError(const QString& path) {
    return RunProgram("qpdf", {"--check", path}).contains("No syntax or stream encoding errors found");
}

struct SaveTargetCase {
    const char* Name;
    // Makes what stands under the target's name, in the folder; returns the target.
    std::function<QString(const QDir& folder, const QString& input)> Make;
    bool Read = false; // a FIFO with a reader
    int ExitCode;
    QString Message; // on standard error, "%1" the target
    QString KindAfter;
};

} // namespace

TEST(KestrovaPdfSaveTargets, OnlyARegularFileIsReplacedAndEveryOtherTargetKeepsWhatItIs) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir folder(dir.path());
    QLocalServer socketServer;
    const auto file = [](const QDir& f, const QString&) {
        QFile old(f.filePath("old.pdf"));
        old.open(QIODevice::WriteOnly);
        old.write("an earlier file");
        return old.fileName();
    };
    const auto fifo = [](const QDir& f, const QString&) {
        const QString path = f.filePath("pipe.pdf");
        ::mkfifo(QFile::encodeName(path).constData(), 0600);
        return path;
    };
    const SaveTargetCase cases[] = {
        {"nothing",
         [](const QDir& f, const QString&) { return f.filePath("new.pdf"); },
         false,
         0,
         {},
         "file"},
        {"a regular file", file, false, 0, {}, "file"},
        {"the input itself", [](const QDir&, const QString& input) { return input; }, false, 0, {}, "file"},
        {"a symbolic link to a file",
         [&](const QDir& f, const QString& input) {
             const QString target = file(f, input);
             QFile::link(target, f.filePath("link.pdf"));
             return f.filePath("link.pdf");
         },
         false,
         0,
         {},
         "link to file"},
        {"a folder",
         [](const QDir& f, const QString&) {
             f.mkdir("folder.pdf");
             return f.filePath("folder.pdf");
         },
         false, 1, "Cannot create file \"%1\". It is a folder", "folder"},
        {"a FIFO that nothing reads", fifo, false, 1, "Cannot write file \"%1\". No program reads from it",
         "fifo"},
        {"a FIFO being read", fifo, true, 0, {}, "fifo"},
        {"a socket",
         [&](const QDir& f, const QString&) {
             socketServer.listen(f.filePath("socket.pdf"));
             return f.filePath("socket.pdf");
         },
         false, 1, "Cannot create file \"%1\". It is a socket, not a file", "socket"},
    };
    for (const SaveTargetCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString input = WritePdf(dir.path(), "input.pdf", FixtureDocument{{FixturePage{{200, 200}}}});
        const QString target = c.Make(folder, input);
        std::optional<FifoReader> reader;
        if (c.Read)
            reader.emplace(target);
        const ToolRun run = RunTool({"edit", input, target, "rect", "1", "10", "10", "50", "50"});
        EXPECT_EQ(run.ExitCode, c.ExitCode) << run.Errors.toStdString();
        if (!c.Message.isEmpty()) {
            EXPECT_EQ(run.Errors.trimmed(), "kestrova-pdf: " + c.Message.arg(target));
        }
        EXPECT_EQ(KindOf(target), c.KindAfter);
        if (c.ExitCode != 0)
            continue;
        if (reader) {
            const QByteArray received = reader->ReadAll();
            EXPECT_TRUE(received.startsWith("%PDF-")) << received.left(40).toStdString();
            continue;
        }
        EXPECT_TRUE(QpdfFindsNoError(target));
        EXPECT_EQ(folder.entryList({"*.pdf.*", ".*.pdf*"}, QDir::Files | QDir::Hidden), QStringList())
            << "a stray file beside the target";
    }
}

TEST(KestrovaPdfSaveTargets, StandardOutputTakesTheDocumentOrPictureAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString input = WritePdf(dir.path(), "input.pdf", FixtureDocument{{FixturePage{{200, 200}}}});
    const ToolRun edited = RunTool({"edit", input, "/dev/stdout", "rect", "1", "10", "10", "50", "50"});
    ASSERT_EQ(edited.ExitCode, 0) << edited.Errors.toStdString();
    const QString saved = dir.filePath("saved.pdf");
    {
        QFile file(saved);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(edited.Output);
    }
    EXPECT_TRUE(edited.Output.trimmed().endsWith("%%EOF")) << "no report after the document";
    EXPECT_TRUE(QpdfFindsNoError(saved));
    const ToolRun rendered = RunTool({"render", input, "1", "72", "/dev/stdout"});
    ASSERT_EQ(rendered.ExitCode, 0) << rendered.Errors.toStdString();
    EXPECT_EQ(QImage::fromData(rendered.Output, "PNG").size(), QSize(200, 200));
}

// Character devices made in a mount namespace of the test's own, on a tmpfs that only it sees: one that
// takes every byte as /dev/null does, one that is always full as /dev/full is. Making them needs root.
TEST(KestrovaPdfSaveTargets, ACharacterDeviceIsWrittenThroughAndNeverReplaced) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a character device needs root";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString input = WritePdf(dir.path(), "input.pdf", FixtureDocument{{FixturePage{{200, 200}}}});
    const QString devices = dir.filePath("devices");
    ASSERT_TRUE(QDir().mkdir(devices));
    const QString tool = QStringLiteral(KESTROVA_BIN_DIR "/kestrova-pdf");
    // Each run's exit code and what stands under the name after it, one line each.
    const QString script =
        "mount -t tmpfs tmpfs \"$1\" && mknod \"$1/null\" c 1 3 && mknod \"$1/full\" c 1 7 || exit 99\n"
        "for device in null full; do\n"
        "  \"$2\" edit \"$3\" \"$1/$device\" rect 1 10 10 50 50 > /dev/null 2> \"$4/$device.err\"\n"
        "  echo \"$device $? $(stat -c %F \"$1/$device\")\"\n"
        "done\n";
    QProcess process;
    process.start("unshare", {"--mount", "--propagation", "private", "sh", "-c", script, "sh", devices, tool,
                              input, dir.path()});
    ASSERT_TRUE(process.waitForFinished(60000));
    if (process.exitCode() == 99 || process.exitStatus() != QProcess::NormalExit)
        GTEST_SKIP() << "no mount namespace here: " << process.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).trimmed().split('\n');
    EXPECT_EQ(lines, (QStringList{"null 0 character special file", "full 1 character special file"}));
    EXPECT_EQ(QString::fromUtf8(ReadAll(dir.filePath("full.err"))).trimmed(),
              QString("kestrova-pdf: Cannot write file \"%1/full\". No space left on device").arg(devices));
    // Outside the namespace the folder stayed empty.
    EXPECT_EQ(QDir(devices).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), QStringList());
}
