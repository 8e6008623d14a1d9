// The real program, copied with its engine into a folder of its own as an installation would be, started with
// a link as the desktop starts it: it downloads from a web server on 127.0.0.1, prints through the private
// print system and leaves nothing behind but its log line. It prints on a queue that makes PDF of what it
// receives, and on a driverless printer that keeps the PWG raster it receives.
//
// Printed pages are compared with the source pages as poppler renders them, scaled to the printed size, at
// 100 dpi and then averaged down four times (25 dpi): the mean absolute difference of the gray levels over
// the printed area must stay within PageTolerance. The print renders without smoothing and with halftones,
// poppler smooths; on the pages of a manual that leaves 2.5 to 4.5 levels, while the next page in its place
// or the right page shifted by 3 pixels differs by 12.5 to 16.
#include "InstalledProgram.h"
#include "JobHarness.h"

#include "app/printing/CupsDestination.h"
#include "app/printing/CupsJob.h"
#include "app/printing/PageFit.h"
#include "app/printing/Printer.h"
#include "support/HttpServer.h"
#include "support/PdfFixtures.h"
#include "support/PrintSystem.h"
#include "support/PwgRaster.h"
#include "support/TestData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <cups/raster.h>

#include <csignal>
#include <gtest/gtest.h>
#include <tuple>

