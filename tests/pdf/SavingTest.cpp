// Saving on the real engine: versions and save options, streams that already hold data or refuse to take
// more, files replaced only by a complete save (over the open file too, and under a file-size limit or on a
// full disk, which say why), and saved documents read back by the engine and by independent readers (qpdf,
// poppler).
#include "pdf/Pdf.h"
#include "support/FifoReader.h"
#include "support/FileSizeLimit.h"
#include "support/PdfFixtures.h"
#include "support/Programs.h"
#include "support/SmallFilesystem.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>
#include <sys/stat.h>

using namespace PDFium;

namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray SaveToMemory(TPdf& pdf, TSaveOption option = saNoIncremental, TPdfVersion version = pvUnknown) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(pdf.SaveAs(buffer, option, version));
    return buffer.data();
}

QImage RenderWhole(const TPdf& pdf) {
    return pdf.RenderPage(0, 0, int(pdf.PageWidth()), int(pdf.PageHeight()), ro0, {}, clWhite);
}

// Text, a picture, a filled rectangle and a stroked polyline on the current page.
void EditPage(TPdf& pdf) {
    pdf.AddText("Saved words", "Helvetica", 18, 72, 700, 0x0000CC, 255);
    pdf.AddPicture(SolidPicture(64, 32, Qt::darkGreen), 72, 500, 128, 64);
    pdf.CreatePath(300, 300, 100, 50, fmWinding, 0x00AAFF, 255, false, clBlack, 255, 1, lcDefault, ljDefault,
                   bmDefault);
    pdf.AddPath();
    pdf.CreatePath(100, 100, fmNone, clBlack, 255, true, 0xFF0000, 255, 3, lcRound, ljRound, bmDefault);
    pdf.LineTo(200, 150);
    pdf.LineTo(300, 100);
    pdf.AddPath();
}

// A device that takes Limit bytes and refuses the rest, or throws where Throws is set.
class RefusingDevice : public QIODevice {
public:
    explicit RefusingDevice(qint64 limit, bool throws = false) : FLimit(limit), FThrows(throws) {
        open(QIODevice::WriteOnly);
    }
    QByteArray Written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (Written.size() + size > FLimit) {
            if (FThrows)
                throw std::runtime_error("device gave out");
            return -1;
        }
        Written.append(data, size);
        return size;
    }

private:
    qint64 FLimit;
    bool FThrows;
};

// Files in a folder, so that a test sees that a failed save left no stray file behind.
QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

class SavingTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        original = MakePdf(FixtureDocument{{SizedPage({612, 792}, 0, "Original text")}});
        path = dir.filePath("document.pdf");
        WriteFile(path, original);
    }
    void OpenFile() {
        pdf.SetFileName(path);
        pdf.SetPageNumber(1);
        pdf.SetActive(true);
    }

    QTemporaryDir dir;
    QByteArray original;
    QString path;
    TPdf pdf;
};

} // namespace

TEST_F(SavingTest, TheVersionIsKeptOrChosen) {
    OpenFile();
    const struct {
        TPdfVersion Version;
        const char* Header;
    } cases[] = {{pvUnknown, "%PDF-1.7"}, {pv10, "%PDF-1.0"}, {pv11, "%PDF-1.1"},
                 {pv12, "%PDF-1.2"},      {pv13, "%PDF-1.3"}, {pv14, "%PDF-1.4"},
                 {pv15, "%PDF-1.5"},      {pv16, "%PDF-1.6"}, {pv17, "%PDF-1.7"}};
    for (const auto& c : cases) {
        const QByteArray saved = SaveToMemory(pdf, saNoIncremental, c.Version);
        EXPECT_TRUE(saved.startsWith(c.Header)) << c.Header;
        TPdf reread;
        reread.LoadDocument(saved);
        EXPECT_EQ(reread.PdfVersion(), c.Version == pvUnknown ? pv17 : c.Version);
    }
}

TEST_F(SavingTest, AnIncrementalSaveKeepsTheOriginalBytes) {
    OpenFile();
    EditPage(pdf);
    const struct {
        TSaveOption Option;
        bool KeepsOriginal;
    } cases[] = {{saIncremental, true}, {saNoIncremental, false}, {saNone, false}, {saRemoveSecurity, false}};
    for (const auto& c : cases) {
        const QByteArray saved = SaveToMemory(pdf, c.Option);
        EXPECT_EQ(saved.startsWith(original), c.KeepsOriginal) << c.Option;
        TPdf reread;
        reread.SetPageNumber(1);
        reread.LoadDocument(saved);
        EXPECT_EQ(reread.ObjectCount(), pdf.ObjectCount()) << c.Option;
    }
}

