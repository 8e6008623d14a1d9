// Bad input on the real engine: every failure raises EPdfError with its fixed text and leaves the component
// closed (or, for a page, without a current page), ready for the next good document.
#include "pdf/Pdf.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace PDFium;

namespace {

const QString FileNotFound = QStringLiteral("File not found or could not be opened");
const QString NotPdf = QStringLiteral("File not in PDF format or corrupted");
const QString BadPassword = QStringLiteral("Password required or incorrect password");

void ExpectClosed(const TPdf& pdf) {
    EXPECT_FALSE(pdf.Active());
    EXPECT_EQ(pdf.Document(), nullptr);
    EXPECT_EQ(pdf.FormHandle(), nullptr);
    EXPECT_EQ(pdf.Page(), nullptr);
}

QString WriteBytes(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

} // namespace

TEST(BadInput, FilesThatCannotBeOpenedRaiseTheEngineTextAndLeaveTheComponentClosed) {
    QTemporaryDir dir;
    const QByteArray pdfBytes = MakePdf({});
    struct Case {
        const char* name;
        QString fileName;
        QString message;
    };
    const Case cases[] = {
        {"missing file", dir.filePath("nothing-here.pdf"), FileNotFound},
        {"empty file name", QString(), FileNotFound},
        {"a folder", dir.path(), NotPdf},
        {"text, not a PDF", WriteBytes(dir.path(), "text.pdf", "Hello, this is no PDF at all.\n"), NotPdf},
        {"empty file", WriteBytes(dir.path(), "empty.pdf", {}), NotPdf},
        {"header only", WriteBytes(dir.path(), "header.pdf", "%PDF-1.7\n"), NotPdf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int pageChanges = 0;
        TPdf pdf;
        pdf.OnPageChange = [&](QObject*) {
            ++pageChanges;
        };
        pdf.SetPageNumber(1);
        pdf.SetFileName(c.fileName);
        EXPECT_EQ(ErrorOf([&] { pdf.SetActive(true); }), c.message);
        ExpectClosed(pdf);
        EXPECT_EQ(pageChanges, 0);
        // The same component opens a good document afterwards.
        pdf.SetFileName(WritePdf(dir.path(), "good.pdf", {}));
        pdf.SetActive(true);
        EXPECT_NE(pdf.Page(), nullptr);
    }
}

TEST(BadInput, MemoryThatIsNoPdfRaisesAndLeavesTheComponentClosed) {
    const QByteArray cases[] = {QByteArray("not a PDF document"), QByteArray(), QByteArray(4096, '\0'),
                                MakePdf({}).left(40)};
    for (const QByteArray& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        TPdf pdf;
        EXPECT_EQ(ErrorOf([&] { pdf.LoadDocument(bytes); }), NotPdf);
        ExpectClosed(pdf);
    }
}

TEST(BadInput, PasswordsOpenOnlyWhenRight) {
    struct Case {
        const char* file;
        QString password;
        bool opens;
    };
    const QString user = QStringLiteral("hôtel");
    const QString owner = QStringLiteral("âge");
    const Case cases[] = {
        {"encrypted.pdf", "1234", true},
        {"encrypted.pdf", "5678", true},
        {"encrypted.pdf", "", false},
        {"encrypted.pdf", "12345", false},
        {"encrypted_hello_world_r2.pdf", user, true},
        {"encrypted_hello_world_r2.pdf", owner, true},
        {"encrypted_hello_world_r2.pdf", "hotel", false},
        {"encrypted_hello_world_r3.pdf", user, true},
        {"encrypted_hello_world_r3.pdf", owner, true},
        {"encrypted_hello_world_r3.pdf", "", false},
        {"encrypted_hello_world_r5.pdf", user, true},
        {"encrypted_hello_world_r5.pdf", owner, true},
        {"encrypted_hello_world_r5.pdf", "age", false},
        {"encrypted_hello_world_r6.pdf", user, true},
        {"encrypted_hello_world_r6.pdf", owner, true},
        {"encrypted_hello_world_r6.pdf", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " with \"" + c.password.toStdString() + "\"");
        const QString path = testDataPath(QStringLiteral("pdf/") + c.file);
        if (!QFileInfo::exists(path))
            GTEST_SKIP() << "shared test data not found: " << path.toStdString();
        TPdf pdf;
        pdf.SetFileName(path);
        pdf.SetPassword(c.password);
        pdf.SetPageNumber(1);
        if (c.opens) {
            pdf.SetActive(true);
            EXPECT_EQ(pdf.PageCount(), 1);
            EXPECT_NE(pdf.Page(), nullptr);
        } else {
            EXPECT_EQ(ErrorOf([&] { pdf.SetActive(true); }), BadPassword);
            // A viewer tells a wanted password from every other failure by the error's class.
            EXPECT_THROW(pdf.SetActive(true), EPdfPasswordError);
            ExpectClosed(pdf);
        }
    }
}

TEST(BadInput, APasswordFromMemoryToo) {
    REQUIRE_TESTDATA("pdf/encrypted.pdf");
    QFile file(testDataPath("pdf/encrypted.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    TPdf pdf;
    EXPECT_EQ(ErrorOf([&] { pdf.LoadDocument(bytes); }), BadPassword);
    ExpectClosed(pdf);
    pdf.SetPassword(QStringLiteral("1234"));
    pdf.LoadDocument(bytes);
    EXPECT_EQ(pdf.PageCount(), 1);
}

// The engine keeps the code of its last failed open; a page failure must not be reported with it.
TEST(BadInput, PageNumbersOutsideTheDocumentSayWhichPageAfterAnEarlierPasswordFailure) {
    REQUIRE_TESTDATA("pdf/encrypted.pdf");
    {
        TPdf locked;
        locked.SetFileName(testDataPath("pdf/encrypted.pdf"));
        ASSERT_EQ(ErrorOf([&] { locked.SetActive(true); }), BadPassword);
    }
    FixtureDocument twoPages;
    twoPages.Pages = {SizedPage({200, 300}), SizedPage({400, 500})};
    const QByteArray bytes = MakePdf(twoPages);
    TPdf pdf;
    pdf.setObjectName(QStringLiteral("Pdf"));
    int pageChanges = 0;
    pdf.OnPageChange = [&](QObject*) {
        ++pageChanges;
    };
    pdf.LoadDocument(bytes);
    for (int number : {3, -1, 1000, -2147483647 - 1}) {
        SCOPED_TRACE(number);
        pdf.SetPageNumber(2);
        pageChanges = 0;
        EXPECT_EQ(ErrorOf([&] { pdf.SetPageNumber(number); }),
                  QStringLiteral("Cannot open page %1").arg(number));
        EXPECT_EQ(pdf.PageNumber(), number);
        EXPECT_EQ(pdf.Page(), nullptr);
        EXPECT_EQ(pageChanges, 0);
        EXPECT_TRUE(pdf.Active());
        EXPECT_EQ(ErrorOf([&] { pdf.PageHeight(); }),
                  QStringLiteral("Cannot perform this operation on an inactive page"));
    }
    pdf.SetPageNumber(2);
    EXPECT_EQ(pdf.PageWidth(), 400);
}

TEST(BadInput, AnActivationWhosePageFailsLeavesTheDocumentOpenWithoutPage) {
    QTemporaryDir dir;
    TPdf pdf;
    pdf.SetFileName(WritePdf(dir.path(), "one.pdf", {}));
    pdf.SetPageNumber(5);
    EXPECT_EQ(ErrorOf([&] { pdf.SetActive(true); }), QStringLiteral("Cannot open page 5"));
    EXPECT_TRUE(pdf.Active());
    EXPECT_EQ(pdf.Page(), nullptr);
    EXPECT_EQ(pdf.PageCount(), 1);
    pdf.SetActive(false);
    EXPECT_FALSE(pdf.Active());
}

// The damaged files that once crashed the engine: each either opens and renders every page, or raises
// EPdfError and stays closed.
class DamagedFile : public testing::TestWithParam<QString> {};

TEST_P(DamagedFile, OpensAndRendersEveryPageOrRaises) {
    const QString path = testDataPath(QStringLiteral("pdf/") + GetParam());
    if (!QFileInfo::exists(path))
        GTEST_SKIP() << "shared test data not found: " << path.toStdString();
    TPdf pdf;
    pdf.SetFileName(path);
    try {
        pdf.SetActive(true);
    } catch (const EPdfError& error) {
        const QStringList openTexts = {FileNotFound, NotPdf, BadPassword,
                                       QStringLiteral("Unsupported security scheme"),
                                       QStringLiteral("Unknown error")};
        EXPECT_TRUE(openTexts.contains(error.Message())) << error.what();
        ExpectClosed(pdf);
        return;
    }
    const int count = pdf.PageCount();
    EXPECT_GE(count, 0);
    for (int number = 1; number <= count; ++number) {
        SCOPED_TRACE(number);
        try {
            pdf.SetPageNumber(number);
        } catch (const EPdfError& error) {
            EXPECT_EQ(error.Message(), QStringLiteral("Cannot open page %1").arg(number));
            EXPECT_EQ(pdf.Page(), nullptr);
            continue;
        }
        const QImage image = pdf.RenderPage(0, 0, 120, 160, ro0, AllRenderOptions, clWhite);
        EXPECT_EQ(image.size(), QSize(120, 160));
    }
    pdf.SetActive(false);
    ExpectClosed(pdf);
}

namespace {
QStringList DamagedFiles() {
    const QStringList files =
        QDir(testDataPath(QStringLiteral("pdf"))).entryList({QStringLiteral("bug_*.pdf")}, QDir::Files);
    // Without the shared data the one case skips with its reason.
    return files.isEmpty() ? QStringList{QStringLiteral("bug_1029.pdf")} : files;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(BugFiles, DamagedFile, testing::ValuesIn(DamagedFiles()),
                         [](const testing::TestParamInfo<QString>& info) {
                             QString name = info.param;
                             name.chop(4);
                             return name.replace(QLatin1Char('-'), QLatin1Char('_')).toStdString();
                         });
