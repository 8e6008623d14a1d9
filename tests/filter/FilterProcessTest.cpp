// kestrova-pdftoraster run as cupsd runs a filter (job-id user title copies options [file], the job's
// attributes in one options string, the PDF from a file or from standard input) on real documents: its
// raster is byte for byte the in-process encoding of the same decisions, with one rendering process or two;
// a document it cannot render, or decisions missing or malformed, end it with an ERROR: line, exit code 1 and
// no page after the failure.
#include "app/job/PageRendering.h"
#include "app/printing/FilterJob.h"
#include "app/printing/PwgPageWriter.h"
#include "pdf/Pdf.h"
#include "support/PwgRaster.h"
#include "support/TestData.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

// The options string that cupsd hands its filters: the job's attributes, among them some of its own, each as
// name=value, a boolean as its name or as its name after "no".
QString CupsdOptions(const TOptionValues& attributes) {
    QStringList words{"job-uuid=urn:uuid:1b9c3a52-7d1e-3c4f-5a6b-7c8d9e0f1a2b",
                      "job-originating-host-name=localhost", "finishings=3", "number-up=1"};
    for (auto it = attributes.begin(); it != attributes.end(); ++it) {
        const QString name = QString::fromLatin1(it.key());
        if (it.value() == "true" || it.value() == "false")
            words.append(it.value() == "true" ? name : "no" + name);
        else
            words.append(name + '=' + QString::fromLatin1(it.value()));
    }
    return words.join(' ');
}

struct FilterRun {
    int ExitCode = -1;
    QByteArray Raster;
    QString Messages;
};

void StartFilter(QProcess& process, const TOptionValues& attributes, const QString& pdf, bool fromStdin,
                 int workers, const QString& tempFolder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KESTROVA_FILTER_WORKERS", QString::number(workers));
    environment.insert("TMPDIR", tempFolder);
    process.setProcessEnvironment(environment);
    QStringList arguments{"42", "lp", "Kestrova test", "1", CupsdOptions(attributes)};
    if (fromStdin)
        process.setStandardInputFile(pdf);
    else
        arguments.append(pdf);
    process.start(QStringLiteral(KESTROVA_BIN_DIR "/kestrova-pdftoraster"), arguments);
}