namespace {

constexpr double PageTolerance = 8.0;
constexpr int CoarseFactor = 4;
constexpr int CompareDpi = 100;

// The printable area of a queue at its resolution, as the program sees it: every test queue keeps margins
// of a quarter inch.
struct Printable {
    QRect Area;
    int Dpi;
};

Printable PrintableArea(const QString& queue) {
    TPrinter printer;
    printer.SetPrinterIndex(FindPrinter(printer.Printers(), queue));
    const int dpi = printer.Resolution();
    return {QRect(dpi / 4, dpi / 4, printer.PageWidth(), printer.PageHeight()), dpi};
}

// The sheet with its paper white at 255: the queue that makes PDF of the raster converts its gray levels
// through a colour profile, which prints white as 250.
QImage WhiteBalanced(const QImage& sheet, const QRect& margin) {
    const double white = MeanLevel(sheet, margin);
    if (white <= 0 || white >= 255)
        return sheet;
    QImage balanced = sheet;
    for (int y = 0; y < balanced.height(); ++y) {
        uchar* line = balanced.scanLine(y);
        for (int x = 0; x < balanced.width(); ++x)
            line[x] = uchar(std::min(255.0, line[x] * 255.0 / white + 0.5));
    }
    return balanced;
}

QImage Coarse(const QImage& page) {
    return page.scaled(page.size() / CoarseFactor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Compares every printed sheet, whatever the printer received, with its source page.
void ExpectPagesMatch(const QString& printed, const QString& source, const QString& queue, int pages) {
    const auto [area, dpi] = PrintableArea(queue);
    const double factor = double(CompareDpi) / dpi;
    const QList<QImage> sheets = PrintedSheets(printed, CompareDpi);
    ASSERT_EQ(sheets.size(), pages);
    for (int page = 1; page <= pages; ++page) {
        const QImage sourceAtPoints = PopplerPage(source, page, 72);
        const TPageFit fit =
            FitPage(area.width(), area.height(), sourceAtPoints.width(), sourceAtPoints.height());
        const QSize size(qRound(fit.Width * factor), qRound(fit.Height * factor));
        const QImage expected = PopplerPage(source, page, 0, size);
        QImage sheet = sheets[page - 1];
        if (printed.endsWith(".pwg")) // raster comes at the printer's resolution
            sheet = sheet.scaled(sheet.size() * factor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        else
            sheet = WhiteBalanced(sheet, QRect(0, 0, sheet.width(), qRound(area.y() * factor) - 2));
        const QImage actual =
            sheet.copy(QRect(QPoint(qRound(area.x() * factor), qRound(area.y() * factor)), size));
        EXPECT_LE(MeanDifference(Coarse(actual), Coarse(expected)), PageTolerance) << "page " << page;
    }
}

struct DocumentCase {
    const char* Name;
    std::function<QString(const QString& folder)> Source; // the source document's path
    QString Title;                                        // the printed job's title
    bool Driverless = false;                              // printed on the driverless printer
};

void PrintTo(const DocumentCase& c, std::ostream* os) {
    *os << c.Name;
}

class ProgramPrints : public Program, public testing::WithParamInterface<DocumentCase> {};

TEST_P(ProgramPrints, EveryPageAsTheSourceShowsIt) {
    const DocumentCase& document = GetParam();
    PrintSystem& system = PrintSystem::Shared();
    const QString queue = document.Driverless ? system.DriverlessPrinter() : system.DefaultPrinter();
    if (queue.isEmpty())
        GTEST_SKIP() << "no driverless printer: " << system.DriverlessError().toStdString();
    QTemporaryDir sources;
    const QString source = document.Source(sources.path());
    if (!QFile::exists(source))
        GTEST_SKIP() << "source document not found: " << source.toStdString();
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    Server.On("GET", "/job/document.pdf", HttpResponse{200, {}, file.readAll()});
    const int pages = PdfInfoField(source, "Pages").toInt();
    if (document.Driverless)
        WriteTable(Install.path(), {{"Desk", "Desk", queue}});

    const QString link = JobLink("Desk", Server.Url("/job/document.pdf"));
    ASSERT_EQ(Run(link), 0);
    const QString printed = system.WaitForOutput(queue, 90);
    ASSERT_FALSE(printed.isEmpty());
    EXPECT_EQ(PrintSystem::LastJobTitle(queue), document.Title);
    if (document.Driverless) {
        // The printer received 8-bit gray Letter sheets at its 600 dpi.
        const QList<PwgPage> sheets = ReadPwgRaster(printed);
        EXPECT_EQ(sheets.size(), pages);
        for (const PwgPage& sheet : sheets) {
            EXPECT_EQ(sheet.Resolution, 600);
            EXPECT_EQ(sheet.Media, "na_letter_8.5x11in");
            EXPECT_EQ(sheet.ColorSpace, CUPS_CSPACE_SW);
            EXPECT_EQ(sheet.BitsPerPixel, 8);
        }
    } else {
        EXPECT_TRUE(PdfInfoField(printed, "Page size").startsWith("612 x 792 pts"))
            << PdfInfoField(printed, "Page size").toStdString();
    }
    ExpectPagesMatch(printed, source, queue, pages);
    EXPECT_EQ(FilesIn(Install.filePath("DownFile")), QStringList());
    ExpectLoggedOnce(link);
}

QString TitledFixture(const QString& folder) {
    return WritePdf(folder, "titled.pdf",
                    {{{{612, 792}, "Kestrova prints"}, {{400, 600}, "a smaller page"}}, "Delivery note"});
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ProgramPrints,
    testing::Values(
        DocumentCase{"TitledFixture", TitledFixture, "Delivery note"},
        DocumentCase{"UntitledManual",
                     [](const QString&) { return testDataPath("realworld/shared-mime-info-spec.pdf"); },
                     "Print"},
        DocumentCase{"A4TestPageOnLetter",
                     [](const QString&) { return testDataPath("realworld/default-testpage.pdf"); }, "Print"},
        DocumentCase{"TitledFixtureOnTheDriverlessPrinter", TitledFixture, "Delivery note", true},
        DocumentCase{"ManualOnTheDriverlessPrinter",
                     [](const QString&) { return testDataPath("realworld/shared-mime-info-spec.pdf"); },
                     "Print", true}),
    [](const testing::TestParamInfo<DocumentCase>& info) { return std::string(info.param.Name); });

// The demo as a desktop user runs it: a personal default printer in the lpoptions of the home, PRINTER
// naming another, and the environment of another print system (this test's own). The demo's private print
// system keeps all of them out and prints on its own default; the other print system prints nothing.
TEST(Demo, PrintsOnItsOwnPrintSystemWhateverTheUserChose) {
    PrintSystem& other = PrintSystem::Shared();
    if (!other.Started())
        GTEST_SKIP() << "no private print system: " << other.Error().toStdString();
    QTemporaryDir home, folder;
    ASSERT_TRUE(QDir(home.path()).mkpath(".cups"));
    QFile lpoptions(home.filePath(".cups/lpoptions"));
    ASSERT_TRUE(lpoptions.open(QIODevice::WriteOnly));
    lpoptions.write("Dest SomeDeskPrinter/duplex sides=two-sided-long-edge\nDefault SomeDeskPrinter\n");
    lpoptions.close();
    const int otherJobs = PrintedJobCount();

    QProcess demo;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("PRINTER", "Desk_Laser");
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    demo.setProcessEnvironment(environment);
    demo.start(QStringLiteral(KESTROVA_SOURCE_DIR "/scripts/demo.sh"),
               {QFileInfo(KESTROVA_BIN_DIR).path(), folder.filePath("demo")});
    ASSERT_TRUE(demo.waitForFinished(240000));
    const QString output = QString::fromLocal8Bit(demo.readAllStandardOutput() + demo.readAllStandardError());
    EXPECT_EQ(demo.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(" page(s) on Kestrova_Letter: ")) << output.toStdString();
    EXPECT_EQ(PrintedJobCount(), otherJobs);
}

// A run started with a link ends after any message at start-up, headless with 1, and opens no settings
// window: a link that cannot be read, a table that cannot be loaded.
TEST_F(Program, AStartUpErrorEndsTheRun) {
    QFile table(Install.filePath("cds.xml"));
    for (const auto& [link, tableText, message] :
         {std::tuple{QStringLiteral("kestrova://print/?moduleaddress=%G2&pdfurl=x"), QByteArray(),
                     QStringLiteral("Kestrova: The link's parameter \"moduleaddress\" is not well encoded")},
          std::tuple{JobLink("Desk", Server.Url("/doc.pdf")) + "&copies=%G2", QByteArray(),
                     QStringLiteral("Kestrova: The link's parameter \"copies\" is not well encoded")},
          std::tuple{JobLink("Desk", Server.Url("/doc.pdf")), QByteArray("<DATAPACKET"),
                     QStringLiteral("Kestrova: Cannot load the table file")}}) {
        if (!tableText.isEmpty()) {
            ASSERT_TRUE(table.open(QIODevice::WriteOnly));
            table.write(tableText);
            table.close();
        }
        QProcess program;
        Start(program, link);
        EXPECT_EQ(WaitFor(program), 1) << link.toStdString();
        EXPECT_TRUE(QString::fromUtf8(program.readAllStandardError()).contains(message))
            << link.toStdString();
    }
}

// Where no display can show the error box, as on Qt's offscreen platform, the message goes to standard
// error and the program ends with 1, instead of waiting on a box that nobody sees. Here a personal default
// names a printer the print system lacks, as lp refuses it.
TEST_F(Program, WithoutADisplayAnErrorGoesToStandardErrorAndFailsTheRun) {
    ASSERT_TRUE(QDir(Home.path()).mkpath(".cups"));
    QFile lpoptions(Home.filePath(".cups/lpoptions"));
    ASSERT_TRUE(lpoptions.open(QIODevice::WriteOnly));
    lpoptions.write("Default SomeDeskPrinter\n");
    lpoptions.close();
    Server.On("GET", "/doc.pdf", HttpResponse{200, {}, MakePdf({{{{612, 792}, "one"}}, "One"})});
    const int jobsBefore = PrintedJobCount();
    QProcess program;
    Start(program, JobLink("Desk", Server.Url("/doc.pdf")));
    QElapsedTimer clock;
    clock.start();
    while (program.state() != QProcess::NotRunning && clock.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        program.waitForFinished(20);
    }
    ASSERT_EQ(program.state(), QProcess::NotRunning) << "the program waits on a box nobody sees";
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(
        QString::fromUtf8(program.readAllStandardError())
            .contains("Kestrova: The default printer \"SomeDeskPrinter\", named in ~/.cups/lpoptions, "
                      "does not exist in the print system."));
    EXPECT_EQ(PrintedJobCount(), jobsBefore);
    EXPECT_EQ(FilesIn(Install.filePath("DownFile")), QStringList());
}

TEST_F(Program, NotFoundEndsSilentlyWithoutPrinting) {
    const int jobsBefore = PrintedJobCount();
    const QString link = JobLink("Desk", Server.Url("/missing.pdf"));
    ASSERT_EQ(Run(link), 0);
    EXPECT_EQ(PrintedJobCount(), jobsBefore);
    EXPECT_EQ(FilesIn(Install.filePath("DownFile")), QStringList());
    ExpectLoggedOnce(link);
}

// A link opened from the browser starts the program in whatever folder the browser is in, such as the
// downloads: libraries there that bear the names of the program's own are never loaded in their place.
TEST_F(Program, LoadsNoLibraryFromTheFolderItIsStartedIn) {
    QTemporaryDir downloads;
    for (const char* name : {"libQt6Core.so.6", "libcups.so.2", "libc.so.6"}) {
        QFile planted(downloads.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    }
    QProcess program;
    program.setWorkingDirectory(downloads.path());
    Start(program, JobLink("Desk", Server.Url("/missing.pdf")));
    EXPECT_EQ(WaitFor(program), 0) << program.readAllStandardError().toStdString();
}

// A job killed outright (SIGKILL) while its document arrives leaves the document behind; the next job, of
// another name, removes it, prints its own document and leaves nothing.
TEST_F(Program, TheNextJobRemovesWhatAKilledJobLeft) {
    QProcess killed;
    const QString leftover = StartStalledJob(killed, "/a/doc.pdf");
    ASSERT_FALSE(leftover.isEmpty()) << "the first job did not begin to save its document";
    killed.kill();
    killed.waitForFinished();
    ASSERT_TRUE(QFileInfo::exists(leftover));

    Server.On("GET", "/b/other.pdf", HttpResponse{200, {}, MakePdf({{{{612, 792}, "second"}}, "Second"})});
    ASSERT_EQ(Run(JobLink("Desk", Server.Url("/b/other.pdf"))), 0);
    const QString printed = PrintSystem::Shared().WaitForOutput(PrintSystem::Shared().DefaultPrinter(), 90);
    ASSERT_FALSE(printed.isEmpty());
    EXPECT_EQ(PrintSystem::LastJobTitle(PrintSystem::Shared().DefaultPrinter()), "Second");
    EXPECT_EQ(FilesIn(Install.filePath("DownFile")), QStringList());
}

// A job whose run was killed while its document was on its way waits for the rest of it, holding up its queue
// until the print system gives up minutes later; the next run cancels it. A job of a run that still lives is
// left alone.
TEST_F(Program, TheNextJobCancelsAJobThatAKilledRunLeftIncoming) {
    QProcess ended;
    ended.start("sh", {"-c", "echo $$"});
    ASSERT_TRUE(ended.waitForFinished());
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray endedRun = host + ':' + ended.readAllStandardOutput().trimmed();
    const QString queue = PrintSystem::Shared().DefaultPrinter();
    // Each document on a connection of its own.
    TCupsDestination leftDestination(queue), livingDestination(queue);
    TCupsJob left(leftDestination), living(livingDestination);
    ASSERT_TRUE(living.Start("living", {}, "application/pdf"));
    living.Write("%PDF-1.4\n");
    ASSERT_TRUE(left.Start("left", {{"kestrova-run", endedRun}}, "application/pdf"));
    left.Write("%PDF-1.4\n");
    const int before = PrintSystem::PrintingJobCount();

    Server.On("GET", "/doc.pdf", HttpResponse{200, {}, MakePdf({{{{612, 792}, "next"}}, "Next"})});
    ASSERT_EQ(Run(JobLink("Desk", Server.Url("/doc.pdf"))), 0);
    ASSERT_FALSE(PrintSystem::Shared().WaitForOutput(queue, 90).isEmpty());
    EXPECT_EQ(PrintSystem::PrintingJobCount(), before)
        << "the left job was not cancelled, or the living one was";
    living.Cancel();
    left.Cancel();
}

// A job ended by SIGTERM (a logout) or SIGINT while its document arrives deletes the document and its lock,
// logs how it ended and exits as a shell reports the signal.
TEST_F(Program, AJobEndedByASignalLeavesNothing) {
    for (const int signal : {SIGTERM, SIGINT}) {
        QProcess program;
        ASSERT_FALSE(StartStalledJob(program, "/doc.pdf").isEmpty()) << "the job did not begin to save";
        ::kill(pid_t(program.processId()), signal);
        EXPECT_EQ(WaitFor(program), 128 + signal);
        EXPECT_EQ(FilesIn(Install.filePath("DownFile")), QStringList());
        const QStringList log = LogLines(Install.path());
        ASSERT_FALSE(log.isEmpty());
        EXPECT_TRUE(log.last().contains(signal == SIGTERM ? "Ended by SIGTERM" : "Ended by SIGINT"))
            << log.last().toStdString();
    }
}

// A copy whose folder cannot be written, as in an installed package, keeps its table, download and log in the
// user's data folder, and writes nothing beside itself.
TEST_F(Program, CopyInAFolderItCannotWriteKeepsItsFilesInTheUsersDataFolder) {
    if (QProcess::execute("unshare", {"--mount", "sh", "-c", "mount -o bind,ro / /"}) != 0)
        GTEST_SKIP() << "no read-only mount in a mount namespace of its own (unshare and mount need root)";
    ReadOnlyInstall = true;
    const QString data = DataHome() + "/kestrova";
    ASSERT_TRUE(QDir().mkpath(data));
    const QString queue = PrintSystem::Shared().Printers().at(1);
    ASSERT_NE(queue, PrintSystem::Shared().DefaultPrinter());
    WriteTable(data, {{"Desk", "Desk", queue}});
    Server.On("GET", "/installed/doc.pdf",
              HttpResponse{200, {}, MakePdf({{{{612, 792}, "x"}}, "Installed"})});
    const QString link = JobLink("Desk", Server.Url("/installed/doc.pdf"));

    ASSERT_EQ(Run(link), 0);
    ASSERT_FALSE(PrintSystem::Shared().WaitForOutput(queue, 90).isEmpty()) << "the table was not read";
    EXPECT_EQ(PrintSystem::LastJobTitle(queue), "Installed");
    EXPECT_EQ(FilesIn(data + "/DownFile"), QStringList());
    ExpectLoggedOnce(link, data);
    EXPECT_EQ(FilesIn(Install.path()), (QStringList{"Kestrova", "libpdfium.so"}));
}

} // namespace
