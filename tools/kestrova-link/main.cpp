// kestrova-link: the web server's side of signed links, and a tool for testing them.
//
//   kestrova-link keygen PRIVATE.pem
//       makes a key pair, writes the private key and prints the public-key line for trust.ini
//   kestrova-link sign PRIVATE.pem --module M --url U [--ttl SECONDS] [--option NAME=VALUE ...]
//       prints the link that prints U for module M, valid for SECONDS (120 unless given), signed
//   kestrova-link check [FILE]
//       reads the trust file FILE as Kestrova does, the administrator's unless FILE is given, and prints the
//       policy it means, or why it is broken
//   kestrova-link --help | -h, kestrova-link --version
//       prints the usage or the version
//
// Exit codes: 0 done, 1 the key cannot be made, read or used, or the trust file is broken or missing, 2 a
// usage error.
#include "PolicyReport.h"
#include "SigningKey.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 DefaultTtl = 120;

const char* const Usage = "Usage: kestrova-link keygen PRIVATE.pem\n"
                          "   or: kestrova-link sign PRIVATE.pem --module M --url U [--ttl SECONDS]"
                          " [--option NAME=VALUE ...]\n"
                          "   or: kestrova-link check [TRUST.ini]\n"
                          "   or: kestrova-link --help | --version\n";

const char* const Help =
    "Signs kestrova: links for a web server, and checks trust files as Kestrova reads them.\n"
    "\n"
    "  keygen PRIVATE.pem   makes an Ed25519 key pair, writes the private key and prints the\n"
    "                       public-key= line for trust.ini\n"
    "  sign PRIVATE.pem     prints the signed link that prints the PDF at U for module M, valid for\n"
    "                       SECONDS (120 unless given), with each --option as a print option\n"
    "  check [TRUST.ini]    reads the trust file (the administrator's unless one is given) and prints\n"
    "                       the policy it means, or why it is broken (exit code 1)\n"
    "  -h, --help           this help\n"
    "  --version            the program's version\n"
    "\n"
    "Exit codes: 0 done, 1 the key or the trust file cannot be used, 2 a usage error.\n";

struct UsageError {
    QString Message;
};

struct SignRequest {
    QString KeyPath;
    QString Module;
    QString Url;
    qint64 Ttl = DefaultTtl;
    QList<QPair<QString, QString>> Options;
};

SignRequest readSignRequest(const QStringList& arguments) {
    SignRequest request;
    request.KeyPath = arguments.value(0);
    bool haveModule = false;
    bool haveUrl = false;
    for (qsizetype i = 1; i < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        if (i + 1 >= arguments.size())
            throw UsageError{QStringLiteral("%1 needs a value").arg(name)};
        const QString& value = arguments[i + 1];
        if (name == u"--module") {
            request.Module = value;
            haveModule = true;
        } else if (name == u"--url") {
            request.Url = value;
            haveUrl = true;
        } else if (name == u"--ttl") {
            bool ok = false;
            request.Ttl = value.toLongLong(&ok);
            if (!ok || request.Ttl <= 0)
                throw UsageError{QStringLiteral("--ttl needs a positive number of seconds")};
        } else if (name == u"--option") {
            const qsizetype equals = value.indexOf(u'=');
            if (equals <= 0)
                throw UsageError{QStringLiteral("--option needs NAME=VALUE")};
            const QString option = value.left(equals);
            // The link's own parameters are not options, and an option given twice would be ambiguous.
            static const QStringList linkParameters{"moduleaddress", "pdfurl", "expires", "signature"};
            if (linkParameters.contains(option))
                throw UsageError{
                    QStringLiteral("--option cannot give %1, which the link itself holds").arg(option)};
            if (std::any_of(request.Options.cbegin(), request.Options.cend(),
                            [&option](const auto& given) { return given.first == option; }))
                throw UsageError{QStringLiteral("--option %1 is given twice").arg(option)};
            request.Options.append({option, value.mid(equals + 1)});
        } else {
            throw UsageError{QStringLiteral("unknown argument %1").arg(name)};
        }
    }
    if (request.KeyPath.isEmpty() || !haveModule || !haveUrl)
        throw UsageError{QStringLiteral("sign needs PRIVATE.pem, --module and --url")};
    return request;
}

QByteArray parameter(const QString& name, const QString& value) {
    return QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value);
}

// The link: its parameters in the order given, then expires, all signed, then the signature.
QByteArray signedLink(const SignRequest& request) {
    QByteArray link = "kestrova://print/?" + parameter(QStringLiteral("moduleaddress"), request.Module) +
                      '&' + parameter(QStringLiteral("pdfurl"), request.Url);
    for (const auto& [name, value] : request.Options)
        link += '&' + parameter(name, value);
    link += "&expires=" + QByteArray::number(QDateTime::currentSecsSinceEpoch() + request.Ttl);
    const QByteArray signature = SignWithKey(request.KeyPath, link);
    return link +
           "&signature=" + signature.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

int run(const QStringList& arguments) {
    const QString command = arguments.value(0);
    if ((command == u"--help" || command == u"-h") && arguments.size() == 1) {
        std::printf("%s\n%s", Usage, Help);
        return 0;
    }
    if (command == u"--version" && arguments.size() == 1) {
        std::printf("kestrova-link %s\n", KESTROVA_VERSION);
        return 0;
    }
    if (command == u"keygen" && arguments.size() == 2) {
        std::printf("public-key=%s\n", GenerateSigningKey(arguments[1]).constData());
        return 0;
    }
    if (command == u"sign") {
        std::printf("%s\n", signedLink(readSignRequest(arguments.mid(1))).constData());
        return 0;
    }
    if (command == u"check" && arguments.size() <= 2) {
        const PolicyReport report = ReportPolicy(arguments.value(1));
        std::fputs(report.Text.toLocal8Bit().constData(), report.Broken ? stderr : stdout);
        return report.Broken ? 1 : 0;
    }
    throw UsageError{command.isEmpty() ? QStringLiteral("no command")
                                       : QStringLiteral("unknown command %1").arg(command)};
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    try {
        return run(arguments);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kestrova-link: %s\n%s", qPrintable(error.Message), Usage);
        return 2;
    } catch (const SigningKeyError& error) {
        std::fprintf(stderr, "kestrova-link: %s\n", error.what());
        return 1;
    }
}
