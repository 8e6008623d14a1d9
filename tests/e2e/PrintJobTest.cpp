// The print job inside the real main form on the offscreen platform, against a scripted web server on
// 127.0.0.1 and the private print system: which printer prints, what the web's answers lead to, and what the
// engine makes of what was downloaded. Every message box is recorded as a person would see it.
#include "JobHarness.h"

#include "app/log/DataFolder.h"
#include "app/uKestrova.h"
#include "app/ui/MessageBoxes.h"
#include "support/HttpServer.h"
#include "support/PdfFixtures.h"
#include "support/PrintSystem.h"
#include "support/TestData.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QByteArray TwoPages = MakePdf({{{{612, 792}, "first"}, {{612, 792}, "second"}}, "Two pages"});

class PrintJob : public FormJob {
protected:
    void SetUp() override {
        FormJob::SetUp();
        Server.On("GET", "/doc.pdf", HttpResponse{200, {}, TwoPages});
    }
};

const QString Letter = QStringLiteral("Kestrova_Letter"); // the default queue
const QString A4 = QStringLiteral("Kestrova_A4");

// Which printer serves a module.
struct RoutingCase {
    const char* Name;
    QList<TableRow> Table;
    QString ModuleAddress;
    QString Queue; // the queue that prints
};

void PrintTo(const RoutingCase& c, std::ostream* os) {
    *os << c.Name;
}

class PrintJobRouting : public PrintJob, public testing::WithParamInterface<RoutingCase> {};

