// Who may print: the real program with a trust file beside its table, started with links signed by the real
// kestrova-link and by the openssl command line, against a web server on 127.0.0.1. A refused link says why
// and no request for its PDF reaches the server; nothing is printed, and the log keeps its one line.
#include "InstalledProgram.h"
#include "JobHarness.h"

#include "support/OpenSslKey.h"
#include "support/PdfFixtures.h"
#include "support/PrintSystem.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr qint64 MaxAge = 300;

class Trust : public Program {
public:
    // What the rows of the tables make their links with.
    using Program::Server;
    QTemporaryDir Keys;
    OpenSslKey Key{Keys.path()};

protected:
    void SetUp() override {
        Program::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Server.On("GET", "/doc.pdf", HttpResponse{200, {}, MakePdf({{{{612, 792}, "trusted"}}, "Trusted"})});
        Server.On("GET", "/hop", HttpServer::Redirect(Elsewhere("/doc.pdf")));
        ASSERT_FALSE(Key.PublicKeyBase64().isEmpty()) << "openssl made no key";
    }

public:
    // The server's origin, and the same server under a name that is not on the list.
    QString Origin() const { return Server.Url(QString()); }
    QString Elsewhere(const QString& path) const {
        return QString(Server.Url(path)).replace("127.0.0.1", "localhost");
    }

