// The name a download is saved under, and the numbered name a second job gets for a name that is taken.
#include "app/download/DownloadFileName.h"
#include "app/download/ExtractUrlFileName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* Address;
    const char* Name;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.Address;
}

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

struct LocalNameCase {
    const char* Name;
    QString Address;
    QString FileName;
};

void PrintTo(const LocalNameCase& c, std::ostream* os) {
    *os << c.Name;
}

class DownloadFileNameTest : public testing::TestWithParam<LocalNameCase> {};

TEST_P(DownloadFileNameTest, KeepsTheLastSegmentWhereItMakesAFileName) {
    EXPECT_EQ(DownloadFileName(GetParam().Address), GetParam().FileName);
    EXPECT_LE(QFile::encodeName(GetParam().FileName + ".lock").size(), 255);
}

const QString signature =
    QStringLiteral("X-Amz-Algorithm=AWS4-HMAC-SHA256&X-Amz-Signature=") + QString(300, u'f');

INSTANTIATE_TEST_SUITE_P(
    Addresses, DownloadFileNameTest,
    testing::Values(LocalNameCase{"Plain", "http://example.com/files/report.pdf", "report.pdf"},
                    LocalNameCase{"QueryAfterTheLastSlash", "http://example.com/doc?file=a/b.pdf", "b.pdf"},
                    LocalNameCase{"Query", "http://example.com/get?id=7", "get"},
                    LocalNameCase{"SignedAddress",
                                  "https://bucket.example.com/receipts/receipt.pdf?" + signature,
                                  "receipt.pdf"},
                    LocalNameCase{"Fragment", "http://example.com/report.pdf#page=2", "report.pdf"},
                    LocalNameCase{"FragmentHoldingAQuestionMark", "http://example.com/r.pdf#a?b", "r.pdf"},
                    LocalNameCase{"LongName", "http://example.com/" + QString(300, u'n') + ".pdf",
                                  QString(246, u'n') + ".pdf"},
                    LocalNameCase{"LongNameInUtf8",
                                  "http://example.com/" + QString(200, QChar(0x4e2d)) + ".pdf",
                                  QString(82, QChar(0x4e2d)) + ".pdf"},
                    LocalNameCase{"LongNameWithoutExtension", "http://example.com/" + QString(300, u'n'),
                                  QString(250, u'n')},
                    LocalNameCase{"EmptyWhenTheAddressEndsInASlash", "http://example.com/files/?x=1", ""}),
    [](const auto& info) { return std::string(info.param.Name); });

struct NumberedCase {
    QString Name;
    int Number;
    QString Expected;
};

void PrintTo(const NumberedCase& c, std::ostream* os) {
    *os << c.Name.toStdString() << " " << c.Number;
}

class NumberedFileNameTest : public testing::TestWithParam<NumberedCase> {};

TEST_P(NumberedFileNameTest, NumbersTheBaseNameAndStaysWithinTheLimit) {
    EXPECT_EQ(NumberedFileName(GetParam().Name, GetParam().Number), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NumberedFileNameTest,
    testing::Values(NumberedCase{"report.pdf", 2, "report (2).pdf"}, NumberedCase{".pdf", 3, ".pdf (3)"},
                    NumberedCase{"a.tar.gz", 2, "a.tar (2).gz"},
                    NumberedCase{QString(246, u'n') + ".pdf", 999, QString(240, u'n') + " (999).pdf"}));

} // namespace
