#include "app/download/Download.h"

#include "app/download/ContentDecoder.h"
#include "app/download/DownloadFileName.h"
#include "app/download/EDownloadError.h"
#include "app/download/TransportError.h"
#include "app/log/DataFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStorageInfo>
#include <QTimer>
#include <QUrl>

#include <exception>
#include <tuple>
#include <utility>

namespace {

// What Qt may hold of a body before the download writes it out.
constexpr qint64 ReadBufferBytes = 1 << 20;

bool isWebScheme(const QString& scheme) {
    return scheme == u"http" || scheme == u"https";
}

// A browser fetches an address with spaces and the characters | { } ^ " < > ` as they are, percent-encoded.
QUrl checkedUrl(const QString& address) {
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || !isWebScheme(url.scheme().toLower()) || url.host().isEmpty())
        throw EDownloadError(QStringLiteral("Invalid URL: \"%1\"").arg(address));
    return url;
}

QNetworkRequest request(const QUrl& url, const TDownloadLimits& limits) {
    QNetworkRequest result(url);
    // Qt follows neither a redirection to another scheme nor one from https to http; waitFor checks every
    // redirection as well and names the scheme of one that is refused. Qt announces a redirection before it
    // sends the next request, and a refusal aborts the reply, so no request reaches a refused address.
    result.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    result.setMaximumRedirectsAllowed(MaxRedirections);
    result.setTransferTimeout(int(limits.Idle.count()));
    // Set here, so that the network client leaves the body as it came and the download decodes and counts it.
    result.setRawHeader("Accept-Encoding", AcceptedEncodings);
    return result;
}

int statusOf(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// The Content-Length of the answer so far, -1 when it has none.
qint64 announcedLength(const QNetworkReply& reply) {
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() ? length.toLongLong() : -1;
}

// Why a redirection from the first address to the second is not followed; empty when it is.
using TRedirectCheck = std::function<QString(const QUrl&, const QUrl&)>;

// The download's check of every redirection: RedirectRefusal's, and then the allowed sources, when there are.
TRedirectCheck redirectCheck(const TSourceFilter& allowed) {
    return [allowed](const QUrl& from, const QUrl& to) {
        if (QString refusal = RedirectRefusal(from, to); !refusal.isEmpty())
            return refusal;
        if (allowed && !allowed(to))
            return QStringLiteral("The download was redirected outside the allowed sources: %1")
                .arg(to.toString());
        return QString();
    };
}

// Why the redirection that ended Reply, coming from the address From, was not followed; empty when Reply
// did not end in a refused redirection.
QString refusedRedirection(const QNetworkReply& reply, const QUrl& from, const TRedirectCheck& check) {
    const int status = statusOf(reply);
    if (reply.error() == QNetworkReply::NoError || reply.error() == QNetworkReply::TooManyRedirectsError ||
        status < 300 || status >= 400)
        return QString();
    const QByteArray location = reply.rawHeader("Location");
    return location.isEmpty() ? QString() : check(from, from.resolved(QUrl::fromEncoded(location)));
}

struct ReplyDeleter {
    void operator()(QNetworkReply* reply) const { delete reply; }
};
using Reply = std::unique_ptr<QNetworkReply, ReplyDeleter>;

// The message of a body that ended before its announced length (Total, -1 when none was announced).
QString cutShort(qint64 received, qint64 total) {
    if (total >= 0)
        return QStringLiteral("The download was cut short: %1 of %2 bytes arrived").arg(received).arg(total);
    return QStringLiteral("The download was cut short: the connection closed after %1 bytes").arg(received);
}

// The message of a request that ended without a complete answer, which brought Received bytes of its body.
QString failureMessage(const QNetworkReply& reply, qint64 received, const TDownloadLimits& limits) {
    switch (reply.error()) {
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        // The download aborts a request itself only with an error of its own; this is the idle limit.
        return QStringLiteral("The download was stopped: nothing arrived for %1")
            .arg(DurationText(limits.Idle));
    case QNetworkReply::RemoteHostClosedError:
        if (statusOf(reply) == 0)
            break;
        return cutShort(received, announcedLength(reply));
    default:
        break;
    }
    return TransportErrorMessage(reply.error());
}

// Runs the message loop until Reply has finished. Progress of an answer below 300 goes to OnProgress, and
// OnBody is called whenever body bytes of the answer are ready; an error either raises aborts the request
// and is raised here afterwards. So is a redirection that Check refuses (one it lets pass is followed), and a
// request still running at the download's Deadline, which is aborted then. When the loop ends before the
// request (the program is closing), the request is aborted and the download fails.
void waitFor(QNetworkReply& reply, const TRedirectCheck& check, const QDeadlineTimer& deadline,
             const TDownloadLimits& limits, const TDownloadProgress& onProgress,
             const std::function<void()>& onBody) {
    std::exception_ptr failure;
    auto guarded = [&](const auto& step) {
        if (failure)
            return;
        try {
            step();
        } catch (...) {
            failure = std::current_exception();
            reply.abort();
        }
    };
    qint64 bodyBytes = 0;
    auto report = [&](qint64 received, qint64 total) {
        bodyBytes = received;
        if (onProgress && statusOf(reply) < 300)
            guarded([&] { onProgress(received, total); });
    };
    QEventLoop loop;
    QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&reply, &QNetworkReply::metaDataChanged, &loop,
                     [&] { report(0, announcedLength(reply)); });
    QObject::connect(&reply, &QNetworkReply::downloadProgress, &loop, report);
    QObject::connect(&reply, &QNetworkReply::readyRead, &loop, [&] {
        guarded([&] {
            if (onBody)
                onBody();
            else
                reply.skip(reply.bytesAvailable());
        });
    });
    // Qt announces a redirection before it follows it.
    QUrl from = reply.request().url();
    QObject::connect(&reply, &QNetworkReply::redirected, &loop, [&](const QUrl& target) {
        guarded([&] {
            if (const QString refusal = check(from, target); !refusal.isEmpty())
                throw EDownloadError(refusal);
            from = target;
        });
    });
    QTimer overtime;
    overtime.setSingleShot(true);
    QObject::connect(&overtime, &QTimer::timeout, &loop, [&] {
        guarded([&] {
            throw EDownloadError(QStringLiteral("The download was stopped: it took longer than %1")
                                     .arg(DurationText(limits.Total)));
        });
    });
    overtime.start(std::chrono::milliseconds(deadline.remainingTime()));
    if (!reply.isFinished())
        loop.exec();
    if (!reply.isFinished()) {
        reply.abort();
        throw EDownloadError(QStringLiteral("The download was cancelled: the program is closing"));
    }
    if (failure)
        std::rethrow_exception(failure);
    if (const QString refusal = refusedRedirection(reply, from, check); !refusal.isEmpty())
        throw EDownloadError(refusal);
    if (IsTransportError(reply.error(), statusOf(reply)))
        throw EDownloadError(failureMessage(reply, bodyBytes, limits));
}