    void WriteTrust(const QByteArray& text) {
        QFile file(Install.filePath("trust.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void WriteTrust(const QString& allow) {
        WriteTrust("[sources]\nallow=" + allow.toUtf8() + "\n[signing]\npublic-key=" + Key.PublicKeyBase64() +
                   "\nmax-age=" + QByteArray::number(MaxAge) + "\n");
    }

    // The link kestrova-link signs with the key.
    QString ToolLink(const QString& url, const QStringList& more = {}) const {
        QProcess tool;
        tool.start(QStringLiteral(KESTROVA_BIN_DIR "/kestrova-link"),
                   QStringList{"sign", Key.PrivateKeyPath(), "--module", "Desk", "--url", url} + more);
        tool.waitForFinished(60000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }
    // The link with Expires, signed by the openssl command line.
    QString OpenSslLink(const QString& url, qint64 expires) const {
        return Key.SignedLink(JobLink("Desk", url) + "&expires=" + QString::number(expires));
    }

protected:
    // Runs the program with Link: it refuses it with Message, asks nothing for the PDF and prints nothing.
    void ExpectRefused(const QString& link, const QString& message) {
        const int jobsBefore = PrintedJobCount();
        const int requestsBefore = PdfRequests();
        QProcess program;
        Start(program, link);
        EXPECT_EQ(WaitFor(program), 1);
        ExpectSaid(program, message);
        EXPECT_EQ(PdfRequests(), requestsBefore);
        EXPECT_EQ(PrintedJobCount(), jobsBefore);
    }
    // Program's standard error holds Message as the error box's line, among what Qt says there.
    static void ExpectSaid(QProcess& program, const QString& message) {
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        EXPECT_TRUE(errors.split('\n').contains("Kestrova: " + message)) << errors.toStdString();
    }

    // Runs the program with Link: it prints and leaves no download behind.
    void ExpectPrinted(const QString& link) {
        QProcess program;
        Start(program, link);
        EXPECT_EQ(WaitFor(program), 0) << program.readAllStandardError().toStdString();
        EXPECT_FALSE(
            PrintSystem::Shared().WaitForOutput(PrintSystem::Shared().DefaultPrinter(), 90).isEmpty());
        EXPECT_EQ(FilesIn(Install.filePath("DownFile")), QStringList());
    }

    // The requests for the PDF that reached the server, of any method or of Method only.
    int PdfRequests(const QByteArray& method = {}) const {
        int count = 0;
        for (const HttpRequest& request : Server.Requests())
            count += request.Path == "/doc.pdf" && (method.isEmpty() || request.Method == method);
        return count;
    }

public:
    static qint64 Now() { return QDateTime::currentSecsSinceEpoch(); }
};

// A signed link changed after signing: the parameter's first occurrence gets another value.
QString Altered(const QString& link, const QString& parameter, const QString& value) {
    const qsizetype at = link.indexOf(parameter + '=') + parameter.size() + 1;
    const qsizetype end = link.indexOf('&', at);
    return link.left(at) + value + link.mid(end);
}

struct RefusalCase {
    const char* Name;
    std::function<QString(Trust&)> Link;
    QString Message;        // "<here>" stands for the PDF's address, "<elsewhere>" for it under another name
    bool HttpsOnly = false; // the list names the server's host and port with https
};

class TrustRefuses : public Trust, public testing::WithParamInterface<RefusalCase> {};

TEST_P(TrustRefuses, WithItsMessageAndWithoutFetching) {
    const RefusalCase& refusal = GetParam();
    WriteTrust(refusal.HttpsOnly ? "https" + Origin().mid(4) : Origin());
    const QString link = refusal.Link(*this);
    ExpectRefused(link, QString(refusal.Message)
                            .replace("<here>", Server.Url("/doc.pdf"))
                            .replace("<elsewhere>", Elsewhere("/doc.pdf")));
    ExpectLoggedOnce(link);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrustRefuses,
    testing::Values(
        RefusalCase{"Unsigned", [](Trust& t) { return JobLink("Desk", t.Server.Url("/doc.pdf")); },
                    "The link is not signed."},
        RefusalCase{"EmptySignature",
                    [](Trust& t) {
                        return t.ToolLink(t.Server.Url("/doc.pdf")).section("&signature=", 0, 0) +
                               "&signature=";
                    },
                    "The link is not signed."},
        RefusalCase{"WrongKey",
                    [](Trust& t) {
                        const OpenSslKey other(t.Keys.path(), "other");
                        return other.SignedLink(JobLink("Desk", t.Server.Url("/doc.pdf")) +
                                                "&expires=" + QString::number(Trust::Now() + 60));
                    },
                    "The link's signature does not match."},
        RefusalCase{
            "ModuleAltered",
            [](Trust& t) { return Altered(t.ToolLink(t.Server.Url("/doc.pdf")), "moduleaddress", "Till"); },
            "The link's signature does not match."},
        RefusalCase{"PdfUrlAltered",
                    [](Trust& t) {
                        return Altered(t.ToolLink(t.Server.Url("/other.pdf")), "pdfurl",
                                       QUrl::toPercentEncoding(t.Server.Url("/doc.pdf")));
                    },
                    "The link's signature does not match."},
        RefusalCase{"ExpiresAltered",
                    [](Trust& t) {
                        return Altered(t.ToolLink(t.Server.Url("/doc.pdf")), "expires",
                                       QString::number(Trust::Now() + 200));
                    },
                    "The link's signature does not match."},
        RefusalCase{
            "OptionAltered",
            [](Trust& t) {
                return Altered(t.ToolLink(t.Server.Url("/doc.pdf"), {"--option", "copies=1"}), "copies", "2");
            },
            "The link's signature does not match."},
        RefusalCase{"ParameterAppended",
                    [](Trust& t) { return t.ToolLink(t.Server.Url("/doc.pdf")) + "&copies=2"; },
                    "The link's signature does not match."},
        RefusalCase{"Expired",
                    [](Trust& t) { return t.OpenSslLink(t.Server.Url("/doc.pdf"), Trust::Now() - 1); },
                    "The link has expired."},
        RefusalCase{"TooFarAhead",
                    [](Trust& t) {
                        return t.ToolLink(t.Server.Url("/doc.pdf"), {"--ttl", "3600"});
                    },
                    "The link expires more than 300 seconds ahead."},
        RefusalCase{"SourceNotAllowed", [](Trust& t) { return t.ToolLink(t.Elsewhere("/doc.pdf")); },
                    "The PDF's address is not among the allowed sources: <elsewhere>."},
        RefusalCase{"RedirectOffTheList", [](Trust& t) { return t.ToolLink(t.Server.Url("/hop")); },
                    "The download was redirected outside the allowed sources: <elsewhere>."},
        RefusalCase{"HttpWhereOnlyHttpsIsListed",
                    [](Trust& t) { return t.ToolLink(t.Server.Url("/doc.pdf")); },
                    "The PDF's address is not among the allowed sources: <here>.", true}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.Name); });

struct GoodCase {
    const char* Name;
    std::function<QString(Trust&)> Link;
};

class TrustTakes : public Trust, public testing::WithParamInterface<GoodCase> {};

TEST_P(TrustTakes, AndPrints) {
    WriteTrust(Origin());
    const QString link = GetParam().Link(*this);
    ExpectPrinted(link);
    ExpectLoggedOnce(link);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrustTakes,
    testing::Values(GoodCase{"SignedByTheTool",
                             [](Trust& t) {
                                 return t.ToolLink(t.Server.Url("/doc.pdf"));
                             }},
                    GoodCase{"WithPrintOptions",
                             [](Trust& t) {
                                 return t.ToolLink(t.Server.Url("/doc.pdf"), {"--option", "copies=1"});
                             }},
                    GoodCase{"SignedByOpenSsl",
                             [](Trust& t) {
                                 return t.OpenSslLink(t.Server.Url("/doc.pdf"), Trust::Now() + 60);
                             }}),
    [](const testing::TestParamInfo<GoodCase>& info) { return std::string(info.param.Name); });

TEST_F(Trust, ALinkPrintsOnce) {
    WriteTrust(Origin());
    const QString link = ToolLink(Server.Url("/doc.pdf"));
    ExpectPrinted(link);
    ExpectRefused(link, "The link was used before.");
}

// Two processes started with one link at the same moment: exactly one prints, the other says why not.
TEST_F(Trust, ALinkOpenedTwiceAtOncePrintsOnce) {
    WriteTrust(Origin());
    const QString link = ToolLink(Server.Url("/doc.pdf"));
    const int jobsBefore = PrintedJobCount();
    QProcess first, second;
    Start(first, link);
    Start(second, link);
    const int firstCode = WaitFor(first);
    const int secondCode = WaitFor(second);
    EXPECT_EQ(QList<int>({firstCode, secondCode}).count(0), 1) << firstCode << " " << secondCode;
    QProcess& refused = firstCode == 0 ? second : first;
    ExpectSaid(refused, "The link was used before.");
    EXPECT_FALSE(PrintSystem::Shared().WaitForOutput(PrintSystem::Shared().DefaultPrinter(), 90).isEmpty());
    EXPECT_EQ(PrintedJobCount(), jobsBefore + 1);
    EXPECT_EQ(PdfRequests("GET"), 1);
}

// A trust file whose key does not parse refuses every link, signed or not.
TEST_F(Trust, ABrokenTrustFileRefusesEveryLink) {
    WriteTrust(QByteArray("[signing]\npublic-key=not a key\n"));
    const QString message =
        QStringLiteral("The trust file \"%1\" cannot be read: public-key is no Ed25519 public "
                       "key in base64.")
            .arg(QDir::toNativeSeparators(Install.filePath("trust.ini")));
    ExpectRefused(JobLink("Desk", Server.Url("/doc.pdf")), message);
    ExpectRefused(ToolLink(Server.Url("/doc.pdf")), message);
}

} // namespace
