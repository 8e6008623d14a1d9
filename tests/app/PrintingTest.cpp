// The printing interface against the private print system: its printers, the default, the print streams,
// documents that land as printed output, and what the print system refuses.
#include "app/job/Termination.h"
#include "app/printing/CupsJob.h"
#include "app/printing/EPrinter.h"
#include "app/printing/OpenPrintStream.h"
#include "app/printing/PageFit.h"
#include "app/printing/Printer.h"
#include "app/printing/PwgPrintStream.h"
#include "app/printing/QtPrintStream.h"
#include "support/PdfFixtures.h"
#include "support/PrintSystem.h"
#include "support/PrintedSheets.h"
#include "support/Programs.h"

#include "PrinterFailure.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinterInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <thread>

namespace {

// A page image as the renderer hands it over: 8-bit gray, as wide as the printable area.
QImage grayPage(int width, int height, int shade) {
    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(shade);
    return image;
}

class PrintingTest : public testing::Test {
protected:
    void SetUp() override {
        if (!System.Started())
            GTEST_SKIP() << "no private print system: " << System.Error().toStdString();
    }

    PrintSystem& System = PrintSystem::Shared();
};

// The printers as the system lists them, a CUPS instance after its queue: the print system's own queues,
// which lp prints to without a browse, and nothing else. lpstat -e lists in the system's order every
// destination, printers that other print systems advertise over DNS-SD among them, so of its list only the
// queues the print system itself answers for (lpstat -a asks it) and their instances count.
TEST_F(PrintingTest, ListsThePrintersInTheSystemsOrder) {
    const QString instance = System.Printers()[1] + "/two-sided";
    ASSERT_TRUE(PrintSystem::Administer("lpoptions", {"-p", instance, "-o", "sides=two-sided-long-edge"}));
    QStringList queues;
    for (const QString& line : RunProgram("lpstat", {"-a"}).split('\n', Qt::SkipEmptyParts))
        queues << line.section(' ', 0, 0);
    QStringList system;
    for (const QString& line : RunProgram("lpstat", {"-e"}).split('\n', Qt::SkipEmptyParts))
        if (queues.contains(line.trimmed().section('/', 0, 0)))
            system << line.trimmed();
    const QStringList printers = TPrinter().Printers();
    PrintSystem::Administer("lpoptions", {"-x", instance});
    EXPECT_EQ(printers, system);
    EXPECT_EQ(printers.indexOf(instance), printers.indexOf(System.Printers()[1]) + 1);
    for (const QString& queue : System.Printers())
        EXPECT_TRUE(system.contains(queue)) << queue.toStdString();
    EXPECT_EQ(printers.size(), System.Printers().size() + 1);
}

TEST_F(PrintingTest, TheCurrentPrinterIsTheDefaultUntilOneIsChosen) {
    TPrinter printer;
    EXPECT_EQ(printer.Printers().value(printer.PrinterIndex()), System.DefaultPrinter());
    const int other = FindPrinter(printer.Printers(), System.Printers()[1].toUpper());
    ASSERT_GE(other, 0);
    printer.SetPrinterIndex(other);
    EXPECT_EQ(printer.Printers().value(printer.PrinterIndex()), System.Printers()[1]);
    printer.SetPrinterIndex(-1);
    EXPECT_EQ(printer.Printers().value(printer.PrinterIndex()), System.DefaultPrinter());
}

// Why there is no default printer, as the user is told: a personal default of a desktop's settings that
// names a printer this print system lacks is refused as lp refuses it, naming the printer and where it was
// named. CUPS reads the home folder and the server once in each thread, so each case runs in a fresh one.
struct MissingDefault {
    const char* Name;
    QList<std::pair<const char*, QString>> Environment; // %1: a home folder with a personal lpoptions
    bool RemoveDefaultQueue;
    QString Message;
};

void PrintTo(const MissingDefault& c, std::ostream* os) {
    *os << c.Name;
}

class PrintingDefaultTest : public PrintingTest, public testing::WithParamInterface<MissingDefault> {};

TEST_P(PrintingDefaultTest, SaysWhyThereIsNone) {
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkpath(".cups"));
    QFile lpoptions(home.filePath(".cups/lpoptions"));
    ASSERT_TRUE(lpoptions.open(QIODevice::WriteOnly));
    lpoptions.write("Dest SomeDeskPrinter/duplex sides=two-sided-long-edge\nDefault SomeDeskPrinter\n");
    lpoptions.close();
    std::optional<NoDefaultPrinter> none;
    if (GetParam().RemoveDefaultQueue)
        none.emplace(System);
    QList<std::pair<QByteArray, QByteArray>> saved;
    for (const auto& [name, value] : GetParam().Environment) {
        saved.append({name, qgetenv(name)});
        qputenv(name, QString(value).replace("%1", home.path()).toLocal8Bit());
    }
    std::optional<QString> shown;
    std::thread([&] {
        TPrinter printer;
        shown = failure([&] { printer.PrinterIndex(); });
        EXPECT_EQ(failure([&] { printer.SetPrinterIndex(-1); }), shown);
        EXPECT_EQ(failure([&] { printer.BeginDoc(); }), shown);
        EXPECT_FALSE(printer.Printing());
    }).join();
    for (const auto& [name, value] : saved)
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    EXPECT_EQ(shown, QString(GetParam().Message).replace("%1", home.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintingDefaultTest,
    testing::Values(
        MissingDefault{"NoneAtAll", {}, true, "There is no default printer currently selected"},
        MissingDefault{
            "PersonalLpoptions",
            {{"HOME", "%1"}},
            false,
            "The default printer \"SomeDeskPrinter\", named in ~/.cups/lpoptions, does not exist in "
            "the print system"},
        MissingDefault{
            "PrinterVariable",
            {{"PRINTER", "Desk_Laser"}},
            false,
            "The default printer \"Desk_Laser\", named in the environment variable PRINTER, does not "
            "exist in the print system"},
        MissingDefault{"LpdestVariable",
                       {{"LPDEST", "Desk_Laser/duplex"}, {"PRINTER", "Kestrova_Letter"}},
                       false,
                       "The default printer \"Desk_Laser/duplex\", named in the environment variable LPDEST, "
                       "does not exist in the print system"},
        MissingDefault{"PrintSystemDown",
                       {{"CUPS_SERVER", "%1/no-cupsd.sock"}},
                       false,
                       "The print system cannot be reached at \"%1/no-cupsd.sock\""}),
    [](const auto& info) { return std::string(info.param.Name); });

// A default named by PRINTER is found even where the user's lpoptions also name that queue, for an instance:
// CUPS then marks its enumerated destinations by the lpoptions alone.
TEST_F(PrintingTest, APrinterVariableNamesTheDefaultBesideLpoptionsOfItsQueue) {
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkpath(".cups"));
    QFile lpoptions(home.filePath(".cups/lpoptions"));
    ASSERT_TRUE(lpoptions.open(QIODevice::WriteOnly));
    lpoptions.write("Dest " + System.Printers()[1].toUtf8() + "/duplex sides=two-sided-long-edge\n");
    lpoptions.close();
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("PRINTER", System.Printers()[1].toLocal8Bit());
    QString chosen;
    std::thread([&] {
        TPrinter printer;
        chosen = printer.Printers().value(printer.PrinterIndex());
    }).join();
    qunsetenv("PRINTER");
    qputenv("HOME", savedHome);
    EXPECT_EQ(chosen, System.Printers()[1]);
}

TEST_F(PrintingTest, RefusesAPositionOutsideTheList) {
    TPrinter printer;
    EXPECT_EQ(failure([&] { printer.SetPrinterIndex(int(printer.Printers().size())); }),
              "Printer index out of range");
    EXPECT_EQ(failure([&] { printer.SetPrinterIndex(-2); }), "Printer index out of range");
}

TEST_F(PrintingTest, PagesAndTheEndNeedAnOpenDocument) {
    TPrinter printer;
    EXPECT_EQ(failure([&] { printer.NewPage(); }), "Printer is not currently printing");
    EXPECT_EQ(failure([&] { printer.EndDoc(); }), "Printer is not currently printing");
}

// What a queue does with two gray page images: the paper and resolution its sheets come out at, and where
// its printable area lies on them, in pixels at that resolution.
struct Queue {
    const char* Name;
    std::function<QString(PrintSystem&)> Printer;
    int Dpi;
    QString PageSize; // as pdfinfo reports the printed pages; empty for raster the printer received
    int SheetWidth;
    int SheetHeight;
    QRect Printable;
};

void PrintTo(const Queue& c, std::ostream* os) {
    *os << c.Name;
}

class PrintingJobTest : public PrintingTest, public testing::WithParamInterface<Queue> {};

// Two gray page images land as two sheets of the queue's paper, at its resolution, one to one at the top-left
// corner of the printable area, in a job titled as the document.
TEST_P(PrintingJobTest, PrintsGrayPagesOneToOneOnTheQueuesPaper) {
    const Queue& expected = GetParam();
    const QString queue = expected.Printer(System);
    if (queue.isEmpty())
        GTEST_SKIP() << "no driverless printer: " << System.DriverlessError().toStdString();
    TPrinter printer;
    printer.SetPrinterIndex(FindPrinter(printer.Printers(), queue));
    printer.SetTitle("Two gray pages");
    EXPECT_EQ(printer.Resolution(), expected.Dpi);
    EXPECT_EQ(printer.PageWidth(), expected.Printable.width());
    EXPECT_EQ(printer.PageHeight(), expected.Printable.height());

    const TPageFit letter = FitPage(printer.PageWidth(), printer.PageHeight(), 612, 792);
    const QList<int> shades{64, 192};
    printer.BeginDoc();
    ASSERT_TRUE(printer.Printing());
    for (const int shade : shades) {
        if (shade != shades.first())
            printer.NewPage();
        QImage page = grayPage(letter.Width, letter.Height, shade);
        PrintBitmap(printer, page);
    }
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());

