#include "HttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

QByteArray routeKey(const QByteArray& method, const QByteArray& path) {
    return method + ' ' + path;
}

// Takes one complete request head off the front of Buffer; false while it is incomplete.
bool takeRequest(QByteArray& buffer, HttpRequest& request) {
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    buffer.remove(0, end + 4);
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    request.Method = requestLine.value(0);
    request.Path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.Headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
    }
    return true;
}

bool hasBody(int status) {
    return status >= 200 && status != 204 && status != 304;
}

constexpr qsizetype ChunkSize = 4096;
constexpr qsizetype FillerBlock = 1 << 16;

// Sends Length bytes of filler on Socket, a block whenever little is waiting to be sent.
void sendFiller(QTcpSocket* socket, qint64 length) {
    auto left = std::make_shared<qint64>(length);
    auto more = [socket, left] {
        while (*left > 0 && socket->bytesToWrite() < 4 * FillerBlock) {
            const qint64 size = std::min<qint64>(*left, FillerBlock);
            socket->write(QByteArray(size, 'f'));
            *left -= size;
        }
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
    more();
}

// Sends Body on Socket one byte every Interval milliseconds; the sending ends with the socket.
void trickle(QTcpSocket* socket, const QByteArray& body, int interval) {
    auto* timer = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, body, sent] {
        socket->write(body.mid((*sent)++, 1));
        if (*sent == body.size())
            timer->stop();
    });
    timer->start(interval);
}

QByteArray chunkHead(qsizetype size) {
    return QByteArray::number(size, 16) + "\r\n";
}

} // namespace

HttpServer::HttpServer() {
    FServer.listen(QHostAddress::LocalHost, 0);
    connect(&FServer, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = FServer.nextPendingConnection())
            serve(socket);
    });
}

QString HttpServer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(FServer.serverPort()).arg(path);
}

void HttpServer::On(const QByteArray& method, const QByteArray& path, Handler handler) {
    FRoutes.insert(routeKey(method, path), std::move(handler));
}

void HttpServer::On(const QByteArray& method, const QByteArray& path, const HttpResponse& response) {
    On(method, path, [response](const HttpRequest&) { return response; });
}

HttpResponse HttpServer::Status(int status, const QByteArray& body) {
    HttpResponse response;
    response.Status = status;
    response.Body = body;
    return response;
}

HttpResponse HttpServer::Redirect(const QString& location) {
    return Status(302).With("Location", location.toUtf8());
}

void HttpServer::serve(QTcpSocket* socket) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
        buffer->append(socket->readAll());
        HttpRequest request;
        while (socket->state() == QAbstractSocket::ConnectedState && takeRequest(*buffer, request)) {
            FRequests.append(request);
            send(socket, request, answer(request));
            request = {};
        }
    });
}

HttpResponse HttpServer::answer(const HttpRequest& request) const {
    if (const auto route = FRoutes.constFind(routeKey(request.Method, request.Path)); route != FRoutes.cend())
        return (*route)(request);
    if (request.Method == "HEAD") {
        if (const auto get = FRoutes.constFind(routeKey("GET", request.Path)); get != FRoutes.cend())
            return (*get)(request);
    }
    return Status(404, "Not found");
}

void HttpServer::send(QTcpSocket* socket, const HttpRequest& request, const HttpResponse& response) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.Status) + " Scripted\r\n";
    for (const auto& [name, value] : response.Headers)
        head += name + ": " + value + "\r\n";
    const bool body = hasBody(response.Status);
    if (body && response.FillerLength >= 0) {
        socket->write(head + "Content-Length: " + QByteArray::number(response.FillerLength) + "\r\n\r\n");
        if (request.Method != "HEAD")
            sendFiller(socket, response.FillerLength);
        return;
    }
    if (body && response.TrickleMilliseconds > 0) {
        socket->write(head + "Content-Length: " + QByteArray::number(response.Body.size()) + "\r\n\r\n");
        if (request.Method != "HEAD")
            trickle(socket, response.Body, response.TrickleMilliseconds);
        return;
    }
    if (body && response.Frame == HttpResponse::Framing::Length)
        head += "Content-Length: " + QByteArray::number(response.Body.size()) + "\r\n";
    if (body && response.Frame == HttpResponse::Framing::Chunked)
        head += "Transfer-Encoding: chunked\r\n";
    if (response.Frame == HttpResponse::Framing::UntilClose)
        head += "Connection: close\r\n";
    socket->write(head + "\r\n");

    if (body && request.Method != "HEAD") {
        const bool chunked = response.Frame == HttpResponse::Framing::Chunked;
        const qsizetype cut = response.CloseAfter >= 0   ? response.CloseAfter
                              : response.StallAfter >= 0 ? response.StallAfter
                                                         : response.Body.size();
        // A cut body stops inside a chunk, as a server that dies mid-transfer would.
        for (qsizetype at = 0; at < cut; at += ChunkSize) {
            const QByteArray block = response.Body.mid(at, ChunkSize);
            const QByteArray sent = block.left(cut - at);
            socket->write(chunked
                              ? chunkHead(block.size()) + sent + (sent.size() == block.size() ? "\r\n" : "")
                              : sent);
        }
        if (chunked && cut == response.Body.size())
            socket->write(chunkHead(0) + "\r\n");
    }
    if (response.Frame == HttpResponse::Framing::UntilClose || response.CloseAfter >= 0)
        socket->disconnectFromHost();
}
