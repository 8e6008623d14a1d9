// The table file: written whole after every post and delete, read again at the next start, replaced only by
// a complete new file, and refused at start-up with a message that names the file and the problem.
#include "FailingSync.h"
#include "TableFixtures.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using AssignmentTable::fdModuleAddress;

namespace {

const QByteArray header =
    "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
    "<FIELD attrname=\"fdModuleAddress\" fieldtype=\"string.uni\" WIDTH=\"512\"/>"
    "<FIELD attrname=\"fdModuleName\" fieldtype=\"string.uni\" WIDTH=\"512\"/>"
    "<FIELD attrname=\"fdSpecifyprintername\" fieldtype=\"string.uni\" WIDTH=\"512\"/>"
    "</FIELDS><PARAMS/></METADATA>";

TEST_F(TableTest, FirstStartIsEmptyAndWritesNothing) {
    EXPECT_TRUE(cds.Active());
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(TableTest, AppendWritesThePacketAndRestartReadsIt) {
    appendRow(cds, QStringLiteral("B2"), QStringLiteral("Lager"), QStringLiteral("Lab"));
    EXPECT_EQ(readWhole(path).toStdString(),
              (header + "<ROWDATA><ROW fdModuleAddress=\"B2\" fdModuleName=\"Lager\" "
                        "fdSpecifyprintername=\"Lab\"/></ROWDATA></DATAPACKET>\n")
                  .toStdString());
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("K\u00fcche"), QStringLiteral("Office"));

    TClientDataSet restarted;
    AssignmentTable::SetUp(restarted, path);
    EXPECT_EQ(addresses(restarted), QStringList({"A1", "B2"}));
    EXPECT_EQ(restarted.FieldValue(AssignmentTable::fdModuleName), QStringLiteral("K\u00fcche"));
}

TEST_F(TableTest, DeleteRewritesTheFileAndTheLastDeleteLeavesAValidEmptyTable) {
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("n"), QStringLiteral("p"));
    appendRow(cds, QStringLiteral("B1"), QStringLiteral("n"), QStringLiteral("p"));
    cds.SetCurrentIndex(0);
    cds.Delete();
    EXPECT_FALSE(readWhole(path).contains("A1"));
    cds.Delete();
    EXPECT_EQ(readWhole(path).toStdString(), (header + "<ROWDATA/></DATAPACKET>\n").toStdString());
    TClientDataSet restarted;
    AssignmentTable::SetUp(restarted, path);
    EXPECT_TRUE(restarted.IsEmpty());
}

TEST_F(TableTest, FileBehindASymbolicLinkIsReadAndWrittenThrough) {
    const QString target = folder.filePath(QStringLiteral("real.xml"));
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("n"), QStringLiteral("p"));
    ASSERT_TRUE(QFile::rename(path, target));
    ASSERT_TRUE(QFile::link(target, path));
    TClientDataSet linked;
    AssignmentTable::SetUp(linked, path);
    SaveOnChange(linked, path);
    appendRow(linked, QStringLiteral("B1"), QStringLiteral("n"), QStringLiteral("p"));
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_TRUE(readWhole(target).contains("B1"));
}

struct BadFileCase {
    const char* name;
    QByteArray content;
    const char* problem;
};

void PrintTo(const BadFileCase& c, std::ostream* os) {
    *os << c.name;
}

const BadFileCase badFiles[] = {
    {"Empty", "", "the file is empty"},
    {"Blank", "  \r\n", "the file is empty"},
    {"Truncated", header + "<ROWDATA><ROW fdModuleAddress=\"A1\" fdModu", "not well-formed XML"},
    {"NotXml", "fdModuleAddress;fdModuleName\nA1;x\n", "not well-formed XML"},
    {"OtherXml", "<?xml version=\"1.0\"?><html><body/></html>", "not a data packet"},
    {"NoFields", "<DATAPACKET Version=\"2.0\"><METADATA/><ROWDATA/></DATAPACKET>", "defines no fields"},
    {"MissingField",
     "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
     "<FIELD attrname=\"fdModuleAddress\" fieldtype=\"string.uni\" WIDTH=\"512\"/>"
     "<FIELD attrname=\"fdModuleName\" fieldtype=\"string.uni\" WIDTH=\"512\"/>"
     "</FIELDS><PARAMS/></METADATA><ROWDATA/></DATAPACKET>",
     "no field fdSpecifyprintername"},
    {"DuplicateAddresses",
     header +
         "<ROWDATA><ROW fdModuleAddress=\"A1\"/><ROW fdModuleAddress=\"B\"/><ROW fdModuleAddress=\"A1\"/>"
         "</ROWDATA></DATAPACKET>",
     "two rows hold \"A1\" in fdModuleAddress"},
    {"FieldNameOutsideAscii",
     QByteArray(header).replace(
         "</FIELDS>", "<FIELD attrname=\"Notiz_&#228;\" fieldtype=\"string.uni\" WIDTH=\"64\"/></FIELDS>") +
         "<ROWDATA/></DATAPACKET>",
     "has a name outside ASCII"},
    {"TrailingGarbage", header + "<ROWDATA/></DATAPACKET><DATAPACKET/>", "not well-formed XML"},
};

class BadFile : public testing::TestWithParam<BadFileCase> {};