TEST_F(SavingTest, AStreamThatHoldsDataIsAppendedTo) {
    OpenFile();
    QBuffer buffer;
    buffer.setData("existing bytes\n");
    buffer.open(QIODevice::ReadWrite);
    buffer.seek(buffer.size());
    ASSERT_TRUE(pdf.SaveAs(buffer, saNoIncremental, pvUnknown));
    EXPECT_TRUE(buffer.data().startsWith("existing bytes\n%PDF-1.7"));
    EXPECT_EQ(buffer.pos(), buffer.size());
    // Two saves, two complete documents: the component keeps nothing between them.
    const QByteArray first = buffer.data().mid(15);
    const QByteArray second = SaveToMemory(pdf);
    EXPECT_EQ(first.size(), second.size());
    for (const QByteArray& saved : {first, second}) {
        TPdf reread;
        reread.LoadDocument(saved);
        EXPECT_EQ(reread.PageCount(), 1);
    }
}

TEST_F(SavingTest, AStreamThatRefusesRaisesItsErrorAfterTheEngine) {
    OpenFile();
    RefusingDevice full(100);
    EXPECT_TRUE(ErrorOf([&] {
                    pdf.SaveAs(full, saNoIncremental, pvUnknown);
                }).startsWith("Cannot write to stream: "));
    RefusingDevice throwing(100, true);
    EXPECT_THROW(pdf.SaveAs(throwing, saNoIncremental, pvUnknown), std::runtime_error);
    QBuffer closed;
    EXPECT_TRUE(ErrorOf([&] {
                    pdf.SaveAs(closed, saNoIncremental, pvUnknown);
                }).startsWith("Cannot write to stream: "));
    // The component goes on as before.
    EXPECT_TRUE(SaveToMemory(pdf).startsWith("%PDF-1.7"));
}

TEST_F(SavingTest, NoDocumentNoFile) {
    const QString message = QStringLiteral("Cannot perform this operation on an inactive Pdf component");
    pdf.setObjectName("Pdf");
    EXPECT_EQ(ErrorOf([&] { pdf.SaveAs(path, saNoIncremental, pvUnknown); }), message);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(ErrorOf([&] { pdf.SaveAs(dir.filePath("new.pdf"), saNoIncremental, pvUnknown); }), message);
    EXPECT_FALSE(QFile::exists(dir.filePath("new.pdf")));
    OpenFile();
    const QString absent = dir.filePath("no/such/folder/out.pdf");
    EXPECT_TRUE(ErrorOf([&] {
                    pdf.SaveAs(absent, saNoIncremental, pvUnknown);
                }).startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(absent)));
}

// What stands under a name that is no regular file is never replaced: a FIFO is written through when a
// program reads from it and refused at once when none does; a folder and a socket are refused.
TEST_F(SavingTest, ANameThatIsNoRegularFileIsWrittenThroughOrRefused) {
    OpenFile();
    const QString fifo = dir.filePath("pipe.pdf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { pdf.SaveAs(fifo, saNoIncremental, pvUnknown); }),
              QStringLiteral("Cannot write file \"%1\". No program reads from it").arg(fifo));
    {
        const FifoReader reader(fifo);
        ASSERT_TRUE(pdf.SaveAs(fifo, saNoIncremental, pvUnknown));
        // The whole document came through: it reads as one.
        TPdf received;
        received.LoadDocument(reader.ReadAll());
        EXPECT_EQ(received.PageCount(), 1);
    }
    QLocalServer socket;
    ASSERT_TRUE(socket.listen(dir.filePath("socket.pdf")));
    const QString folder = dir.filePath("folder.pdf");
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const auto& [target, reason] : {std::pair{socket.fullServerName(), "It is a socket, not a file"},
                                         std::pair{folder, "It is a folder"}})
        EXPECT_EQ(ErrorOf([&] { pdf.SaveAs(target, saNoIncremental, pvUnknown); }),
                  QStringLiteral("Cannot create file \"%1\". %2").arg(target, reason));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(SavingTest, SavingOverTheOpenFileKeepsTheDocumentReadable) {
    OpenFile();
    EditPage(pdf);
    const QImage before = RenderWhole(pdf);
    for (const TSaveOption option : {saNoIncremental, saIncremental}) {
        ASSERT_TRUE(pdf.SaveAs(path, option, pvUnknown));
        // The engine still reads the document it opened: the page renders and saves as before.
        pdf.ReloadPage();
        EXPECT_EQ(RenderWhole(pdf), before);
        TPdf reread;
        reread.SetFileName(path);
        reread.SetPageNumber(1);
        reread.SetActive(true);
        EXPECT_EQ(RenderWhole(reread), before) << option;
        EXPECT_EQ(reread.ObjectCount(), pdf.ObjectCount());
    }
    EXPECT_EQ(FilesIn(dir.path()), QStringList{"document.pdf"});
}

struct WriteLimit {
    const char* Name;
    bool FullDisk; // a real disk that fills up; otherwise a file-size limit
    QString Reason;
};

void PrintTo(const WriteLimit& c, std::ostream* os) {
    *os << c.Name;
}

class FailedSaveTest : public SavingTest, public testing::WithParamInterface<WriteLimit> {};

