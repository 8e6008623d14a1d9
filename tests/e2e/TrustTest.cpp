// Who may print: the real program with a trust file beside its table, or an administrator's in
// /etc/kestrova of a mount namespace of its own, started with links signed by the real kestrova-link and by
// the openssl command line, against a web server on 127.0.0.1. A refused link says why and no request for its
// PDF reaches the server; nothing is printed, and the log keeps its one line.
#include "InstalledProgram.h"
#include "JobHarness.h"

#include "support/OpenSslKey.h"
#include "support/PdfFixtures.h"
#include "support/PrintSystem.h"
#include "tests/tools/ToolRun.h"

#include "app/trust/AllowedSources.h"
#include "app/ui/MessageBoxes.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include <unistd.h>

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

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.Name;
}

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

void PrintTo(const GoodCase& c, std::ostream* os) {
    *os << c.Name;
}

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

// The sixteen spellings of one signature (its last base64url character carries four spare bits) opened at
// once: one prints, the others' signatures do not match.
TEST_F(Trust, TheSixteenSpellingsOfASignatureOpenedAtOncePrintOnce) {
    WriteTrust(Origin());
    const QString link = ToolLink(Server.Url("/doc.pdf"));
    const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_");
    const qsizetype last = alphabet.indexOf(link.back());
    const int jobsBefore = PrintedJobCount();
    std::vector<std::unique_ptr<QProcess>> opened;
    for (int spare = 0; spare < 16; ++spare) {
        opened.push_back(std::make_unique<QProcess>());
        Start(*opened.back(), link.chopped(1) + alphabet[(last & 0b110000) | spare]);
    }
    int printed = 0;
    for (const auto& program : opened) {
        const int code = WaitFor(*program);
        printed += code == 0;
        if (code != 0)
            ExpectSaid(*program, "The link's signature does not match.");
    }
    EXPECT_EQ(printed, 1);
    EXPECT_FALSE(PrintSystem::Shared().WaitForOutput(PrintSystem::Shared().DefaultPrinter(), 90).isEmpty());
    EXPECT_EQ(PrintedJobCount(), jobsBefore + 1);
    EXPECT_EQ(PdfRequests("GET"), 1);
}

// A trust file whose key does not parse refuses every link, signed or not.
TEST_F(Trust, ABrokenTrustFileRefusesEveryLink) {
    WriteTrust(QByteArray("[signing]\npublic-key=not a key\n"));
    const QString message =
        QStringLiteral("The trust file \"%1\" cannot be used: line 2: public-key is no Ed25519 public "
                       "key in base64.")
            .arg(QDir::toNativeSeparators(Install.filePath("trust.ini")));
    ExpectRefused(JobLink("Desk", Server.Url("/doc.pdf")), message);
    ExpectRefused(ToolLink(Server.Url("/doc.pdf")), message);
}

// The administrator's file, /etc/kestrova/trust.ini, in a mount namespace of its own (and a user namespace
// where the tests do not run as root), where /etc is an overlay that ends with the namespace.
class Administered : public Trust {
protected:
    void SetUp() override {
        Trust::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(Overlay.isValid());
        QProcess probe;
        probe.start(Launch("true").first(), Launch("true").mid(1) + QStringList{"true"});
        if (!probe.waitForFinished(60000) || probe.exitCode() != 0)
            GTEST_SKIP() << "no mount namespace with an overlay on /etc: "
                         << probe.readAllStandardError().toStdString();
    }

    // The command that runs what follows it where /etc/kestrova is a root-owned folder of mode 0755, in which
    // the shell script Setup has made the administrator's file.
    QStringList Launch(const QString& setup) const {
        static const QString script = QStringLiteral(
            "set -e; setup=$1; shift; mount -t tmpfs tmpfs \"$0\"; mkdir \"$0/upper\" \"$0/work\"; "
            "mount -t overlay overlay -o \"lowerdir=/etc,upperdir=$0/upper,workdir=$0/work\" /etc; "
            "mkdir -m 0755 /etc/kestrova; cd /etc/kestrova; umask 022; eval \"$setup\"; exec \"$@\"");
        const QStringList namespaces =
            getuid() == 0 ? QStringList{"--mount"} : QStringList{"--user", "--map-root-user", "--mount"};
        return QStringList{"unshare"} + namespaces + QStringList{"sh", "-c", script, Overlay.path(), setup};
    }