FilterRun RunFilter(const TOptionValues& attributes, const QString& pdf, bool fromStdin = false,
                    int workers = 2) {
    QTemporaryDir temp;
    QProcess process;
    StartFilter(process, attributes, pdf, fromStdin, workers, temp.path());
    process.waitForFinished(120000);
    EXPECT_TRUE(QDir(temp.path()).isEmpty()) << "the filter left files in TMPDIR";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

// The raster that the program's own page loop encodes for the job: the stream's start, then each page of
// Sent (0 for a blank back) rendered and encoded at its place in the job.
QByteArray InProcessRaster(const QString& pdfPath, const TFilterJob& job, const QList<int>& sent) {
    PDFium::TPdf pdf;
    pdf.SetFileName(pdfPath);
    pdf.SetActive(true);
    const TPwgPageSetup& setup = job.Setup;
    TPageBitmap bitmap;
    QByteArray raster = PwgStreamStart(setup);
    for (int index = 0; index < sent.size(); ++index) {
        QImage page;
        if (sent[index] > 0) {
            RenderPlacedPage(pdf, sent[index], RenderingOn(setup, job.Scaling, job.Orientation, job.Color),
                             bitmap);
            page = bitmap.Image;
        }
        raster += EncodePwgPage(setup, page, index);
    }
    return raster;
}

// The PDF component's message for the first of Pages it cannot open or go to.
QString ComponentError(const QString& pdfPath, const QList<int>& pages) {
    try {
        PDFium::TPdf pdf;
        pdf.SetFileName(pdfPath);
        pdf.SetActive(true);
        for (const int page : pages)
            pdf.SetPageNumber(page);
    } catch (const PDFium::EPdfError& error) {
        return error.Message();
    }
    return {};
}

const char* const Manual = "realworld/libtasn1.pdf";
const char* const TestPage = "realworld/default-testpage.pdf";

// Letter at 150 dpi with quarter-inch margins, in gray, Pages once each.
TFilterJob Letter(QList<int> pages, const std::function<void(TFilterJob&)>& change = {}) {
    TFilterJob job;
    job.Setup.Resolution = 150;
    job.Setup.SheetWidth = 1275;
    job.Setup.SheetHeight = 1650;
    job.Setup.Left = job.Setup.Top = job.Setup.Right = job.Setup.Bottom = 38;
    job.Pages = std::move(pages);
    if (change)
        change(job);
    return job;
}

struct RasterCase {
    const char* Name;
    const char* Document; // in the shared test data
    TFilterJob Job;
    QList<int> Sent; // the pages that go, in order; 0 for a blank back
    int Workers;
    bool FromStdin;
};

void PrintTo(const RasterCase& c, std::ostream* os) {
    *os << c.Name;
}

class FilterRaster : public testing::TestWithParam<RasterCase> {};

TEST_P(FilterRaster, IsTheInProcessEncoding) {
    const RasterCase& c = GetParam();
    REQUIRE_TESTDATA(c.Document);
    const QString pdf = testDataPath(c.Document);
    const FilterRun run = RunFilter(FilterJobAttributes(c.Job), pdf, c.FromStdin, c.Workers);
    EXPECT_EQ(run.ExitCode, 0) << run.Messages.toStdString();
    const QByteArray expected = InProcessRaster(pdf, c.Job, c.Sent);
    EXPECT_TRUE(run.Raster == expected) << run.Raster.size() << " bytes, expected " << expected.size();
    EXPECT_EQ(ReadPwgRaster(run.Raster).size(), c.Sent.size());
    EXPECT_TRUE(run.Messages.contains(QStringLiteral("PAGE: %1 1\n").arg(c.Sent.size())))
        << run.Messages.toStdString();
    EXPECT_FALSE(run.Messages.contains("ERROR:")) << run.Messages.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, FilterRaster,
    testing::Values(RasterCase{"Gray", Manual, Letter({1, 2, 3}), {1, 2, 3}, 2, false},
                    RasterCase{
                        "GrayFromStandardInputInOneProcess", Manual, Letter({1, 2, 3}), {1, 2, 3}, 1, true},
                    RasterCase{"Color",
                               TestPage,
                               Letter({1},
                                      [](TFilterJob& job) {
                                          job.Setup.Media = "iso_a4_210x297mm";
                                          job.Setup.SheetWidth = 1240;
                                          job.Setup.SheetHeight = 1754;
                                          job.Setup.MediaPosition = 5;
                                          job.Setup.Type = "srgb_8";
                                          job.Color = true;
                                          job.Scaling = TScaling::Fit;
                                      }),
                               {1},
                               2,
                               false},
                    RasterCase{"TwoSidedWithTurnedBacks",
                               Manual,
                               Letter({1, 2, 3, 4},
                                      [](TFilterJob& job) {
                                          job.Setup.Sides = "two-sided-long-edge";
                                          job.Setup.SheetBack = "rotated";
                                      }),
                               {1, 2, 3, 4},
                               2,
                               true},
                    RasterCase{"PageRangesTurnedAndFilled",
                               Manual,
                               Letter({2, 5, 6},
                                      [](TFilterJob& job) {
                                          job.Orientation = 4;
                                          job.Scaling = TScaling::Fill;
                                      }),
                               {2, 5, 6},
                               2,
                               false},
                    RasterCase{"Copies",
                               Manual,
                               Letter({1, 2}, [](TFilterJob& job) { job.Copies = 3; }),
                               {1, 2, 1, 2, 1, 2},
                               2,
                               false},
                    RasterCase{"OddPageCountWithBlankBacks",
                               Manual,
                               Letter({1, 2, 3},
                                      [](TFilterJob& job) {
                                          job.Setup.Sides = "two-sided-short-edge";
                                          job.Setup.SheetBack = "flipped";
                                          job.BlankBack = true;
                                          job.Copies = 2;
                                      }),
                               {1, 2, 3, 0, 1, 2, 3, 0},
                               2,
                               false},
                    RasterCase{"BlackInOneProcess",
                               Manual,
                               Letter({7}, [](TFilterJob& job) { job.Setup.Type = "black_1"; }),
                               {7},
                               1,
                               false},
                    // A raster driver's page header, as a LaserJet's PPD makes it: CUPS raster, 1-bit black,
                    // its sheet the imageable area.
                    RasterCase{"CupsRasterForARasterDriver",
                               Manual,
                               Letter({1, 2, 3},
                                      [](TFilterJob& job) {
                                          job.Setup.Type = "black_1";
                                          job.Setup.Left = job.Setup.Top = job.Setup.Right =
                                              job.Setup.Bottom = 0;
                                          cups_page_header2_t header{};
                                          InitPwgHeader(job.Setup, header);
                                          header.NumCopies = 2;
                                          job.Setup.DriverHeader = header;
                                      }),
                               {1, 2, 3},
                               2,
                               false}),
    [](const testing::TestParamInfo<RasterCase>& info) { return std::string(info.param.Name); });

struct FailureCase {
    const char* Name;
    const char* Document;  // in the shared test data; null for a file that is no PDF
    TOptionValues Changes; // over the decisions' attributes; an empty value removes the attribute
    QList<int> Pages;      // the pages asked for
    const char* Error;     // the ERROR: line's text; null for the PDF component's own message
    QList<int> Written;    // the pages written before the failure
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.Name;
}

class FilterFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(FilterFailure, EndsWithAnErrorAndNoLaterPage) {
    const FailureCase& c = GetParam();
    QTemporaryDir folder;
    QString pdf = folder.filePath("not-a.pdf");
    if (c.Document) {
        REQUIRE_TESTDATA(c.Document);
        pdf = testDataPath(c.Document);
    } else {
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("This is no PDF.\n");
    }
    const TFilterJob job = Letter(c.Pages);
    TOptionValues attributes = FilterJobAttributes(job);
    for (auto it = c.Changes.begin(); it != c.Changes.end(); ++it)
        if (it.value().isEmpty())
            attributes.remove(it.key());
        else
            attributes.insert(it.key(), it.value());
    const FilterRun run = RunFilter(attributes, pdf);
    EXPECT_EQ(run.ExitCode, 1);
    const QString error = c.Error ? QString::fromUtf8(c.Error) : ComponentError(pdf, c.Pages);
    ASSERT_FALSE(error.isEmpty());
    EXPECT_TRUE(run.Messages.contains("ERROR: " + error + '\n')) << run.Messages.toStdString();
    const QByteArray written = c.Written.isEmpty() ? QByteArray() : InProcessRaster(pdf, job, c.Written);
    EXPECT_TRUE(run.Raster == written) << run.Raster.size() << " bytes, expected " << written.size();
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FilterFailure,
    testing::Values(FailureCase{"DamagedDocument", nullptr, {}, {1}, nullptr, {}},
                    FailureCase{"PasswordProtectedDocument", "pdf/encrypted.pdf", {}, {1}, nullptr, {}},
                    FailureCase{"PageBeyondTheDocument", Manual, {}, {1, 2, 99}, nullptr, {1, 2}},
                    FailureCase{"MissingDecision",
                                Manual,
                                {{"kestrova-pages", ""}},
                                {1},
                                "The job attribute kestrova-pages is missing",
                                {}},
                    FailureCase{"MalformedDecision",
                                Manual,
                                {{"kestrova-copies", "none"}},
                                {1},
                                "The job attribute kestrova-copies has a malformed value \"none\": it takes "
                                "a whole number from 1 "
                                "to 9999",
                                {}},
                    FailureCase{"UnknownPaper",
                                Manual,
                                {{"kestrova-media", "no-such-paper"}},
                                {1},
                                "The print system knows no paper \"no-such-paper\"",
                                {}}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.Name); });