TEST_P(PrintJobRouting, PrintsOnTheAssignedPrinter) {
    const RoutingCase& routing = GetParam();
    WriteTable(Folder.path(), routing.Table);
    ASSERT_TRUE(RunJob(JobLink(routing.ModuleAddress, Server.Url("/doc.pdf"))));
    EXPECT_EQ(Boxes, QStringList());
    const QString printed = Printed(routing.Queue);
    ASSERT_FALSE(printed.isEmpty()) << "nothing printed on " << routing.Queue.toStdString();
    EXPECT_EQ(PdfInfoField(printed, "Pages"), "2");
    EXPECT_EQ(PrintSystem::LastJobTitle(routing.Queue), "Two pages");
    EXPECT_EQ(Downloads(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintJobRouting,
    testing::Values(
        RoutingCase{"Prefix", {{"Store-1/Till-2", "Till", A4}, {"Store-2", "Other", Letter}}, "store-1", A4},
        RoutingCase{"DecodedAddress", {{"Desk 01/a&b", "Desk", A4}}, "Desk 01/a&b", A4},
        RoutingCase{"PrinterNameInOtherCase", {{"Desk", "Desk", "kestrova_a4"}}, "Desk", A4},
        RoutingCase{"PrinterNoLongerThere", {{"Desk", "Desk", "Gone"}}, "Desk", Letter},
        RoutingCase{"NoRow", {{"Other", "Other", A4}}, "Desk", Letter},
        RoutingCase{"EmptyAddressFindsOnlyTheStar", {{"*", "All", A4}, {"Desk", "Desk", Letter}}, "", A4}),
    [](const testing::TestParamInfo<RoutingCase>& info) { return std::string(info.param.Name); });

TEST_F(PrintJob, WithoutRowAndDefaultPrinterSaysSoAndDeletesTheFile) {
    NoDefaultPrinter noDefault;
    ASSERT_TRUE(RunJob(JobLink("Desk", Server.Url("/doc.pdf"))));
    EXPECT_EQ(Boxes, QStringList{"There is no default printer currently selected."});
    EXPECT_TRUE(NothingPrinted());
    EXPECT_EQ(Downloads(), QStringList());
}

// What the web's answers and the downloaded bytes lead to.
struct WebCase {
    const char* Name;
    std::function<QString(HttpServer&)> Serve; // sets the server up, returns the document's address
    int PrintedPages;                          // 0: nothing printed
    QString Box;                               // the message shown, or a prefix ending in "*"; empty: none
};

void PrintTo(const WebCase& c, std::ostream* os) {
    *os << c.Name;
}

class PrintJobWeb : public PrintJob, public testing::WithParamInterface<WebCase> {};

TEST_P(PrintJobWeb, PrintsOrSaysWhy) {
    const WebCase& web = GetParam();
    ASSERT_TRUE(RunJob(JobLink("Desk", web.Serve(Server))));
    if (web.Box.isEmpty()) {
        EXPECT_EQ(Boxes, QStringList());
    } else if (web.Box.endsWith('*')) {
        ASSERT_EQ(Boxes.size(), 1);
        EXPECT_TRUE(Boxes.first().startsWith(web.Box.chopped(1))) << Boxes.first().toStdString();
    } else {
        EXPECT_EQ(Boxes, QStringList{web.Box});
    }
    if (web.PrintedPages > 0) {
        const QString printed = Printed(Letter);
        ASSERT_FALSE(printed.isEmpty());
        EXPECT_EQ(PdfInfoField(printed, "Pages"), QString::number(web.PrintedPages));
    } else {
        EXPECT_TRUE(NothingPrinted());
    }
    EXPECT_EQ(Downloads(), QStringList());
}

HttpResponse Pdf(const QByteArray& body) {
    return HttpResponse{200, {}, body};
}

QString Redirections(HttpServer& server, int count) {
    for (int i = 0; i < count; ++i)
        server.On("GET", "/hop" + QByteArray::number(i),
                  HttpServer::Redirect(i + 1 < count ? server.Url("/hop" + QString::number(i + 1))
                                                     : server.Url("/doc.pdf")));
    return server.Url("/hop0");
}

// A document of Count pages whose page tree lacks the pages from Missing on: it opens, but those pages
// cannot be loaded.
QByteArray PageTreeWithMissingPages(int Count, int Missing) {
    QByteArray kids;
    for (int page = 1; page <= Count; ++page)
        kids += QByteArray::number(2 + page) + " 0 R ";
    QByteArray pdf = "%PDF-1.7\n1 0 obj <</Type/Catalog/Pages 2 0 R>> endobj\n2 0 obj <</Type/Pages/Count " +
                     QByteArray::number(Count) + "/Kids[" + kids + "]>> endobj\n";
    for (int page = 1; page < Missing; ++page)
        pdf += QByteArray::number(2 + page) +
               " 0 obj <</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]>> endobj\n";
    return pdf + "trailer <</Root 1 0 R>>\n%%EOF\n";
}

QByteArray SharedFile(const char* relative) {
    QFile file(testDataPath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing shared test data");
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintJobWeb,
    testing::Values(WebCase{"HeadRefusedGetAnswers",
                            [](HttpServer& s) {
                                s.On("HEAD", "/doc.pdf", HttpServer::Status(405));
                                return s.Url("/doc.pdf");
                            },
                            2, ""},
                    WebCase{"CookieFromHeadGoesWithGet",
                            [](HttpServer& s) {
                                s.On("HEAD", "/c.pdf",
                                     HttpServer::Status(200).With("Set-Cookie", "session=42; Path=/"));
                                s.On("GET", "/c.pdf", [](const HttpRequest& request) {
                                    return request.Header("Cookie").contains("session=42")
                                               ? Pdf(TwoPages)
                                               : HttpServer::Status(403);
                                });
                                return s.Url("/c.pdf");
                            },
                            2, ""},
                    WebCase{"ThreeRedirections", [](HttpServer& s) { return Redirections(s, 3); }, 2, ""},
                    WebCase{"SixRedirections", [](HttpServer& s) { return Redirections(s, 6); }, 0,
                            "Maximum number of redirections (5) exceeded."},
                    WebCase{"DeflateCompressedBody",
                            [](HttpServer& s) {
                                // qCompress puts the length before the zlib stream that HTTP calls deflate.
                                s.On("GET", "/deflated.pdf",
                                     Pdf(qCompress(TwoPages, 9).mid(4)).With("Content-Encoding", "deflate"));
                                return s.Url("/deflated.pdf");
                            },
                            2, ""},
                    WebCase{"ChunkedBody",
                            [](HttpServer& s) {
                                HttpResponse chunked = Pdf(TwoPages);
                                chunked.Frame = HttpResponse::Framing::Chunked;
                                s.On("GET", "/chunked.pdf", chunked);
                                return s.Url("/chunked.pdf");
                            },
                            2, ""},
                    WebCase{"NotFoundIsSilent", [](HttpServer& s) { return s.Url("/missing.pdf"); }, 0, ""},
                    WebCase{"NoContentIsSilent",
                            [](HttpServer& s) {
                                s.On("GET", "/n.pdf", HttpServer::Status(204));
                                return s.Url("/n.pdf");
                            },
                            0, ""},
                    WebCase{"PartialContentIsSilent",
                            [](HttpServer& s) {
                                s.On("GET", "/p.pdf", HttpResponse{206, {}, TwoPages.left(100)});
                                return s.Url("/p.pdf");
                            },
                            0, ""},
                    WebCase{"HtmlPageCannotBeOpened",
                            [](HttpServer& s) {
                                s.On("GET", "/page.pdf",
                                     HttpResponse{200, {{"Content-Type", "text/html"}}, "<html>Hi</html>"});
                                return s.Url("/page.pdf");
                            },
                            0, "File not in PDF format or corrupted."},
                    WebCase{"ServerStopsMidBody",
                            [](HttpServer& s) {
                                HttpResponse cut = Pdf(TwoPages);
                                cut.CloseAfter = 200;
                                s.On("GET", "/cut.pdf", cut);
                                return s.Url("/cut.pdf");
                            },
                            0, "The download was cut short: 200 of *"},
                    WebCase{"UnreachablePort",
                            [](HttpServer&) {
                                QTcpServer probe;
                                probe.listen(QHostAddress::LocalHost);
                                const quint16 port = probe.serverPort();
                                probe.close();
                                return QStringLiteral("http://127.0.0.1:%1/doc.pdf").arg(port);
                            },
                            0, "Error sending data: (111) Connection refused."},
                    WebCase{"SignedAddress",
                            [](HttpServer& s) {
                                const QByteArray path =
                                    "/receipt.pdf?X-Amz-Signature=" + QByteArray(300, 'f');
                                s.On("GET", path, Pdf(TwoPages));
                                return s.Url(QString::fromLatin1(path));
                            },
                            2, ""},
                    WebCase{"NoPageCanBeDrawnSoNothingIsPrinted",
                            [](HttpServer& s) {
                                s.On("GET", "/nopage.pdf", Pdf(PageTreeWithMissingPages(1, 1)));
                                return s.Url("/nopage.pdf");
                            },
                            0, "Cannot open page 1."},
                    WebCase{"DamagedDocument",
                            [](HttpServer& s) {
                                s.On("GET", "/damaged.pdf", Pdf(TwoPages.left(TwoPages.size() / 3)));
                                return s.Url("/damaged.pdf");
                            },
                            0, "File not in PDF format or corrupted."},
                    WebCase{"PasswordProtectedDocument",
                            [](HttpServer& s) {
                                s.On("GET", "/encrypted.pdf", Pdf(SharedFile("pdf/encrypted.pdf")));
                                return s.Url("/encrypted.pdf");
                            },
                            0, "Password required or incorrect password."},
                    WebCase{"DocumentWithoutPagesPrintsOneEmptyPage",
                            [](HttpServer& s) {
                                s.On("GET", "/empty.pdf", Pdf(MakePdf({{}, "Empty"})));
                                return s.Url("/empty.pdf");
                            },
                            1, ""}),
    [](const testing::TestParamInfo<WebCase>& info) { return std::string(info.param.Name); });

TEST_F(PrintJob, SelfSignedHttpsServerIsATransportError) {
    QTemporaryDir keys;
    const QString key = keys.filePath("key.pem"), certificate = keys.filePath("cert.pem");
    RunProgram("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1", "-days",
                           "1", "-keyout", key, "-out", certificate});
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    QProcess tls;
    tls.start("openssl", {"s_server", "-quiet", "-accept", QStringLiteral("127.0.0.1:%1").arg(port), "-cert",
                          certificate, "-key", key, "-www"});
    ASSERT_TRUE(tls.waitForStarted());
    QThread::msleep(500);
    ASSERT_TRUE(RunJob(JobLink("Desk", QStringLiteral("https://127.0.0.1:%1/doc.pdf").arg(port))));
    tls.kill();
    tls.waitForFinished();
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes.first().startsWith("Error sending data: (")) << Boxes.first().toStdString();
    EXPECT_TRUE(NothingPrinted());
}

TEST_F(PrintJob, FolderWhereNothingCanBeWrittenStillTriesAndSaysWhy) {
    // Tests run as root, whom permissions do not stop: files where the folders should be do.
    for (const char* blocked : {"log", "DownFile"}) {
        QFile file(Folder.filePath(blocked));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(RunJob(JobLink("Desk", Server.Url("/doc.pdf"))));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes.first().startsWith("Cannot create file")) << Boxes.first().toStdString();
    EXPECT_EQ(Server.Requests().size(), 2); // the job still asked for the document
    EXPECT_TRUE(NothingPrinted());
}

// Closing the window (Alt+F4) while the body arrives ends the program's loops: the transfer is aborted, the
// job says so, and nothing of the cut body is printed or left behind.
TEST_F(PrintJob, ClosingTheWindowMidDownloadPrintsNothing) {
    JobsBefore = PrintedJobCount();
    TPrint form(JobLink("Desk", Server.Url("/stalled.pdf")));
    HttpResponse stalled = Pdf(TwoPages);
    stalled.StallAfter = TwoPages.size() / 2;
    Server.On("GET", "/stalled.pdf", [&form, stalled](const HttpRequest&) {
        QTimer::singleShot(200, &form, &QWidget::close); // while the body never completes
        return stalled;
    });
    form.show();
    QTimer deadline; // a job that never ends fails the test
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, qApp, &QCoreApplication::quit);
    deadline.start(120000);
    QApplication::exec();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Boxes, QStringList{"The download was cancelled: the program is closing."});
    EXPECT_TRUE(NothingPrinted());
    EXPECT_EQ(Downloads(), QStringList());
}