    const QString output = System.WaitForOutput(queue);
    ASSERT_FALSE(output.isEmpty()) << "nothing printed on " << queue.toStdString();
    EXPECT_EQ(PrintSystem::LastJobTitle(queue), "Two gray pages");
    if (!expected.PageSize.isEmpty()) {
        EXPECT_TRUE(PdfInfoField(output, "Page size").startsWith(expected.PageSize))
            << PdfInfoField(output, "Page size").toStdString();
    }
    const QList<QImage> sheets = PrintedSheets(output, expected.Dpi);
    ASSERT_EQ(sheets.size(), shades.size());
    const QRect image(expected.Printable.topLeft(), QSize(letter.Width, letter.Height));
    // A queue that makes PDF of the raster passes its gray levels through a colour conversion, and poppler
    // may round the sheet's size up by a pixel.
    const double tolerance = expected.PageSize.isEmpty() ? 0 : 6;
    for (int i = 0; i < sheets.size(); ++i) {
        EXPECT_NEAR(sheets[i].width(), expected.SheetWidth, 1);
        EXPECT_NEAR(sheets[i].height(), expected.SheetHeight, 1);
        EXPECT_NEAR(MeanLevel(sheets[i], image.adjusted(4, 4, -4, -4)), shades[i], tolerance)
            << "sheet " << i;
        // The margins stay white.
        EXPECT_GE(MeanLevel(sheets[i], QRect(0, 0, expected.SheetWidth, image.top() - 4)), 255 - tolerance);
        EXPECT_GE(MeanLevel(sheets[i], QRect(0, 0, image.left() - 4, expected.SheetHeight)), 255 - tolerance);
    }
}

