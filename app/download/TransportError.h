// The message of a request that failed below HTTP: no answer, a broken connection, a failed secure
// connection, too many redirections. Statuses that the server answered are not failures here.
//
// Qt reports a transport failure as a QNetworkReply error code, not as a system error, so each code is
// mapped to the system error number (errno) that names the same failure, and the message carries that
// number and the system's text for it:
//
//   ConnectionRefused, ProxyConnectionRefused        ECONNREFUSED
//   RemoteHostClosed, ProxyConnectionClosed          ECONNRESET
//   HostNotFound, ProxyNotFound                      EHOSTUNREACH
//   Timeout, ProxyTimeout, OperationCanceled         ETIMEDOUT (the download names its idle limit instead)
//   SslHandshakeFailed                               EPROTO
//   TemporaryNetworkFailure, NetworkSessionFailed,
//   BackgroundRequestNotAllowed                      ENETDOWN
//   ProxyAuthenticationRequired                      EACCES
//   ProtocolUnknown, ProtocolInvalidOperation        EPROTONOSUPPORT
//   ProtocolFailure (a malformed or cut response)    EPROTO
//   anything else                                    EIO
//
// TooManyRedirects says "Maximum number of redirections (5) exceeded" instead.
#pragma once

#include <QNetworkReply>
#include <QString>

// At most this many redirections are followed in a row.
inline constexpr int MaxRedirections = 5;

// Whether Error means that no complete answer came, as opposed to an answer with an HTTP error status.
// Status is the final answer's HTTP status, 0 when none came. A redirection that cannot be followed is an
// answer with its status (the download refuses one to another scheme itself, see RedirectRefusal); too many
// redirections are a failure.
bool IsTransportError(QNetworkReply::NetworkError Error, int Status);

// The message for a transport failure.
QString TransportErrorMessage(QNetworkReply::NetworkError Error);
