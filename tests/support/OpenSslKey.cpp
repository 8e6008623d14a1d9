#include "support/OpenSslKey.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

#include <memory>

namespace {

struct OpenSslRun {
    int ExitCode = -1;
    QByteArray Output;
};

OpenSslRun openssl(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput()};
}

// A file in Folder holding Bytes, removed when the returned object goes.
std::unique_ptr<QTemporaryFile> written(const QString& folder, const QByteArray& bytes) {
    auto file = std::make_unique<QTemporaryFile>(QDir(folder).filePath(QStringLiteral("openssl-XXXXXX")));
    if (file->open()) {
        file->write(bytes);
        file->flush();
    }
    return file;
}

} // namespace

OpenSslKey::OpenSslKey(const QString& Folder, const QString& Name)
    : FFolder(Folder), FPath(QDir(Folder).filePath(Name + QStringLiteral(".pem"))) {
    openssl({"genpkey", "-algorithm", "ed25519", "-out", FPath});
}

QByteArray OpenSslKey::PublicKeyBase64() const {
    return OpenSslPublicKeyBase64(FPath);
}

QByteArray OpenSslKey::Sign(const QByteArray& Message) const {
    const auto message = written(FFolder, Message);
    return openssl({"pkeyutl", "-sign", "-inkey", FPath, "-rawin", "-in", message->fileName()}).Output;
}

QString OpenSslKey::SignedLink(const QString& Text) const {
    const QByteArray signature = Sign(Text.toUtf8());
    return Text + QStringLiteral("&signature=") +
           QString::fromLatin1(
               signature.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QByteArray OpenSslPublicKeyBase64(const QString& PrivateKeyPath) {
    return openssl({"pkey", "-in", PrivateKeyPath, "-pubout", "-outform", "DER"}).Output.toBase64();
}

bool OpenSslVerify(const QString& Folder, const QByteArray& PublicKeyBase64, const QByteArray& Message,
                   const QByteArray& Signature) {
    const auto key = written(Folder, QByteArray::fromBase64(PublicKeyBase64));
    const auto message = written(Folder, Message);
    const auto signature = written(Folder, Signature);
    return openssl({"pkeyutl", "-verify", "-pubin", "-keyform", "DER", "-inkey", key->fileName(), "-rawin",
                    "-in", message->fileName(), "-sigfile", signature->fileName()})
               .ExitCode == 0;
}
