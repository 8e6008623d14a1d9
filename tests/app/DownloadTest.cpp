// DownPDF against a scripted web server on 127.0.0.1.
#include "app/download/Download.h"

#include "app/download/DownloadProgress.h"
#include "app/download/EDownloadError.h"
#include "support/HttpServer.h"
#include "support/SmallFilesystem.h"

#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <zlib.h>

namespace {

const QByteArray Document = "%PDF-1.4 a small document\n" + QByteArray(20000, 'x') + "\n%%EOF\n";

struct Progress {
    qint64 Received;
    qint64 Total;
};

class DownloadTest : public testing::Test {
protected:
    QString folder() const { return FDir.filePath(QStringLiteral("DownFile")) + QDir::separator(); }

    // The path of the saved document, which stays until the test ends; empty when nothing was saved.
    QString download(const QString& address) {
        FFiles.push_back(DownPDF(address, folder(), [this](qint64 received, qint64 total) {
            FProgress.push_back({received, total});
        }));
        return FFiles.back() ? FFiles.back()->Path() : QString();
    }

    // The message of the error that downloading Address raises, or nothing.
    std::optional<QString> failure(const QString& address) {
        try {
            download(address);
        } catch (const EDownloadError& error) {
            return error.Message();
        }
        return std::nullopt;
    }