INSTANTIATE_TEST_SUITE_P(Queues, PrintingJobTest,
                         testing::Values(Queue{"Letter", [](PrintSystem& s) { return s.Printers()[0]; }, 300,
                                               "612 x 792 pts", 2550, 3300, QRect(75, 75, 2400, 3150)},
                                         Queue{"A4", [](PrintSystem& s) { return s.Printers()[1]; }, 300,
                                               "595 x 842 pts", 2480, 3508, QRect(75, 75, 2329, 3358)},
                                         Queue{"Driverless",
                                               [](PrintSystem& s) { return s.DriverlessPrinter(); }, 600, "",
                                               5100, 6600, QRect(150, 150, 4800, 6300)}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Qt's print stream, for printers that take no PWG raster: the page images go into Qt's PDF as they are.
TEST_F(PrintingTest, QtsStreamHoldsThePageImagesAsTheyAre) {
    const QString queue = System.DefaultPrinter();
    TQtPrintStream stream(QPrinterInfo::printerInfo(queue));
    EXPECT_EQ(stream.Resolution(), 300);
    const TPageFit letter = FitPage(stream.PageWidth(), stream.PageHeight(), 612, 792);
    ASSERT_TRUE(stream.Begin("Qt's stream"));
    QImage page = grayPage(letter.Width, letter.Height, 64);
    stream.Draw(page);
    stream.NewPage();
    stream.Draw(page);
    stream.End();

    const QString output = System.WaitForOutput(queue);
    ASSERT_FALSE(output.isEmpty());
    EXPECT_EQ(PdfInfoField(output, "Title"), "Qt's stream");
    // pdfimages -list: page num type width height color comp bpc enc interp object id x-ppi y-ppi ...
    const QStringList images =
        RunProgram("pdfimages", {"-list", output}).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_EQ(images.size(), 2);
    for (const QString& image : images) {
        const QStringList fields = image.simplified().split(' ');
        EXPECT_EQ(fields.value(3).toInt(), letter.Width);
        EXPECT_EQ(fields.value(4).toInt(), letter.Height);
        EXPECT_EQ(fields.value(5), "gray");
        EXPECT_EQ(fields.value(7), "8");
        EXPECT_EQ(fields.value(12), "300");
    }
}

// Our own stream serves wherever the print system takes PWG raster or a PDF for the queue: the page images
// of a PDF queue and the document itself; a queue that can take neither, here one for plain text only, keeps
// Qt's stream, which takes only the options that Kestrova does itself.
TEST_F(PrintingTest, ChoosesOurStreamWhereThePrintSystemTakesRasterOrPdf) {
    const auto ours = OpenPrintStream(System.DefaultPrinter());
    ASSERT_NE(dynamic_cast<TPwgPrintStream*>(ours.get()), nullptr);
    EXPECT_TRUE(ours->TakesDocument());
    const QString textOnly = "Kestrova_Text_Only";
    ASSERT_TRUE(System.AddPrinter(textOnly, 300, "text/plain text/plain 0 -"));
    EXPECT_NE(dynamic_cast<TQtPrintStream*>(OpenPrintStream(textOnly).get()), nullptr);
    const auto stream = OpenPrintStream(textOnly, {{"copies", "2"}, {"page-ranges", "2-3"}});
    EXPECT_EQ(stream->CopiesToSend(), 2);
    EXPECT_EQ(stream->Options().PageRanges, (QList<std::pair<int, int>>{{2, 3}}));
    EXPECT_EQ(failure([&] {
                  OpenPrintStream(textOnly, {{"media", "iso_a4_210x297mm"}});
              }),
              "The printer \"Kestrova_Text_Only\" takes no media from Kestrova: it takes no PWG raster");
    System.RemovePrinter(textOnly);
}

// A queue deleted after the printer list was read is not replaced by the default printer: the job is refused
// in the print system's words and nothing prints anywhere.
TEST_F(PrintingTest, AQueueGoneSinceTheListWasReadPrintsNowhere) {
    const QString queue = "Kestrova_Gone";
    ASSERT_TRUE(System.AddPrinter(queue));
    TPrinter printer;
    const int index = FindPrinter(printer.Printers(), queue);
    ASSERT_GE(index, 0);
    ASSERT_TRUE(System.RemovePrinter(queue));
    const int before = PrintSystem::PrintingJobCount();
    printer.SetPrinterIndex(index);
    printer.BeginDoc();
    PrintBitmap(printer, grayPage(100, 100, 0));
    EXPECT_EQ(failure([&] { printer.EndDoc(); }), "The printer or class does not exist.");
    EXPECT_EQ(PrintSystem::PrintingJobCount(), before);
    EXPECT_EQ(System.WaitForOutput(System.DefaultPrinter(), 2), QString());
}

// When the print system refuses the document, beginning it says nothing; the next page and the end say the
// print system's reason, and nothing is printed.
struct Refusal {
    const char* Name;
    std::function<bool(const QString& queue)> Refuse; // done after the printer was chosen
    QString Message;                                  // %1: the queue
};

void PrintTo(const Refusal& c, std::ostream* os) {
    *os << c.Name;
}

class PrintingRefusalTest : public PrintingTest, public testing::WithParamInterface<Refusal> {};

TEST_P(PrintingRefusalTest, IsReportedByTheNextPageAndTheEnd) {
    const QString queue = QStringLiteral("Kestrova_Refusing_") + GetParam().Name;
    ASSERT_TRUE(System.AddPrinter(queue));
    TPrinter printer;
    printer.SetPrinterIndex(FindPrinter(printer.Printers(), queue));
    const int width = printer.PageWidth();
    ASSERT_TRUE(GetParam().Refuse(queue));

    printer.BeginDoc();
    EXPECT_FALSE(printer.Printing());
    QImage black = grayPage(width, 100, 0);
    PrintBitmap(printer, black);
    const QString message = GetParam().Message.arg(queue);
    EXPECT_EQ(failure([&] { printer.NewPage(); }), message);
    EXPECT_EQ(failure([&] { printer.EndDoc(); }), message);
    EXPECT_EQ(System.WaitForOutput(queue, 2), QString());
    System.RemovePrinter(queue);
}

INSTANTIATE_TEST_SUITE_P(
    PrintSystem, PrintingRefusalTest,
    testing::Values(
        Refusal{"Gone", [](const QString& queue) { return PrintSystem::Shared().RemovePrinter(queue); },
                "The printer or class does not exist."},
        Refusal{"Rejecting",
                [](const QString& queue) { return PrintSystem::Administer("cupsreject", {queue}); },
                "Destination \"%1\" is not accepting jobs."},
        Refusal{"Stopped",
                [](const QString& queue) {
                    return PrintSystem::Administer("cupsdisable", {"-r", "Out of toner", queue});
                },
                "Printer \"%1\" is stopped: Out of toner"}),
    [](const auto& info) { return std::string(info.param.Name); });

// What ending a one-page job on Queue raises, once its document began.
std::optional<QString> failureOfAOnePageJob(const QString& queue) {
    TPrinter printer;
    printer.SetPrinterIndex(FindPrinter(printer.Printers(), queue));
    printer.BeginDoc();
    if (!printer.Printing())
        return QStringLiteral("the document did not begin");
    PrintBitmap(printer, grayPage(printer.PageWidth(), 100, 0));
    return failure([&] { printer.EndDoc(); });
}

// A printer that cannot be reached holds the job up: once it stands still, the job says so in the print
// system's words, and leaves the job in the queue.
TEST_F(PrintingTest, ReportsAJobThatStandsStillBehindAnUnreachablePrinter) {
    const QString queue = "Kestrova_Unreachable";
    ASSERT_TRUE(System.AddPrinter(queue));
    QTcpServer probe; // a port where no printer listens
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    ASSERT_TRUE(PrintSystem::Administer(
        "lpadmin", {"-p", queue, "-v", QStringLiteral("ipp://127.0.0.1:%1/ipp/print").arg(port)}));
    const std::optional<QString> error = failureOfAOnePageJob(queue);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->startsWith("The print job is still in the print queue")) << error->toStdString();
    System.RemovePrinter(queue);
}

// A printer that holds the whole job and takes longer than the stall limit to print it reports no progress
// meanwhile; the job is waited for until it is done, and nothing is reported.
TEST_F(PrintingTest, WaitsForAPrinterThatTakesLongToPrint) {
    const QString queue = System.DriverlessPrinter();
    if (queue.isEmpty())
        GTEST_SKIP() << "no driverless printer: " << System.DriverlessError().toStdString();
    ASSERT_TRUE(System.SetDriverlessDelay(TCupsJob::StallSeconds + 5));
    const std::optional<QString> error = failureOfAOnePageJob(queue);
    System.SetDriverlessDelay(0);
    EXPECT_FALSE(error.has_value()) << error.value_or(QString()).toStdString();
    EXPECT_FALSE(System.WaitForOutput(queue, 0).isEmpty());
}

// A driver whose filter takes longer than the stall limit without a word, as a PostScript driver on a busy
// machine does: the job is processing at a printer with nothing wrong, and it is waited for until it is done.
TEST_F(PrintingTest, WaitsForAFilterThatTakesLongToConvert) {
    const QString queue = "Kestrova_Slow_Filter";
    const QString filter = QDir::cleanPath(System.OutputFolder() + "/../slow-filter");
    QFile script(filter);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nsleep %1\nexec cat \"${6:--}\"\n")
                     .arg(TCupsJob::StallSeconds + 5)
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                          QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    ASSERT_TRUE(
        System.AddPrinter(queue, 300, "application/vnd.cups-pdf application/pdf 0 " + filter.toUtf8()));
    const std::optional<QString> error = failureOfAOnePageJob(queue);
    EXPECT_FALSE(error.has_value()) << error.value_or(QString()).toStdString();
    EXPECT_FALSE(System.WaitForOutput(queue, 0).isEmpty());
    System.RemovePrinter(queue);
}

