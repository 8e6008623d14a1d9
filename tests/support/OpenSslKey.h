// An Ed25519 key made and used by the openssl command line, the independent signer and checker of links.
#pragma once

#include <QByteArray>
#include <QString>

class OpenSslKey {
public:
    // Makes a new key in Folder (the private key's PEM file is Name.pem).
    OpenSslKey(const QString& Folder, const QString& Name = QStringLiteral("key"));

    QString PrivateKeyPath() const { return FPath; }
    // The public key as trust.ini holds it: base64 of its DER SubjectPublicKeyInfo.
    QByteArray PublicKeyBase64() const;

    // The signature of Message, as `openssl pkeyutl -sign -rawin` makes it.
    QByteArray Sign(const QByteArray& Message) const;
    // Text followed by "&signature=" and the base64url signature of Text.
    QString SignedLink(const QString& Text) const;

private:
    QString FFolder;
    QString FPath;
};

// Whether `openssl pkeyutl -verify -rawin` takes Signature as the signature of Message under the public key
// PublicKeyBase64 (base64 of its DER SubjectPublicKeyInfo). Folder holds the files it needs meanwhile.
bool OpenSslVerify(const QString& Folder, const QByteArray& PublicKeyBase64, const QByteArray& Message,
                   const QByteArray& Signature);

// The public key of the PEM file PrivateKeyPath as `openssl pkey -pubout -outform DER` gives it, in base64.
QByteArray OpenSslPublicKeyBase64(const QString& PrivateKeyPath);
