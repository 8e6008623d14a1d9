#include "app/download/Download.h"

#include "app/download/EDownloadError.h"
#include "app/download/ExtractUrlFileName.h"
#include "app/download/SaveDownload.h"
#include "app/download/TransportError.h"
#include "app/log/ExecutableFolder.h"

#include <QDir>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <exception>
#include <memory>

namespace {

constexpr int TimeoutMilliseconds = 60 * 1000;

QUrl checkedUrl(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty())
        throw EDownloadError(QStringLiteral("Invalid URL: \"%1\"").arg(address));
    return url;
}

QNetworkRequest request(const QUrl& url) {
    QNetworkRequest result(url);
    result.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    result.setMaximumRedirectsAllowed(MaxRedirections);
    result.setTransferTimeout(TimeoutMilliseconds);
    return result;
}

// The Content-Length of the answer so far, -1 when it has none.
qint64 announcedLength(const QNetworkReply& reply) {
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() ? length.toLongLong() : -1;
}

struct ReplyDeleter {
    void operator()(QNetworkReply* reply) const { delete reply; }
};
using Reply = std::unique_ptr<QNetworkReply, ReplyDeleter>;

// Runs the message loop until Reply has finished. Progress of an answer below 300 goes to OnProgress; an
// error it raises aborts the request and is raised here afterwards.
void waitFor(QNetworkReply& reply, const TDownloadProgress& onProgress) {
    std::exception_ptr failure;
    auto report = [&](qint64 received, qint64 total) {
        const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (!onProgress || failure || status >= 300)
            return;
        try {
            onProgress(received, total);
        } catch (...) {
            failure = std::current_exception();
            reply.abort();
        }
    };
    QEventLoop loop;
    QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&reply, &QNetworkReply::metaDataChanged, &loop,
                     [&] { report(0, announcedLength(reply)); });
    QObject::connect(&reply, &QNetworkReply::downloadProgress, &loop, report);
    if (!reply.isFinished())
        loop.exec();
    if (failure)
        std::rethrow_exception(failure);
    if (IsTransportError(reply.error(), reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt()))
        throw EDownloadError(TransportErrorMessage(reply.error()));
}

} // namespace

QString DownloadFolder() {
    return ExecutableFolder::Path() + QStringLiteral("DownFile") + QDir::separator();
}

QString DownPDF(const QString& Address, const QString& Folder, const TDownloadProgress& OnProgress) {
    const QUrl url = checkedUrl(Address);
    QNetworkAccessManager client;
    client.setCookieJar(new QNetworkCookieJar(&client));

    waitFor(*Reply(client.head(request(url))), {});

    Reply reply(client.get(request(url)));
    waitFor(*reply, OnProgress);
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200)
        return {};
    return SaveDownload(Folder, ExtractUrlFileName(Address), reply->readAll());
}
