// The run log and the folder helper, in temporary folders that stand for the executable's folder.
#include "app/log/RunLog.h"
#include "app/log/CheckDirectory.h"
#include "app/log/ExecutableFolder.h"

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

// Points the executable's folder at a temporary one for one test.
class ExecutableFolderFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Root.isValid());
        ExecutableFolder::SetPath(Root.path());
    }
    void TearDown() override { ExecutableFolder::SetPath(QString()); }

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

TEST(ExecutableFolderPath, EndsInSeparatorAndDefaultsToTheExecutable) {
    EXPECT_EQ(ExecutableFolder::Path(),
              QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator());
    ExecutableFolder::SetPath("/some/folder/");
    EXPECT_EQ(ExecutableFolder::Path(), QDir::toNativeSeparators("/some/folder/"));
    ExecutableFolder::SetPath(QString());
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

TEST_F(ExecutableFolderFixture, FirstLineOfTheDayCreatesFolderAndFile) {
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

TEST_F(ExecutableFolderFixture, LaterLinesAreAppended) {
    WriteLog("first");
    WriteLog("second \u4e2d");
    const QStringList lines = logText().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(": first"));
    EXPECT_TRUE(lines[1].endsWith(": second \u4e2d"));
}

TEST_F(ExecutableFolderFixture, ControlCharactersCannotForgeLines) {
    WriteLog("kestrova://p/?a=1\r\n2024-01-31 14:05:09.123: forged\t\x7f");
    const QStringList lines = logText().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(": kestrova://p/?a=1%0D%0A2024-01-31 14:05:09.123: forged%09%7F"));
}

// Tests run as root, which ignores permission bits; a folder that is a file cannot be written by anybody.
TEST_F(ExecutableFolderFixture, UnwritableFolderLosesTheLineSilently) {
    makeFile(Root.filePath("log"));
    EXPECT_NO_THROW(WriteLog("lost"));
    ExecutableFolder::SetPath(Root.filePath("log/inner"));
    EXPECT_NO_THROW(WriteLog("lost"));
    EXPECT_EQ(QDir(Root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"log"});
}

} // namespace