QString tooLarge(const TDownloadLimits& limits) {
    return QStringLiteral("The download was stopped: the document is larger than %1")
        .arg(SizeText(limits.MaxBytes));
}

// The document's file and the decoder of its body, once a 200 has begun: refused at once when the announced
// length exceeds the size limit or the free space of the download folder, before anything is written.
std::pair<std::unique_ptr<TDownloadFile>, std::unique_ptr<TContentDecoder>>
begin(const QNetworkReply& reply, const QString& address, const QString& folder,
      const TDownloadLimits& limits) {
    auto decoder = std::make_unique<TContentDecoder>(reply.rawHeader("Content-Encoding"));
    const qint64 announced = announcedLength(reply);
    if (announced > limits.MaxBytes)
        throw EDownloadError(tooLarge(limits));
    auto file = std::make_unique<TDownloadFile>(folder, DownloadFileName(address));
    const QStorageInfo disk(QFileInfo(file->Path()).absolutePath());
    if (disk.isValid() && disk.bytesAvailable() >= 0 && announced > disk.bytesAvailable())
        throw EDownloadError(
            QStringLiteral("The download was stopped: the document's %1 do not fit into the %2 "
                           "free in \"%3\"")
                .arg(SizeText(announced), SizeText(disk.bytesAvailable()),
                     QDir::toNativeSeparators(QFileInfo(file->Path()).absolutePath())));
    return {std::move(file), std::move(decoder)};
}

} // namespace

QString RedirectRefusal(const QUrl& From, const QUrl& To) {
    const QString scheme = To.scheme().toLower();
    if (!isWebScheme(scheme))
        return QStringLiteral("Redirection to a \"%1:\" address refused: only http and https are fetched")
            .arg(scheme);
    if (From.scheme().toLower() == u"https" && scheme == u"http")
        return QStringLiteral("Redirection from https to a \"http:\" address refused");
    return QString();
}

QString DownloadFolder() {
    return DataFolder::Path() + QStringLiteral("DownFile") + QDir::separator();
}

std::unique_ptr<TDownloadFile> DownPDF(const QString& Address, const QString& Folder,
                                       const TDownloadProgress& OnProgress, const TSourceFilter& Allowed,
                                       const TDownloadLimits& Limits) {
    const QUrl url = checkedUrl(Address);
    if (Allowed && !Allowed(url))
        throw EDownloadError(
            QStringLiteral("The PDF's address is not among the allowed sources: %1").arg(Address));
    const TRedirectCheck check = redirectCheck(Allowed);
    QNetworkAccessManager client;
    client.setCookieJar(new QNetworkCookieJar(&client));

    const QDeadlineTimer deadline(Limits.Total);
    waitFor(*Reply(client.head(request(url, Limits))), check, deadline, Limits, {}, {});

    Reply reply(client.get(request(url, Limits)));
    reply->setReadBufferSize(ReadBufferBytes);
    std::unique_ptr<TDownloadFile> file;
    std::unique_ptr<TContentDecoder> decoder;
    qint64 received = 0; // as it came over the network
    qint64 saved = 0;    // as it was decoded and written
    const auto save = [&](const char* data, qsizetype size) {
        if (size > Limits.MaxBytes - saved)
            throw EDownloadError(tooLarge(Limits));
        file->Write(QByteArray::fromRawData(data, size));
        saved += size;
    };
    // Only the body of a 200 is kept, decoded and written out as it arrives.
    const auto keep = [&] {
        if (statusOf(*reply) != 200) {
            reply->skip(reply->bytesAvailable());
            return;
        }
        if (!file)
            std::tie(file, decoder) = begin(*reply, Address, Folder, Limits);
        const QByteArray data = reply->readAll();
        received += data.size();
        decoder->Feed(data, save);
    };
    waitFor(*reply, check, deadline, Limits, OnProgress, keep);
    if (statusOf(*reply) != 200)
        return {};
    keep(); // the file of an empty body
    // The network client may take a connection that closes inside the body for the body's end.
    if (const qint64 total = announcedLength(*reply); total >= 0 && received < total)
        throw EDownloadError(cutShort(received, total));
    decoder->Finish();
    file->Close();
    return file;
}