// A printer that holds the whole job but stops on an error, such as a paper jam, is reported once the job
// stands still, in the printer's words, and the job stays in the queue.
TEST_F(PrintingTest, ReportsAJobThatStandsStillAtAJammedPrinter) {
    const QString queue = "Kestrova_Jammed";
    ASSERT_TRUE(System.AddPrinter(queue));
    ASSERT_TRUE(System.HoldJobs(
        queue, {"STATE: +cups-waiting-for-job-completed", "STATE: +media-jam-error", "INFO: Paper jam"}));
    const std::optional<QString> error = failureOfAOnePageJob(queue);
    System.HoldJobs(queue, {});
    EXPECT_EQ(error.value_or(QString()), "The print job is still in the print queue: Paper jam");
    EXPECT_FALSE(System.WaitForOutput(queue).isEmpty()) << "the job left in the queue is printed";
    System.RemovePrinter(queue);
}

// A print system that takes no more of a document, as with a full spool, refuses it in its own words, as lp
// reports it, and keeps no job of it.
TEST_F(PrintingTest, ADocumentThePrintSystemTakesNoMoreOfIsRefusedInItsWords) {
    const QString queue = "Kestrova_Small_Spool";
    ASSERT_TRUE(System.AddPrinter(queue));
    // The print system starts again with its new limit.
    ASSERT_TRUE(PrintSystem::Administer("cupsctl", {"MaxRequestSize=2k"}));
    for (int tries = 0; tries < 100 && !PrintSystem::Administer("lpstat", {"-p", queue}); ++tries)
        QThread::msleep(100);
    const int before = PrintSystem::PrintingJobCount();
    TPrinter printer;
    printer.SetPrinterIndex(FindPrinter(printer.Printers(), queue));
    printer.BeginDoc();
    PrintBitmap(printer, grayPage(printer.PageWidth(), printer.PageHeight(), 0));
    const QString error = failure([&] { printer.EndDoc(); }).value_or(QString());
    PrintSystem::Administer("cupsctl", {"MaxRequestSize=0"});
    for (int tries = 0; tries < 100 && !PrintSystem::Administer("lpstat", {"-p", queue}); ++tries)
        QThread::msleep(100);
    EXPECT_EQ(error.toStdString(), "Request Entity Too Large");
    EXPECT_EQ(PrintSystem::PrintingJobCount(), before);
    System.RemovePrinter(queue);
}