// What the print system refuses: each gives its message, the file is deleted and the window closes.
struct RefusalCase {
    const char* Name;
    // Sets the queue up to refuse; Server may hold a hook that refuses while the job runs.
    std::function<void(const QString& queue, HttpServer& server)> Refuse;
    QString Box; // a prefix when it ends in "*"; %1: the queue
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.Name;
}

class PrintJobRefusal : public PrintJob, public testing::WithParamInterface<RefusalCase> {};

TEST_P(PrintJobRefusal, SaysWhyDeletesTheFileAndCloses) {
    const RefusalCase& refusal = GetParam();
    const QString queue = QStringLiteral("Kestrova_Job_") + refusal.Name;
    ASSERT_TRUE(PrintSystem::Shared().AddPrinter(queue));
    WriteTable(Folder.path(), {{"Desk", "Desk", queue}});
    refusal.Refuse(queue, Server);

    ASSERT_TRUE(RunJob(JobLink("Desk", Server.Url("/doc.pdf"))));
    ASSERT_EQ(Boxes.size(), 1);
    const QString box = refusal.Box.contains("%1") ? refusal.Box.arg(queue) : refusal.Box;
    if (box.endsWith('*'))
        EXPECT_TRUE(Boxes.first().startsWith(box.chopped(1))) << Boxes.first().toStdString();
    else
        EXPECT_EQ(Boxes.first(), box);
    EXPECT_EQ(PrintSystem::Shared().WaitForOutput(queue, 2), QString());
    EXPECT_EQ(Downloads(), QStringList());
    PrintSystem::Shared().RemovePrinter(queue);
}