    // Writes Text to a file of the tests', which a setup copies as {text}.
    QString Text(const QByteArray& text) {
        QFile file(Keys.filePath("trust.ini"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    }
    QByteArray GoodPolicy() const {
        return "[sources]\nallow=" + Origin().toUtf8() + "\n[signing]\npublic-key=" + Key.PublicKeyBase64() +
               "\nmax-age=300\n";
    }

    // kestrova-link check run where Setup made the administrator's file.
    ToolRun Check(const QString& setup) const {
        QProcess tool;
        const QStringList command = Launch(setup) + QStringList{KESTROVA_BIN_DIR "/kestrova-link", "check"};
        tool.start(command.first(), command.mid(1));
        tool.waitForFinished(60000);
        return {tool.exitCode(), tool.readAllStandardOutput(),
                QString::fromUtf8(tool.readAllStandardError())};
    }

    QTemporaryDir Overlay;
};

struct AdministratorCase {
    const char* Name;
    QByteArray Text; // the file's text; the good policy when empty
    QString Setup;   // the shell script that makes trust.ini from {text} in the current folder, /etc/kestrova
    QString Reason;
};

void PrintTo(const AdministratorCase& c, std::ostream* os) {
    *os << c.Name;
}

class AdministratorFile : public Administered, public testing::WithParamInterface<AdministratorCase> {};

// Each file refuses every link, a signed one from the allowed source too, and kestrova-link check says why.
TEST_P(AdministratorFile, ThatCannotBeTakenRefusesEveryLink) {
    const AdministratorCase& file = GetParam();
    const QString setup =
        QString(file.Setup)
            .replace("{text}",
                     Text(file.Text.isEmpty() ? GoodPolicy()
                                              : QByteArray(file.Text).replace("KEY", Key.PublicKeyBase64())))
            .replace("{user}", Install.filePath("trust.ini"));
    WriteTrust(GoodPolicy()); // the user's own file, which an administrator's file replaces
    const QString message =
        QStringLiteral("The trust file \"/etc/kestrova/trust.ini\" cannot be used: %1").arg(file.Reason);
    Launcher = Launch(setup);
    ExpectRefused(JobLink("Desk", Elsewhere("/doc.pdf")), MessageBoxes::WithFullStop(message));
    ExpectRefused(ToolLink(Server.Url("/doc.pdf")), MessageBoxes::WithFullStop(message));
    const ToolRun check = Check(setup);
    EXPECT_EQ(check.ExitCode, 1);
    EXPECT_EQ(check.Errors, "kestrova-link: " + message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, AdministratorFile,
    testing::Values(
        AdministratorCase{
            "Empty", "\n", "cp {text} trust.ini",
            "the file sets nothing; expected [sources] with allow= or [signing] with public-key="},
        AdministratorCase{
            "ProseOnly", "Links from the ERP only.\n", "cp {text} trust.ini",
            "line 1: \"Links from the ERP only.\" is no setting; expected [section], name=value or "
            "a comment"},
        AdministratorCase{"Mode666", "", "cp {text} trust.ini; chmod 0666 trust.ini",
                          "it may be written by others than root (mode 0666); make it 0644"},
        AdministratorCase{
            "Folder777", "", "cp {text} trust.ini; chmod 0777 .",
            "its folder \"/etc/kestrova\" may be written by others than root (mode 0777); make it "
            "0755"},
        AdministratorCase{"SymbolicLinkToAUsersFile", "", "ln -s {user} trust.ini",
                          "it is a symbolic link; it must be a file of its own"},
        // Where a user namespace maps no other user, a file of the real root's stands for one.
        AdministratorCase{"OwnedByAnotherUser", "",
                          "cp {text} trust.ini; chown 65534 trust.ini 2>/dev/null || "
                          "mount --bind /etc/hostname trust.ini",
                          "it is owned by user 65534, not by root"},
        AdministratorCase{"MaxAgeTooLarge", "[signing]\npublic-key=KEY\nmax-age=86401\n",
                          "cp {text} trust.ini",
                          "line 3: max-age \"86401\" is longer than a day (86400 seconds)"}),
    [](const testing::TestParamInfo<AdministratorCase>& info) { return std::string(info.param.Name); });

// kestrova-link check reads the administrator's file as the program does and says what it means; the program
// takes a signed link under it once, recording it in the machine's record (/var/lib here a folder of the
// tests').
TEST_F(Administered, FileOfRootAloneHoldsWithOneRecordForTheMachine) {
    QTemporaryDir machine;
    const QString setup = "cp " + Text(GoodPolicy()) + " trust.ini; mount --bind " + machine.path() +
                          " /var/lib; install -d -m 0777 /var/lib/kestrova";
    const ToolRun check = Check(setup);
    EXPECT_EQ(check.ExitCode, 0) << check.Errors.toStdString();
    const QByteArray fingerprint =
        QCryptographicHash::hash(QByteArray::fromBase64(Key.PublicKeyBase64()), QCryptographicHash::Sha256)
            .toBase64(QByteArray::OmitTrailingEquals);
    EXPECT_EQ(check.Output, "trust file: /etc/kestrova/trust.ini\n"
                            "signed links: required, Ed25519 key SHA256:" +
                                fingerprint +
                                ", max-age 300 seconds\n"
                                "sources: " +
                                NormalOrigin(QUrl(Origin())).toUtf8() +
                                "\n"
                                "record of used links: /var/lib/kestrova/used-signatures\n");

    Launcher = Launch(setup);
    ExpectRefused(JobLink("Desk", Server.Url("/doc.pdf")), "The link is not signed.");
    const QString link = ToolLink(Server.Url("/doc.pdf"));
    ExpectPrinted(link);
    ExpectRefused(link, "The link was used before.");
    const QString record = machine.filePath("kestrova/used-signatures");
    EXPECT_EQ(QFile::permissions(record) & (QFile::ReadOther | QFile::WriteOther),
              QFile::ReadOther | QFile::WriteOther)
        << "every user of the machine writes it";
    EXPECT_FALSE(QFile::exists(Install.filePath("used-signatures"))) << "no record of the user's own";
}

} // namespace