    // The documents in the download folder, without the lock files of the jobs that hold them.
    QStringList saved() const {
        QStringList files = QDir(folder()).entryList(QDir::Files | QDir::Hidden);
        files.removeIf([](const QString& name) { return name.endsWith(".lock"); });
        return files;
    }

    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir FDir;
    HttpServer FServer;
    std::vector<Progress> FProgress;
    std::vector<std::unique_ptr<TDownloadFile>> FFiles;
};

TEST_F(DownloadTest, SavesTheBodyOfA200UnderTheAddressesLastSegment) {
    FServer.On("GET", "/docs/report.pdf", HttpServer::Status(200, Document));
    const QString path = download(FServer.Url("/docs/report.pdf"));
    EXPECT_EQ(path, folder() + "report.pdf");
    EXPECT_EQ(contents(path), Document);
    ASSERT_FALSE(FProgress.empty());
    EXPECT_EQ(FProgress.front().Received, 0);
    EXPECT_EQ(FProgress.front().Total, Document.size());
    EXPECT_EQ(FProgress.back().Received, Document.size());
}

TEST_F(DownloadTest, DrivesAProgressBarUpToTheDocumentsLength) {
    const QByteArray large(10485760, 'p');
    FServer.On("GET", "/large.pdf", HttpServer::Status(200, large));
    QProgressBar bar;
    std::vector<int> maxima;
    DownPDF(FServer.Url("/large.pdf"), folder(), [&](qint64 received, qint64 total) {
        ShowDownloadProgress(bar, received, total);
        maxima.push_back(bar.maximum());
    });
    ASSERT_FALSE(maxima.empty());
    EXPECT_EQ(std::set<int>(maxima.begin(), maxima.end()), std::set<int>{10485760});
    EXPECT_EQ(bar.value(), 10485760);
}

struct Framing {
    const char* Name;
    HttpResponse::Framing Frame;
    QByteArray Body;
};

void PrintTo(const Framing& c, std::ostream* os) {
    *os << c.Name;
}

class DownloadFramingTest : public DownloadTest, public testing::WithParamInterface<Framing> {};

// Without a usable length the download is an ordinary one: the progress says "unknown" and the body is
// saved whole.
TEST_P(DownloadFramingTest, SavesA200WhateverItsFraming) {
    HttpResponse response = HttpServer::Status(200, GetParam().Body);
    response.Frame = GetParam().Frame;
    FServer.On("GET", "/report.pdf", response);
    const QString path = download(FServer.Url("/report.pdf"));
    EXPECT_EQ(contents(path), GetParam().Body);
    EXPECT_EQ(saved(), QStringList{"report.pdf"});
}

INSTANTIATE_TEST_SUITE_P(Frames, DownloadFramingTest,
                         testing::Values(Framing{"ContentLength", HttpResponse::Framing::Length, Document},
                                         Framing{"ContentLengthZero", HttpResponse::Framing::Length, {}},
                                         Framing{"Chunked", HttpResponse::Framing::Chunked, Document},
                                         Framing{"UntilClose", HttpResponse::Framing::UntilClose, Document}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Block repeated Repeats times, compressed as zlib's windowBits say: 31 gzip, 15 zlib (HTTP's deflate), -15
// bare deflate. The block is compressed again for each repeat, so that a large body is never held whole.
QByteArray compressed(const QByteArray& block, int windowBits, qint64 repeats = 1) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    QByteArray result;
    QByteArray out(1 << 16, Qt::Uninitialized);
    for (qint64 repeat = 0; repeat < repeats; ++repeat) {
        const bool last = repeat + 1 == repeats;
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(block.constData()));
        stream.avail_in = uInt(block.size());
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = uInt(out.size());
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            result.append(out.constData(), out.size() - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return result;
}

struct Encoded {
    const char* Name;
    QByteArray Encoding;
    QByteArray Body; // as sent
    QByteArray Saved;
    HttpResponse::Framing Frame = HttpResponse::Framing::Length;
};

void PrintTo(const Encoded& c, std::ostream* os) {
    *os << c.Name;
}

class DownloadEncodedTest : public DownloadTest, public testing::WithParamInterface<Encoded> {};

// The download asks for gzip and deflate and saves what they decode to, whatever the ratio.
TEST_P(DownloadEncodedTest, SavesTheDecodedDocument) {
    HttpResponse response =
        HttpServer::Status(200, GetParam().Body).With("Content-Encoding", GetParam().Encoding);
    response.Frame = GetParam().Frame;
    FServer.On("GET", "/report.pdf", response);
    const QString path = download(FServer.Url("/report.pdf"));
    EXPECT_TRUE(contents(path) == GetParam().Saved) << "saved " << QFileInfo(path).size() << " bytes";
    EXPECT_EQ(FServer.Requests().back().Header("Accept-Encoding"), "gzip, deflate");
    ASSERT_FALSE(FProgress.empty());
    EXPECT_EQ(FProgress.back().Received, GetParam().Body.size())
        << "progress counts what comes over the network";
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, DownloadEncodedTest,
    testing::Values(Encoded{"Gzip", "gzip", compressed(Document, 31), Document},
                    Encoded{"XGzipInCapitals", "X-GZIP", compressed(Document, 31), Document},
                    Encoded{"GzipChunked", "gzip", compressed(Document, 31), Document,
                            HttpResponse::Framing::Chunked},
                    Encoded{"GzipMembers", "gzip", compressed("%PDF-1.4 a", 31) + compressed(" document", 31),
                            "%PDF-1.4 a document"},
                    Encoded{"Deflate", "deflate", compressed(Document, 15), Document},
                    Encoded{"BareDeflate", "deflate", compressed(Document, -15), Document},
                    Encoded{"Identity", "identity", Document, Document}),
    [](const auto& info) { return std::string(info.param.Name); });

// 50 MB of a document that compresses a thousandfold, as a PDF of repeated pages may.
TEST_F(DownloadTest, SavesALargeDocumentThatCameCompressedAThousandfold) {
    const QByteArray large = "%PDF-1.4\n" + QByteArray(50 << 20, ' ') + "\n%%EOF\n";
    const QByteArray body = compressed(large, 31);
    ASSERT_LT(body.size(), large.size() / 1000);
    FServer.On("GET", "/report.pdf", HttpServer::Status(200, body).With("Content-Encoding", "gzip"));
    EXPECT_TRUE(contents(download(FServer.Url("/report.pdf"))) == large);
}

struct Undecodable {
    const char* Name;
    QByteArray Encoding;
    QByteArray Body;
    QString Message;
};

void PrintTo(const Undecodable& c, std::ostream* os) {
    *os << c.Name;
}

class DownloadUndecodableTest : public DownloadTest, public testing::WithParamInterface<Undecodable> {};

TEST_P(DownloadUndecodableTest, SaysWhyAndSavesNothing) {
    FServer.On("GET", "/report.pdf",
               HttpServer::Status(200, GetParam().Body).With("Content-Encoding", GetParam().Encoding));
    EXPECT_EQ(failure(FServer.Url("/report.pdf")), GetParam().Message);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no file, no lock";
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, DownloadUndecodableTest,
    testing::Values(
        Undecodable{"NotAskedFor", "br", Document,
                    "The server sent the document encoded as \"br\", which the download did not ask for"},
        Undecodable{
            "Stacked", "gzip, gzip", compressed(compressed(Document, 31), 31),
            "The server sent the document encoded as \"gzip, gzip\", which the download did not ask for"},
        Undecodable{"NotGzip", "gzip", Document, "The server's gzip data is damaged: incorrect header check"},
        Undecodable{"GzipCutShort", "gzip", compressed(Document, 31).chopped(20),
                    "The server's gzip data is damaged: it ends early"},
        Undecodable{"TrailingData", "deflate", compressed(Document, 15) + "more",
                    "The server's deflate data is damaged: more data follows its end"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DownloadTest, ChunkedProgressReportsAnUnknownTotal) {
    HttpResponse response = HttpServer::Status(200, Document);
    response.Frame = HttpResponse::Framing::Chunked;
    FServer.On("GET", "/report.pdf", response);
    download(FServer.Url("/report.pdf"));
    ASSERT_FALSE(FProgress.empty());
    EXPECT_EQ(FProgress.front().Received, 0);
    EXPECT_EQ(FProgress.front().Total, -1);
    EXPECT_EQ(FProgress.back().Received, Document.size());
}

TEST_F(DownloadTest, IgnoresTheHeadAnswer) {
    FServer.On("HEAD", "/report.pdf", HttpServer::Status(405));
    FServer.On("GET", "/report.pdf", HttpServer::Status(200, Document));
    EXPECT_EQ(contents(download(FServer.Url("/report.pdf"))), Document);
    ASSERT_EQ(FServer.Requests().size(), 2);
    EXPECT_EQ(FServer.Requests()[0].Method, "HEAD");
    EXPECT_EQ(FServer.Requests()[1].Method, "GET");
}

TEST_F(DownloadTest, SendsTheCookiesOfTheHeadWithTheGet) {
    FServer.On("HEAD", "/report.pdf", HttpServer::Status(200).With("Set-Cookie", "session=k7; Path=/"));
    FServer.On("GET", "/report.pdf", [](const HttpRequest& request) {
        return request.Header("Cookie").contains("session=k7") ? HttpServer::Status(200, Document)
                                                               : HttpServer::Status(403, "no session");
    });
    EXPECT_EQ(contents(download(FServer.Url("/report.pdf"))), Document);
}

TEST_F(DownloadTest, AddsNoHeaderOfItsOwn) {
    FServer.On("GET", "/report.pdf", HttpServer::Status(200, Document));
    download(FServer.Url("/report.pdf"));
    for (const HttpRequest& request : FServer.Requests()) {
        EXPECT_FALSE(request.Headers.contains("cookie"));
        EXPECT_FALSE(request.Headers.contains("authorization"));
        EXPECT_FALSE(request.Headers.contains("range"));
    }
}

struct Redirections {
    int Hops;
    std::optional<QString> Failure;
};

void PrintTo(const Redirections& c, std::ostream* os) {
    *os << c.Hops << " redirections";
}

class DownloadRedirectionTest : public DownloadTest, public testing::WithParamInterface<Redirections> {};

TEST_P(DownloadRedirectionTest, FollowsAtMostFiveRedirectionsInARow) {
    const int hops = GetParam().Hops;
    for (int hop = hops; hop > 0; --hop)
        FServer.On("GET", QStringLiteral("/hop%1/report.pdf").arg(hop).toUtf8(),
                   HttpServer::Redirect(FServer.Url(QStringLiteral("/hop%1/report.pdf").arg(hop - 1))));
    FServer.On("GET", "/hop0/report.pdf", HttpServer::Status(200, Document));
    const QString address = FServer.Url(QStringLiteral("/hop%1/report.pdf").arg(hops));
    EXPECT_EQ(failure(address), GetParam().Failure);
    if (GetParam().Failure)
        EXPECT_TRUE(saved().isEmpty());
    else
        EXPECT_EQ(contents(folder() + "report.pdf"), Document);
}

INSTANTIATE_TEST_SUITE_P(Chains, DownloadRedirectionTest,
                         testing::Values(Redirections{1, std::nullopt}, Redirections{3, std::nullopt},
                                         Redirections{5, std::nullopt},
                                         Redirections{6, "Maximum number of redirections (5) exceeded"}),
                         [](const auto& info) { return "Hops" + std::to_string(info.param.Hops); });

struct RefusedRedirection {
    const char* Name;
    QByteArray Location;
    QString Failure;
};

void PrintTo(const RefusedRedirection& c, std::ostream* os) {
    *os << c.Name;
}

class DownloadRefusedRedirectionTest : public DownloadTest,
                                       public testing::WithParamInterface<RefusedRedirection> {};

// A redirection is followed only to http and https: anything else ends the download, naming the scheme.
TEST_P(DownloadRefusedRedirectionTest, SaysWhichSchemeItRefused) {
    FServer.On("GET", "/report.pdf", HttpServer::Status(302).With("Location", GetParam().Location));
    EXPECT_EQ(failure(FServer.Url("/report.pdf")), GetParam().Failure);
    EXPECT_FALSE(QFileInfo::exists(folder()));
}

QString refusedScheme(const char* scheme) {
    return QStringLiteral("Redirection to a \"%1:\" address refused: only http and https are fetched")
        .arg(scheme);
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, DownloadRefusedRedirectionTest,
    testing::Values(RefusedRedirection{"File", "file:///etc/passwd", refusedScheme("file")},
                    RefusedRedirection{"Ftp", "ftp://127.0.0.1/report.pdf", refusedScheme("ftp")},
                    RefusedRedirection{"Data", "data:application/pdf;base64,JVBERi0=", refusedScheme("data")},
                    RefusedRedirection{"JavaScript", "javascript:alert(1)", refusedScheme("javascript")},
                    RefusedRedirection{"Qrc", "qrc:/report.pdf", refusedScheme("qrc")},
                    RefusedRedirection{"UpperCase", "FILE:///etc/passwd", refusedScheme("file")}),
    [](const auto& info) { return std::string(info.param.Name); });

struct RedirectionRule {
    const char* From;
    const char* To;
    QString Refusal;
};

void PrintTo(const RedirectionRule& c, std::ostream* os) {
    *os << c.From << " to " << c.To;
}

class RedirectRefusalTest : public testing::TestWithParam<RedirectionRule> {};

TEST_P(RedirectRefusalTest, FollowsOnlyToTheWebAndNeverDownFromHttps) {
    EXPECT_EQ(RedirectRefusal(QUrl(GetParam().From), QUrl(GetParam().To)), GetParam().Refusal);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, RedirectRefusalTest,
    testing::Values(RedirectionRule{"http://a/x.pdf", "http://b/x.pdf", ""},
                    RedirectionRule{"http://a/x.pdf", "https://b/x.pdf", ""},
                    RedirectionRule{"https://a/x.pdf", "https://b/x.pdf", ""},
                    RedirectionRule{"https://a/x.pdf", "http://b/x.pdf",
                                    "Redirection from https to a \"http:\" address refused"},
                    RedirectionRule{"HTTPS://a/x.pdf", "HTTP://b/x.pdf",
                                    "Redirection from https to a \"http:\" address refused"},
                    RedirectionRule{"https://a/x.pdf", "ftp://b/x.pdf", refusedScheme("ftp")}));

// A web page that encodes only ":" and "/" hands over an address with characters that a browser sends
// percent-encoded.
struct LenientAddress {
    const char* Name;
    QString Path;         // as the link carries it
    QByteArray Requested; // as the server receives it
};

void PrintTo(const LenientAddress& c, std::ostream* os) {
    *os << c.Name;
}

class DownloadLenientAddressTest : public DownloadTest, public testing::WithParamInterface<LenientAddress> {};

TEST_P(DownloadLenientAddressTest, FetchesWhatABrowserWould) {
    FServer.On("GET", GetParam().Requested, HttpServer::Status(200, Document));
    const QString path = download(FServer.Url(GetParam().Path));
    EXPECT_EQ(contents(path), Document);
}

INSTANTIATE_TEST_SUITE_P(Characters, DownloadLenientAddressTest,
                         testing::Values(LenientAddress{"Space", "/my report.pdf", "/my%20report.pdf"},
                                         LenientAddress{"Bar", "/a|b.pdf", "/a%7Cb.pdf"},
                                         LenientAddress{"Braces", "/{id}.pdf", "/%7Bid%7D.pdf"},
                                         LenientAddress{"Caret", "/a^b.pdf", "/a%5Eb.pdf"},
                                         LenientAddress{"Quote", "/\"q\".pdf", "/%22q%22.pdf"},
                                         LenientAddress{"AngleBrackets", "/<a>.pdf", "/%3Ca%3E.pdf"},
                                         LenientAddress{"Backtick", "/a`b.pdf", "/a%60b.pdf"},
                                         LenientAddress{"InTheQuery", "/get.pdf?name=a b|c",
                                                        "/get.pdf?name=a%20b%7Cc"}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct Unsaved {
    const char* Name;
    HttpResponse Response;
};

void PrintTo(const Unsaved& c, std::ostream* os) {
    *os << c.Name;
}

class DownloadStatusTest : public DownloadTest, public testing::WithParamInterface<Unsaved> {};

// Any final status but 200 is no error: nothing is saved and no folder is made.
TEST_P(DownloadStatusTest, SavesNothingForAStatusOtherThan200) {
    FServer.On("GET", "/report.pdf", GetParam().Response);
    EXPECT_EQ(download(FServer.Url("/report.pdf")), QString());
    EXPECT_FALSE(QFileInfo::exists(folder()));
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, DownloadStatusTest,
    testing::Values(
        Unsaved{
            "NotFoundPage",
            HttpServer::Status(404, "<html><body>Not here</body></html>").With("Content-Type", "text/html")},
        Unsaved{"NoContent", HttpServer::Status(204)},
        Unsaved{"PartialContent",
                HttpServer::Status(206, Document.left(100)).With("Content-Range", "bytes 0-99/20040")},
        Unsaved{"ServerError", HttpServer::Status(500, "broken")},
        Unsaved{"RedirectionWithoutTarget", HttpServer::Status(302, "nowhere")}),
    [](const auto& info) { return std::string(info.param.Name); });

// A body that breaks off is an error, and no partial document is left that a job could print.
TEST_F(DownloadTest, FailsAndSavesNothingWhenTheServerStopsMidBody) {
    HttpResponse response = HttpServer::Status(200, Document);
    response.CloseAfter = Document.size() / 2;
    FServer.On("GET", "/report.pdf", response);
    EXPECT_EQ(failure(FServer.Url("/report.pdf")),
              QStringLiteral("The download was cut short: %1 of %2 bytes arrived")
                  .arg(Document.size() / 2)
                  .arg(Document.size()));
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no file, no lock";
}

struct Overlong {
    const char* Name;
    HttpResponse Response;
    TDownloadLimits Limits;
    QString Message; // the error's beginning
};

void PrintTo(const Overlong& c, std::ostream* os) {
    *os << c.Name;
}

class DownloadOverlongTest : public DownloadTest, public testing::WithParamInterface<Overlong> {};

// A request that stands still fails at the idle limit; a server that trickles its body, each byte well within
// the idle limit, is stopped at the overall one. Either way nothing is left.
TEST_P(DownloadOverlongTest, EndsAtItsLimitAndSavesNothing) {
    FServer.On("GET", "/report.pdf", GetParam().Response);
    try {
        DownPDF(FServer.Url("/report.pdf"), folder(), {}, {}, GetParam().Limits);
        FAIL() << "the download ended";
    } catch (const EDownloadError& error) {
        EXPECT_TRUE(error.Message().startsWith(GetParam().Message)) << error.Message().toStdString();
    }
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no file, no lock";
}

HttpResponse Stalling() {
    HttpResponse response = HttpServer::Status(200, Document);
    response.StallAfter = Document.size() / 2;
    return response;
}

HttpResponse Trickling() {
    HttpResponse response = HttpServer::Status(200, Document.left(1000));
    response.TrickleMilliseconds = 100;
    return response;
}

INSTANTIATE_TEST_SUITE_P(Limits, DownloadOverlongTest,
                         testing::Values(Overlong{"Idle",
                                                  Stalling(),
                                                  {std::chrono::seconds(1), std::chrono::minutes(10)},
                                                  "The download was stopped: nothing arrived for 1 second"},
                                         Overlong{"Total",
                                                  Trickling(),
                                                  {std::chrono::seconds(60), std::chrono::seconds(1)},
                                                  "The download was stopped: it took longer than 1 second"}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A small disk: a document whose announced length does not fit is refused before anything is written; one
// without a length fills it, and the message says what the system said. Either way nothing is left.
class DownloadSmallDiskTest : public DownloadTest,
                              public testing::WithParamInterface<std::pair<HttpResponse::Framing, QString>> {
};

TEST_P(DownloadSmallDiskTest, SaysWhyTheDocumentDoesNotFit) {
    const SmallFilesystem disk(64 * 1024);
    if (disk.Path().isEmpty())
        GTEST_SKIP() << disk.Refusal().toStdString();
    const QString target = disk.Path() + "/DownFile/";
    HttpResponse response = HttpServer::Status(200, QByteArray(1 << 20, 'f'));
    response.Frame = GetParam().first;
    FServer.On("GET", "/report.pdf", response);
    try {
        DownPDF(FServer.Url("/report.pdf"), target);
        FAIL() << "a document larger than the disk was saved";
    } catch (const EDownloadError& error) {
        const QString shown = QRegularExpression::escape(disk.Path() + "/DownFile");
        EXPECT_TRUE(QRegularExpression(GetParam().second.arg(shown)).match(error.Message()).hasMatch())
            << error.Message().toStdString();
    }
    EXPECT_EQ(QDir(target).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no file, no lock";
}

INSTANTIATE_TEST_SUITE_P(
    Framing, DownloadSmallDiskTest,
    testing::Values(
        std::pair(HttpResponse::Framing::Length,
                  QStringLiteral("^The download was stopped: the document's 1 MiB do not fit into the "
                                 "\\d+ KiB free in \"%1\"$")),
        std::pair(HttpResponse::Framing::Chunked,
                  QStringLiteral("^Cannot write file \"%1/report\\.pdf\"\\. No space left on device$"))),
    [](const auto& info) {
        return info.param.first == HttpResponse::Framing::Length ? std::string("Announced")
                                                                 : std::string("Unknown");
    });

// The body goes to its file as it arrives: at every report the file holds every byte received so far.
TEST_F(DownloadTest, WritesTheBodyToItsFileAsItArrives) {
    constexpr qint64 body = 4 << 20;
    HttpResponse response = HttpServer::Status(200);
    response.FillerLength = body;
    FServer.On("GET", "/report.pdf", response);
    std::set<qint64> mismatches;
    int reports = 0;
    const auto file = DownPDF(FServer.Url("/report.pdf"), folder(), [&](qint64 received, qint64) {
        if (received == 0)
            return;
        ++reports;
        if (QFileInfo(folder() + "report.pdf").size() != received)
            mismatches.insert(received);
    });
    EXPECT_GE(reports, 1);
    EXPECT_EQ(mismatches, std::set<qint64>());
    EXPECT_EQ(contents(file->Path()), QByteArray(body, 'f'));
}

// The peak of the resident memory since the last reset, and the reset.
qint64 peakResidentBytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}
bool resetPeakResident() {
    QFile reset("/proc/self/clear_refs");
    return reset.open(QIODevice::WriteOnly) && reset.write("5") == 1;
}

TEST_F(DownloadTest, MemoryStaysFlatWhateverTheBodysSize) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer keeps freed memory resident in its quarantine";
#endif
    constexpr qint64 body = qint64(256) << 20;
    HttpResponse response = HttpServer::Status(200);
    response.FillerLength = body;
    FServer.On("GET", "/large.pdf", response);
    if (!resetPeakResident())
        GTEST_SKIP() << "the peak of the resident memory cannot be reset here";
    const qint64 before = peakResidentBytes();
    const auto file = DownPDF(FServer.Url("/large.pdf"), folder());
    EXPECT_EQ(QFileInfo(file->Path()).size(), body);
    EXPECT_LT(peakResidentBytes() - before, qint64(64) << 20);
}

class DownloadSizeLimitTest : public DownloadTest,
                              public testing::WithParamInterface<HttpResponse::Framing> {};

// A document larger than the size limit is refused when its length is announced, and stopped at the limit
// when it is not; nothing is left.
TEST_P(DownloadSizeLimitTest, EndsAtTheSizeLimit) {
    HttpResponse response = HttpServer::Status(200, QByteArray(3 << 20, 'f'));
    response.Frame = GetParam();
    FServer.On("GET", "/report.pdf", response);
    TDownloadLimits limits;
    limits.MaxBytes = 1 << 20;
    try {
        DownPDF(FServer.Url("/report.pdf"), folder(), {}, {}, limits);
        FAIL() << "the download ended";
    } catch (const EDownloadError& error) {
        EXPECT_EQ(error.Message(), "The download was stopped: the document is larger than 1 MiB");
    }
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no file, no lock";
}

INSTANTIATE_TEST_SUITE_P(Framing, DownloadSizeLimitTest,
                         testing::Values(HttpResponse::Framing::Length, HttpResponse::Framing::Chunked),
                         [](const auto& info) {
                             return info.param == HttpResponse::Framing::Length ? "Announced" : "Unknown";
                         });

// 256 MiB of zeros in 256 KB of gzip: the size limit, counted on the decoded bytes, stops it, and the
// decoded bytes are never held in memory.
TEST_F(DownloadTest, AGzipBombIsStoppedByTheSizeLimit) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer keeps freed memory resident in its quarantine";
#endif
    const QByteArray bomb = compressed(QByteArray(1 << 20, '\0'), 31, 256);
    ASSERT_LT(bomb.size(), 300 << 10);
    FServer.On("GET", "/report.pdf", HttpServer::Status(200, bomb).With("Content-Encoding", "gzip"));
    TDownloadLimits limits;
    limits.MaxBytes = 1 << 20;
    if (!resetPeakResident())
        GTEST_SKIP() << "the peak of the resident memory cannot be reset here";
    const qint64 before = peakResidentBytes();
    try {
        DownPDF(FServer.Url("/report.pdf"), folder(), {}, {}, limits);
        FAIL() << "the download ended";
    } catch (const EDownloadError& error) {
        EXPECT_EQ(error.Message(), "The download was stopped: the document is larger than 1 MiB");
    }
    EXPECT_LT(peakResidentBytes() - before, qint64(64) << 20);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no file, no lock";
}

TEST_F(DownloadTest, TheSavedDocumentIsDeletedWithItsLockWhenTheJobLetsItGo) {
    FServer.On("GET", "/report.pdf", HttpServer::Status(200, Document));
    auto file = DownPDF(FServer.Url("/report.pdf"), folder());
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList({"report.pdf", "report.pdf.lock"}));
    file.reset();
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(DownloadTest, FailsInTheHeadWhenNothingListens) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    EXPECT_EQ(failure(QStringLiteral("http://127.0.0.1:%1/report.pdf").arg(port)),
              "Error sending data: (111) Connection refused");
    EXPECT_FALSE(QFileInfo::exists(folder()));
}

class DownloadInvalidUrlTest : public DownloadTest, public testing::WithParamInterface<const char*> {};

TEST_P(DownloadInvalidUrlTest, RefusesAnAddressWithoutHttpAndHost) {
    const QString address = QString::fromUtf8(GetParam());
    EXPECT_EQ(failure(address), QStringLiteral("Invalid URL: \"%1\"").arg(address));
    EXPECT_TRUE(FServer.Requests().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Addresses, DownloadInvalidUrlTest,
                         testing::Values("", "report.pdf", "ftp://127.0.0.1/report.pdf",
                                         "file:///etc/hostname", "http://", "http:///report.pdf",
                                         "https:report.pdf", "http://exa mple.com/report.pdf"));

TEST_F(DownloadTest, ASignedAddressIsSavedUnderItsDocumentsName) {
    const QByteArray query = "X-Amz-Date=20260101T000000Z&X-Amz-Signature=" + QByteArray(300, 'f');
    FServer.On("GET", "/receipts/receipt.pdf?" + query, HttpServer::Status(200, Document));
    const QString path = download(FServer.Url("/receipts/receipt.pdf?" + QString::fromLatin1(query)));
    EXPECT_EQ(path, folder() + "receipt.pdf");
    EXPECT_EQ(contents(path), Document);
}

TEST_F(DownloadTest, TwoJobsWithTheSameFileNameKeepTheirOwnDocuments) {
    FServer.On("GET", "/a/report.pdf", HttpServer::Status(200, "first"));
    FServer.On("GET", "/b/report.pdf", HttpServer::Status(200, "second"));
    const QString first = download(FServer.Url("/a/report.pdf"));
    const QString second = download(FServer.Url("/b/report.pdf"));
    EXPECT_EQ(first, folder() + "report.pdf");
    EXPECT_EQ(second, folder() + "report (2).pdf");
    EXPECT_EQ(contents(first), "first");
    EXPECT_EQ(contents(second), "second");
}

TEST_F(DownloadTest, AnErrorOfTheProgressHandlerEndsTheDownload) {
    FServer.On("GET", "/report.pdf", HttpServer::Status(200, Document));
    try {
        DownPDF(FServer.Url("/report.pdf"), folder(),
                [](qint64, qint64) { throw EDownloadError("stopped"); });
        FAIL() << "the handler's error was swallowed";
    } catch (const EDownloadError& error) {
        EXPECT_EQ(error.Message(), "stopped");
    }
    EXPECT_FALSE(QFileInfo::exists(folder()));
}

struct Uncreatable {
    const char* Name;
    QString Path; // below the test's folder
    QString Reason;
};

void PrintTo(const Uncreatable& c, std::ostream* os) {
    *os << c.Name;
}

class DownloadUncreatableTest : public DownloadTest, public testing::WithParamInterface<Uncreatable> {};

TEST_P(DownloadUncreatableTest, ReportsAFileThatCannotBeCreated) {
    FServer.On("GET", "/" + GetParam().Path.toUtf8(), HttpServer::Status(200, Document));
    const QString expected = folder() + GetParam().Path;
    EXPECT_EQ(failure(FServer.Url("/" + GetParam().Path)),
              QStringLiteral("Cannot create file \"%1\". %2").arg(expected, GetParam().Reason));
}

INSTANTIATE_TEST_SUITE_P(Names, DownloadUncreatableTest,
                         testing::Values(Uncreatable{"Empty", "", "Is a directory"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DownloadTest, ReportsAFolderThatCannotBeCreated) {
    QFile blocker(FDir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString target = blocker.fileName() + "/DownFile/";
    FServer.On("GET", "/report.pdf", HttpServer::Status(200, Document));
    try {
        DownPDF(FServer.Url("/report.pdf"), target);
        FAIL() << "a file was created below a file";
    } catch (const EDownloadError& error) {
        EXPECT_EQ(error.Message(),
                  QStringLiteral("Cannot create file \"%1report.pdf\". Not a directory").arg(target));
    }
}

} // namespace