// A printer paused while it holds the job stops the job, which would print in full once the printer goes on:
// a failure means that nothing more prints, so the job is cancelled, and the message says so.
TEST_F(PrintingTest, CancelsTheJobOfAPrinterPausedUnderIt) {
    const QString queue = "Kestrova_Paused";
    ASSERT_TRUE(System.AddPrinter(queue));
    ASSERT_TRUE(System.HoldJobs(queue, {"INFO: Warming up"}));
    QTimer::singleShot(2000, [queue] { PrintSystem::Administer("cupsdisable", {"-r", "Paused", queue}); });
    const std::optional<QString> error = failureOfAOnePageJob(queue);
    System.HoldJobs(queue, {});
    PrintSystem::Administer("cupsenable", {queue});
    // The printer's reason comes with it where the print system still tells it.
    const std::string message = error.value_or(QString()).toStdString();
    EXPECT_TRUE(message.starts_with("Printer \"Kestrova_Paused\" is stopped")) << message;
    EXPECT_TRUE(message.ends_with("; the print job was cancelled")) << message;
    EXPECT_EQ(System.WaitForOutput(queue, 5), QString()) << "the cancelled job printed";
    System.RemovePrinter(queue);
}

// A run ended by a signal while its job's document is on its way cancels the job, which would otherwise wait
// in the queue for the rest of a document that never comes; once the document is whole, the job is the
// print system's and stays.
TEST_F(PrintingTest, AnEndedRunCancelsTheJobOnItsWayAndOnlyThat) {
    const int before = PrintSystem::PrintingJobCount();
    {
        TCupsDestination destination(System.DefaultPrinter());
        TCupsJob job(destination);
        ASSERT_TRUE(job.Start("on its way", {}, "application/pdf"));
        job.Write("%PDF-1.4\n");
        EXPECT_EQ(PrintSystem::PrintingJobCount(), before + 1);
        RunTerminationCleanups();
        EXPECT_EQ(PrintSystem::PrintingJobCount(), before);
        job.Cancel();
    }
    TCupsDestination destination(System.DefaultPrinter());
    TCupsJob whole(destination);
    ASSERT_TRUE(whole.Start("whole", {}, "application/pdf"));
    whole.Write(MakePdf({{{{612, 792}, "whole"}}}));
    whole.Finish(1);
    RunTerminationCleanups();
    EXPECT_FALSE(System.WaitForOutput(System.DefaultPrinter()).isEmpty());
}

