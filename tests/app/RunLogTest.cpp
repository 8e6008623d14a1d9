// The run log and the folder helpers, in temporary folders that stand for the program's data folder.
#include "RegistrationHome.h"

#include "app/log/CheckDirectory.h"
#include "app/log/DataFolder.h"
#include "app/log/RunLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString folderPath(const QTemporaryDir& root, const QString& relative) {
    return QDir::toNativeSeparators(root.filePath(relative));
}

void makeFile(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// Points the program's data folder at a temporary one for one test.
class DataFolderFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Root.isValid());
        DataFolder::SetPath(Root.path());
    }
    void TearDown() override { DataFolder::SetPath(QString()); }

    QStringList logFiles() const { return QDir(Root.filePath("log")).entryList(QDir::Files); }

    // The whole text of every log file, in the order of their names.
    QString logText() const {
        QString text;
        for (const QString& name : logFiles()) {
            QFile file(Root.filePath("log/" + name));
            if (file.open(QIODevice::ReadOnly))
                text += QString::fromLocal8Bit(file.readAll());
        }
        return text;
    }

    QTemporaryDir Root;
};

TEST(DataFolderPath, EndsInSeparatorAndIsTheWritableExecutableFolder) {
    EXPECT_EQ(DataFolder::Path(),
              QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator());
    DataFolder::SetPath("/some/folder/");
    EXPECT_EQ(DataFolder::Path(), QDir::toNativeSeparators("/some/folder/"));
    DataFolder::SetPath(QString());
}

// Where an executable's folder cannot be written (here: it lies under a file, which nobody, root included,
// can write into), the user's data folder takes its place, made when missing: $XDG_DATA_HOME/kestrova, else
// ~/.local/share/kestrova.
TEST(DataFolderPath, UnwritableExecutableFolderGivesTheUsersDataFolder) {
    QTemporaryDir root;
    makeFile(root.filePath("file"));
    const QString unwritable = root.filePath("file/opt");
    for (const bool dataHomeSet : {true, false}) {
        RegistrationHome home;
        if (!dataHomeSet)
            home.Set("XDG_DATA_HOME", QByteArray());
        const QString expected = home.Path(".local/share/kestrova");
        EXPECT_EQ(DataFolder::FolderFor(unwritable), QDir::toNativeSeparators(expected) + QDir::separator());
        EXPECT_TRUE(QFileInfo(expected).isDir());
    }
    EXPECT_EQ(DataFolder::FolderFor(root.path()), QDir::toNativeSeparators(root.path()) + QDir::separator());
}

// An installed program keeps its files in the user's data folder even where the user (root, say) may write
// its folder: any folder under /usr or /opt, or one a symbolic link there leads to. A folder whose name only
// begins like them is a copy's own.
TEST(DataFolderPath, InstalledProgramsFolderGivesTheUsersDataFolderToRootToo) {
    RegistrationHome home;
    const QString users = QDir::toNativeSeparators(home.Path(".local/share/kestrova")) + QDir::separator();
    for (const QString installed : {"/usr/lib/kestrova", "/opt/kestrova", "/usr/bin", "/opt"})
        EXPECT_EQ(DataFolder::FolderFor(installed), users) << qPrintable(installed);
    QTemporaryDir root;
    ASSERT_TRUE(QFile::link("/usr/bin", root.filePath("bin")));
    EXPECT_EQ(DataFolder::FolderFor(root.filePath("bin")), users);
    ASSERT_TRUE(QDir(root.path()).mkpath("optical"));
    EXPECT_EQ(DataFolder::FolderFor(root.filePath("optical")),
              QDir::toNativeSeparators(root.filePath("optical")) + QDir::separator());
}

TEST(CheckDirectoryWalk, CreatesEveryMissingLevel) {
    QTemporaryDir root;
    const QString target = folderPath(root, "Kestrova/DownFile") + QDir::separator();
    EXPECT_TRUE(CheckDirectory(target, true));
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_TRUE(CheckDirectory(target, true)) << "an existing folder";
}

TEST(CheckDirectoryWalk, WithoutTrailingSeparator) {
    QTemporaryDir root;
    const QString target = folderPath(root, "a/b");
    EXPECT_TRUE(CheckDirectory(target, true));
    EXPECT_TRUE(QFileInfo(target).isDir());
}

TEST(CheckDirectoryWalk, OnlyLooksWithoutCreate) {
    QTemporaryDir root;
    const QString target = folderPath(root, "a/b/");
    EXPECT_FALSE(CheckDirectory(target, false));
    EXPECT_FALSE(QFileInfo::exists(root.filePath("a")));
    EXPECT_TRUE(CheckDirectory(folderPath(root, ""), false));
}

TEST(CheckDirectoryWalk, StopsAtALevelThatCannotBeCreated) {
    QTemporaryDir root;
    makeFile(root.filePath("file"));
    EXPECT_FALSE(CheckDirectory(folderPath(root, "file/a/b/"), true));
    EXPECT_FALSE(CheckDirectory(folderPath(root, "file/"), true)) << "a file is not a folder";
    EXPECT_FALSE(QFileInfo::exists(root.filePath("file/a")));
}

TEST(CheckDirectoryWalk, EmptyPath) {
    EXPECT_FALSE(CheckDirectory(QString(), true));
}

TEST_F(DataFolderFixture, FirstLineOfTheDayCreatesFolderAndFile) {
    WriteLog("kestrova://print/?moduleaddress=A1&pdfurl=X");
    const QStringList files = logFiles();
    ASSERT_EQ(files.size(), 1);
    const QString text = logText();
    const QRegularExpression line(
        R"(^(\d{4})-(\d\d)-(\d\d) \d\d:\d\d:\d\d\.\d{3}: kestrova://print/\?moduleaddress=A1&pdfurl=X\r\n$)");
    const QRegularExpressionMatch match = line.match(text);
    ASSERT_TRUE(match.hasMatch()) << text.toStdString();
    EXPECT_EQ(files.first(), match.captured(1) + match.captured(2) + match.captured(3) + ".log")
        << "the file is named after the line's day";
}

TEST_F(DataFolderFixture, LaterLinesAreAppended) {
    WriteLog("first");
    WriteLog("second \u4e2d");
    const QStringList lines = logText().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(": first"));
    EXPECT_TRUE(lines[1].endsWith(": second \u4e2d"));
}

TEST_F(DataFolderFixture, ControlCharactersCannotForgeLines) {
    WriteLog("kestrova://p/?a=1\r\n2024-01-31 14:05:09.123: forged\t\x7f");
    const QStringList lines = logText().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(": kestrova://p/?a=1%0D%0A2024-01-31 14:05:09.123: forged%09%7F"));
}

// Tests run as root, which ignores permission bits; a folder that is a file cannot be written by anybody.
TEST_F(DataFolderFixture, UnwritableFolderLosesTheLineSilently) {
    makeFile(Root.filePath("log"));
    EXPECT_NO_THROW(WriteLog("lost"));
    DataFolder::SetPath(Root.filePath("log/inner"));
    EXPECT_NO_THROW(WriteLog("lost"));
    EXPECT_EQ(QDir(Root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"log"});
}

} // namespace