TEST_P(FailedSaveTest, LeavesTheOldFileWholeAndSaysWhatTheSystemSaid) {
    std::optional<SmallFilesystem> disk;
    QString folder = dir.path();
    if (GetParam().FullDisk) {
        disk.emplace(64 * 1024);
        if (disk->Path().isEmpty())
            GTEST_SKIP() << disk->Refusal().toStdString();
        folder = disk->Path();
    }
    path = folder + "/document.pdf";
    WriteFile(path, original);
    const QString other = folder + "/other.pdf";
    WriteFile(other, "an earlier file");
    OpenFile();
    // Noise does not compress: the document grows far beyond the limit.
    QImage noise(300, 300, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb((x * 7919 + y * 104729) % 251, (x * y) % 253, (x + y * 31) % 241));
    pdf.AddPicture(noise, 0, 0);
    {
        std::optional<FileSizeLimit> limit;
        if (!GetParam().FullDisk)
            limit.emplace(4096);
        for (const auto& [target, option] :
             {std::pair{path, saNoIncremental}, std::pair{other, saIncremental}})
            EXPECT_EQ(ErrorOf([&] { pdf.SaveAs(target, option, pvUnknown); }),
                      QStringLiteral("Cannot write file \"%1\". %2").arg(target, GetParam().Reason));
    }
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(ReadFile(other), "an earlier file");
    EXPECT_EQ(FilesIn(folder), (QStringList{"document.pdf", "other.pdf"}));
    // With room the same save succeeds.
    EXPECT_TRUE(pdf.SaveAs(dir.filePath("roomy.pdf"), saNoIncremental, pvUnknown));
}

INSTANTIATE_TEST_SUITE_P(Limits, FailedSaveTest,
                         testing::Values(WriteLimit{"FileSize", false, "File too large"},
                                         WriteLimit{"FullDisk", true, "No space left on device"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SavingTest, IndependentReadersSeeWhatWasPlaced) {
    REQUIRE_TESTDATA("mona_lisa.jpg");
    OpenFile();
    EditPage(pdf);
    QFile jpeg(testDataPath("mona_lisa.jpg"));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    ASSERT_TRUE(pdf.AddJpegImage(jpeg, 300, 500, 120, 120));
    const QImage before = RenderWhole(pdf);
    const QString saved = dir.filePath("saved.pdf");
    ASSERT_TRUE(pdf.SaveAs(saved, saNoIncremental, pv15));

    EXPECT_TRUE(RunProgram("qpdf", {"--check", saved}).contains("No syntax or stream encoding errors found"));
    // The text's baseline starts at (72, 700): poppler's box, measured from the top, lies just above it.
    const QString words = RunProgram("pdftotext", {"-bbox", saved, "-"});
    EXPECT_TRUE(words.contains(R"(<word xMin="72.000000" yMin="7)")) << words.toStdString();
    EXPECT_TRUE(words.contains(">Saved</word>"));
    EXPECT_TRUE(words.contains(">words</word>"));
    const QString images = RunProgram("pdfimages", {"-list", saved});
    EXPECT_TRUE(images.contains(QRegularExpression(R"(\n\s+1\s+0\s+image\s+64\s+32\s)")))
        << images.toStdString();
    EXPECT_TRUE(images.contains(QRegularExpression(R"(\n\s+1\s+1\s+image\s+120\s+120\s.*jpeg)")))
        << images.toStdString();
    EXPECT_EQ(PdfInfoField(saved, "PDF version"), "1.5");

    TPdf reread;
    reread.SetFileName(saved);
    reread.SetPageNumber(1);
    reread.SetActive(true);
    EXPECT_EQ(RenderWhole(reread), before);
}

TEST(IncrementalSaving, EveryReaderOpensTheAppendedSectionWhateverTheLastCrossReferenceSection) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The first ends in a cross-reference stream, the second in a table. Each is saved twice over, the
    // second time after the section the first save appended.
    for (const char* source : {"realworld/libtasn1.pdf", "pdf/hello_world.pdf"}) {
        SCOPED_TRACE(source);
        QString previous = testDataPath(source);
        for (const QString word : {"Appended", "Twice"}) {
            TPdf pdf;
            pdf.SetFileName(previous);
            pdf.SetActive(true);
            const int pages = pdf.PageCount();
            pdf.SetPageNumber(1);
            pdf.AddText(word, "Helvetica", 12, 20, 20, clBlack, 255);
            const QString saved = dir.filePath(word + ".pdf");
            ASSERT_TRUE(pdf.SaveAs(saved, saIncremental, pvUnknown));

            EXPECT_TRUE(ReadFile(saved).startsWith(ReadFile(previous)));
            EXPECT_TRUE(
                RunProgram("qpdf", {"--check", saved}).contains("No syntax or stream encoding errors found"));
            EXPECT_TRUE(RunProgram("pdftotext", {"-l", "1", saved, "-"}).contains(word));
            EXPECT_EQ(PdfInfoField(saved, "Pages").toInt(), pages);
            TPdf reread;
            reread.SetFileName(saved);
            reread.SetActive(true);
            EXPECT_EQ(reread.PageCount(), pages);
            previous = saved;
        }
    }
}