// A job canceled in the print system while the printer holds it is reported so, and nothing is printed.
TEST_F(PrintingTest, ReportsAJobCanceledInThePrintSystem) {
    const QString queue = "Kestrova_Canceling";
    ASSERT_TRUE(System.AddPrinter(queue));
    ASSERT_TRUE(System.HoldJobs(queue, {"INFO: Warming up"}));
    // Someone cancels every job on the queue while this one is waited for.
    QTimer::singleShot(2000, [queue] { PrintSystem::Administer("cancel", {"-a", queue}); });
    const std::optional<QString> error = failureOfAOnePageJob(queue);
    System.HoldJobs(queue, {});
    EXPECT_TRUE(error.value_or(QString()).startsWith("The print job was canceled"))
        << error.value_or(QString()).toStdString();
    EXPECT_EQ(System.WaitForOutput(queue, 2), QString());
    System.RemovePrinter(queue);
}

// A print system that goes away while a job is sent is named as what failed, not the printer.
TEST_F(PrintingTest, SaysWhenThePrintSystemGoesAwayMidJob) {
    TPrinter printer;
    printer.SetPrinterIndex(FindPrinter(printer.Printers(), System.DefaultPrinter()));
    printer.BeginDoc();
    ASSERT_TRUE(printer.Printing());
    PrintBitmap(printer, grayPage(printer.PageWidth(), 100, 0));
    ASSERT_TRUE(System.KillServer());
    std::optional<QString> error = failure([&] {
        printer.NewPage();
        PrintBitmap(printer, grayPage(printer.PageWidth(), 100, 0));
        printer.EndDoc();
    });
    EXPECT_EQ(error, QStringLiteral("The print system cannot be reached at \"%1\"")
                         .arg(qEnvironmentVariable("CUPS_SERVER")));
}

// A job that the print system ends without printing it is reported in its words.
TEST_F(PrintingTest, ReportsAJobThatThePrintSystemAborted) {
    const QString queue = "Kestrova_Broken";
    // The backend cannot write to the device, and the queue aborts such jobs.
    ASSERT_TRUE(PrintSystem::Administer("lpadmin", {"-p", queue, "-E", "-v", "kestrova-file:/nonexistent",
                                                    "-P", System.OutputFolder() + "/../a4.ppd", "-o",
                                                    "printer-error-policy=abort-job"}));
    const std::optional<QString> error = failureOfAOnePageJob(queue);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->startsWith("The print job was aborted")) << error->toStdString();
    System.RemovePrinter(queue);
}

} // namespace
