// The name a download is saved under, and the variant a second job gets for a name that is taken.
#include "app/download/ExtractUrlFileName.h"
#include "app/download/SaveDownload.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* Address;
    const char* Name;
};

class ExtractUrlFileNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(ExtractUrlFileNameTest, TakesTheTextAfterTheLastSeparator) {
    EXPECT_EQ(ExtractUrlFileName(GetParam().Address), GetParam().Name);
}

INSTANTIATE_TEST_SUITE_P(Addresses, ExtractUrlFileNameTest,
                         testing::Values(NameCase{"http://example.com/files/report.pdf", "report.pdf"},
                                         NameCase{"http://example.com/get?id=7", "get?id=7"},
                                         NameCase{"http://example.com/doc?file=a/b.pdf", "b.pdf"},
                                         NameCase{"http://example.com/files/", ""},
                                         NameCase{"http://example.com:8080", "8080"},
                                         NameCase{"C:\\Downloads\\x.pdf", "x.pdf"},
                                         NameCase{"plain", "plain"}, NameCase{"", ""}));

struct VariantCase {
    const char* Name;
    QStringList Expected; // the files after saving the same name three times
};

class SaveDownloadTest : public testing::TestWithParam<VariantCase> {};

TEST_P(SaveDownloadTest, GivesEveryJobAFileOfItsOwn) {
    QTemporaryDir dir;
    const QString folder = dir.path() + QDir::separator();
    QStringList written;
    for (const QByteArray data : {"one", "two", "three"}) {
        const QString path = SaveDownload(folder, GetParam().Name, data);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), data);
        written << QFileInfo(path).fileName();
    }
    EXPECT_EQ(written, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SaveDownloadTest,
    testing::Values(VariantCase{"report.pdf", {"report.pdf", "report (2).pdf", "report (3).pdf"}},
                    VariantCase{"get?id=7", {"get?id=7", "get?id=7 (2)", "get?id=7 (3)"}},
                    VariantCase{".pdf", {".pdf", ".pdf (2)", ".pdf (3)"}},
                    VariantCase{"a.tar.gz", {"a.tar.gz", "a.tar (2).gz", "a.tar (3).gz"}}));

} // namespace