// The process ids of Pid's children.
QList<qint64> Children(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
    QList<qint64> children;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& word : file.readAll().split(' '))
            if (!word.trimmed().isEmpty())
                children.append(word.trimmed().toLongLong());
    return children;
}

TEST(FilterWorkers, OneThatDiesEndsTheJobWithAnError) {
    REQUIRE_TESTDATA(Manual);
    TFilterJob job = Letter({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    job.Setup.Resolution = 600;
    job.Setup.SheetWidth = 5100;
    job.Setup.SheetHeight = 6600;
    QTemporaryDir temp;
    QProcess process;
    StartFilter(process, FilterJobAttributes(job), testDataPath(Manual), false, 2, temp.path());
    ASSERT_TRUE(process.waitForReadyRead(60000));
    QList<qint64> workers;
    for (int tries = 0; workers.size() < 2 && tries < 100; ++tries)
        workers = Children(process.processId());
    ASSERT_EQ(workers.size(), 2);
    ::kill(pid_t(workers.last()), SIGKILL);
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 1);
    const QString messages = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(
        messages.contains(QRegularExpression("ERROR: The rendering process of page [0-9]+ ended before it: "
                                             "it was ended by signal 9")))
        << messages.toStdString();
    EXPECT_LT(ReadPwgRaster(process.readAllStandardOutput()).size(), job.SentCount());
}

} // namespace
