// The web server's side of signed links: an Ed25519 key pair in a PEM file, made and used through OpenSSL's
// libcrypto.
#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

// A key that cannot be made, read or used; what() says why.
class SigningKeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Makes a new key pair, writes its private key as PKCS#8 PEM to Path (readable by its owner only; an existing
// file is never replaced) and returns the public key as base64 of its DER SubjectPublicKeyInfo.
QByteArray GenerateSigningKey(const QString& Path);

// The Ed25519 signature of Message under the private key in the PEM file Path.
QByteArray SignWithKey(const QString& Path, const QByteArray& Message);