TEST_P(BadFile, FailsStartUpNamingFileAndProblemAndLeavesTheFileAlone) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cds.xml"));
    writeWhole(path, GetParam().content);
    TClientDataSet cds;
    try {
        AssignmentTable::SetUp(cds, path);
        FAIL() << "the file was accepted";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(
            error.Message().startsWith(QStringLiteral("Cannot load the table file \"%1\": ").arg(path)))
            << error.Message().toStdString();
        EXPECT_TRUE(error.Message().contains(QLatin1String(GetParam().problem)))
            << error.Message().toStdString();
    }
    EXPECT_FALSE(cds.Active()) << "a closed table cannot overwrite the file";
    EXPECT_THROW(cds.Append(), EDatabaseError);
    EXPECT_EQ(readWhole(path), GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(Table, BadFile, testing::ValuesIn(badFiles),
                         [](const testing::TestParamInfo<BadFileCase>& info) {
                             return std::string(info.param.name);
                         });

struct NotAFileCase {
    const char* name;
    std::function<bool(const QString& path)> make;
    const char* problem;
};

void PrintTo(const NotAFileCase& c, std::ostream* os) {
    *os << c.name;
}

// What is not a regular file is refused before it is read: a device or a pipe would be read until memory runs
// out, or forever.
const NotAFileCase notAFile[] = {
    {"Folder", [](const QString& path) { return QDir().mkdir(path); }, "cannot be read: it is a folder"},
    {"Fifo", [](const QString& path) { return mkfifo(QFile::encodeName(path).constData(), 0600) == 0; },
     "cannot be read: it is not a regular file"},
    {"LinkToADevice", [](const QString& path) { return QFile::link(QStringLiteral("/dev/zero"), path); },
     "cannot be read: it is not a regular file"},
};

class NotAFile : public testing::TestWithParam<NotAFileCase> {};

TEST_P(NotAFile, FailsStartUpWithoutReadingIt) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cds.xml"));
    ASSERT_TRUE(GetParam().make(path));
    TClientDataSet cds;
    try {
        AssignmentTable::SetUp(cds, path);
        FAIL() << "it was read as the table";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(path)) << error.Message().toStdString();
        EXPECT_TRUE(error.Message().contains(QLatin1String(GetParam().problem)))
            << error.Message().toStdString();
    }
    EXPECT_FALSE(cds.Active());
}

INSTANTIATE_TEST_SUITE_P(Table, NotAFile, testing::ValuesIn(notAFile),
                         [](const testing::TestParamInfo<NotAFileCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(TableTest, SaveThatFailsMidwayLeavesTheOldFileWholeAndMemoryAsTheFile) {
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("n"), QStringLiteral("p"));
    const QByteArray before = readWhole(path);
    // Test output may go to a file as well, so nothing is reported while the limit holds.
    QString message;
    for (const int rowLength : {40, 40000}) { // caught at flush, caught at write
        const FileSizeLimit diskFull(before.size() + 20);
        try {
            appendRow(cds, QStringLiteral("B%1").arg(rowLength), QString(rowLength, u'n'),
                      QStringLiteral("p"));
        } catch (const EDatabaseError& error) {
            message += error.Message() + u'\n';
        }
    }
    const QString expected =
        QStringLiteral("Cannot save the table to \"%1\": the file could not be written in full\n").arg(path);
    EXPECT_EQ(message.toStdString(), (expected + expected).toStdString());
    EXPECT_EQ(readWhole(path), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"cds.xml"}))
        << "no temporary file is left";
    EXPECT_EQ(addresses(cds), QStringList({"A1"})) << "memory holds what the file holds";
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);

    appendRow(cds, QStringLiteral("B40"), QStringLiteral("n"), QStringLiteral("p")); // the retry works
    TClientDataSet restarted;
    AssignmentTable::SetUp(restarted, path);
    EXPECT_EQ(addresses(restarted), QStringList({"A1", "B40"}));
}

// A disk that fails to keep what was written fails the save: the old file stays, and so do the rows.
TEST_F(TableTest, FailedSyncFailsTheSaveAndKeepsTheOldFile) {
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("n"), QStringLiteral("p"));
    appendRow(cds, QStringLiteral("B1"), QStringLiteral("n"), QStringLiteral("p"));
    const QByteArray before = readWhole(path);
    cds.SetCurrentIndex(0);
    {
        const FailingSync dying;
        try {
            cds.Delete();
            ADD_FAILURE() << "the delete reported success";
        } catch (const EDatabaseError& error) {
            EXPECT_EQ(error.Message(),
                      QStringLiteral("Cannot save the table to \"%1\": the file could not be "
                                     "written to disk: Input/output error")
                          .arg(path));
        }
        EXPECT_THROW(appendRow(cds, QStringLiteral("C1"), QStringLiteral("n"), QStringLiteral("p")),
                     EDatabaseError);
    }
    EXPECT_EQ(readWhole(path), before);
    EXPECT_EQ(addresses(cds), QStringList({"A1", "B1"}));
    EXPECT_EQ(cds.FieldValue(fdModuleAddress), QStringLiteral("A1")) << "the row to delete is current again";
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"cds.xml"}));
}

// A save killed before its rename leaves its sibling file; the next save removes it, and nothing else.
TEST_F(TableTest, SaveRemovesWhatKilledSavesLeft) {
    for (const char* name :
         {"cds.xml.a1B2c3", "cds.xml.ZZZZZZ", "cds.xml.bak", "cds.xml.lock", "cds.xml.a1B2c3d"})
        writeWhole(folder.filePath(QLatin1String(name)), "left");
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("n"), QStringLiteral("p"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList({"cds.xml", "cds.xml.a1B2c3d", "cds.xml.bak", "cds.xml.lock"}));
}

TEST_F(TableTest, SaveIntoAReadOnlyFolderLeavesTheOldFileWhole) {
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: folder permissions do not stop root";
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("n"), QStringLiteral("p"));
    const QByteArray before = readWhole(path);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_THROW(appendRow(cds, QStringLiteral("B1"), QStringLiteral("n"), QStringLiteral("p")),
                 EDatabaseError);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(readWhole(path), before);
}

} // namespace
