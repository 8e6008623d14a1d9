// A scripted HTTP/1.1 server on 127.0.0.1 for download tests. It runs in the test's own thread, served by
// the message loop that the code under test runs while it waits.
//
// Each route answers one method and path (query included) with a fixed response or a handler. A HEAD
// without a route of its own gets the GET route's answer without its body; anything else unrouted gets 404.
// Connections stay open between requests unless a response says otherwise.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QTcpServer>

#include <functional>
#include <ostream>

struct HttpRequest {
    QByteArray Method;
    QByteArray Path;
    QHash<QByteArray, QByteArray> Headers; // names in lower case

    QByteArray Header(const QByteArray& name) const { return Headers.value(name.toLower()); }
};

struct HttpResponse {
    enum class Framing {
        Length,    // a Content-Length header
        Chunked,   // Transfer-Encoding: chunked
        UntilClose // neither; the server closes the connection after the body
    };

    int Status = 200;
    QList<QPair<QByteArray, QByteArray>> Headers;
    QByteArray Body;
    Framing Frame = Framing::Length;
    // When not negative, the server sends only this many bytes of the body and closes the connection.
    qint64 CloseAfter = -1;
    // When not negative, the server sends only this many bytes of the body and then nothing more, keeping
    // the connection open.
    qint64 StallAfter = -1;
    // When not negative, the body is this many bytes of filler instead of Body, sent with their length and
    // made as the connection drains, so that the server never holds more than a little of it.
    qint64 FillerLength = -1;
    // When positive, the body goes with its length one byte at a time, this many milliseconds apart, as a
    // server that trickles it.
    int TrickleMilliseconds = 0;

    HttpResponse& With(const QByteArray& name, const QByteArray& value) {
        Headers.append({name, value});
        return *this;
    }
};

// Names a framing, as test parameters show it.
inline void PrintTo(HttpResponse::Framing framing, std::ostream* os) {
    constexpr const char* names[] = {"Content-Length", "chunked", "until close"};
    *os << names[static_cast<int>(framing)];
}

class HttpServer : public QObject {
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    HttpServer();

    // "http://127.0.0.1:<port>" followed by Path.
    QString Url(const QString& path) const;

    void On(const QByteArray& method, const QByteArray& path, Handler handler);
    void On(const QByteArray& method, const QByteArray& path, const HttpResponse& response);

    // Every request received so far, in order.
    const QList<HttpRequest>& Requests() const { return FRequests; }

    static HttpResponse Status(int status, const QByteArray& body = {});
    static HttpResponse Redirect(const QString& location);

private:
    void serve(QTcpSocket* socket);
    HttpResponse answer(const HttpRequest& request) const;
    static void send(QTcpSocket* socket, const HttpRequest& request, const HttpResponse& response);

    QTcpServer FServer;
    QHash<QByteArray, Handler> FRoutes;
    QList<HttpRequest> FRequests;
};
