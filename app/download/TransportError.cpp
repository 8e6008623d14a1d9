#include "app/download/TransportError.h"

#include <cerrno>
#include <cstring>

namespace {

int systemErrorNumber(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::ProxyConnectionRefusedError:
        return ECONNREFUSED;
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::ProxyConnectionClosedError:
        return ECONNRESET;
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ProxyNotFoundError:
        return EHOSTUNREACH;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::OperationCanceledError:
        return ETIMEDOUT;
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::ProtocolFailure:
        return EPROTO;
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return ENETDOWN;
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return EACCES;
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return EPROTONOSUPPORT;
    default:
        return EIO;
    }
}

} // namespace

bool IsTransportError(QNetworkReply::NetworkError Error, int Status) {
    if (Status >= 300 && Status < 400 && Error != QNetworkReply::TooManyRedirectsError)
        return false;
    // Content errors (201-299) and server errors (401-499) are answers with an HTTP error status.
    const bool httpStatus =
        (Error >= QNetworkReply::ContentAccessDenied && Error <= QNetworkReply::UnknownContentError) ||
        (Error >= QNetworkReply::InternalServerError && Error <= QNetworkReply::UnknownServerError);
    return Error != QNetworkReply::NoError && !httpStatus;
}

QString TransportErrorMessage(QNetworkReply::NetworkError Error) {
    if (Error == QNetworkReply::TooManyRedirectsError)
        return QStringLiteral("Maximum number of redirections (%1) exceeded").arg(MaxRedirections);
    const int number = systemErrorNumber(Error);
    return QStringLiteral("Error sending data: (%1) %2")
        .arg(number)
        .arg(QString::fromLocal8Bit(std::strerror(number)));
}