// The queue goes away once the job has begun on it: while the pages are sent. The watch ends with Owner.
void RemoveWhenTheJobBegins(const QString& queue, QObject& owner) {
    auto* watch = new QTimer(&owner);
    QObject::connect(watch, &QTimer::timeout, watch, [watch, queue] {
        if (PrintedJobCount() == 0 || PrintSystem::LastJobTitle(queue).isEmpty())
            return;
        PrintSystem::Shared().RemovePrinter(queue);
        watch->deleteLater();
    });
    watch->start(5);
}

INSTANTIATE_TEST_SUITE_P(
    PrintSystem, PrintJobRefusal,
    testing::Values(RefusalCase{"Rejecting",
                                [](const QString& queue, HttpServer&) {
                                    PrintSystem::Administer("cupsreject", {queue});
                                },
                                "Destination \"%1\" is not accepting jobs."},
                    RefusalCase{"Stopped",
                                [](const QString& queue, HttpServer&) {
                                    PrintSystem::Administer("cupsdisable", {"-r", "Paper jam", queue});
                                },
                                "Printer \"%1\" is stopped: Paper jam."},
                    RefusalCase{"GoneWhilePrinting",
                                [](const QString& queue, HttpServer& server) {
                                    FixtureDocument many;
                                    many.Pages = QList<FixturePage>(40, FixturePage{{612, 792}, "a page"});
                                    server.On("GET", "/doc.pdf",
                                              [queue, &server, document = MakePdf(many)](const HttpRequest&) {
                                                  RemoveWhenTheJobBegins(queue, server);
                                                  return Pdf(document);
                                              });
                                },
                                "The printer or class does not exist."},
                    RefusalCase{"AbortedJob",
                                [](const QString& queue, HttpServer&) {
                                    // The device cannot be written, and the queue aborts such jobs.
                                    PrintSystem::Administer("lpadmin",
                                                            {"-p", queue, "-v", "kestrova-file:/nonexistent",
                                                             "-o", "printer-error-policy=abort-job"});
                                },
                                "The print job was aborted*"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.Name); });

} // namespace
