// Ed25519 signatures through OpenSSL's libcrypto: the check of a link's signature against the public key of
// the trust file. Keys travel as base64 of their DER SubjectPublicKeyInfo, as `openssl pkey -pubout -outform
// DER` writes them.
#pragma once

#include <QByteArray>

// Whether Der is an Ed25519 public key in DER SubjectPublicKeyInfo form.
bool IsEd25519PublicKey(const QByteArray& Der);

// Whether Signature is the Ed25519 signature of Message under the public key PublicKeyDer. A key that is no
// Ed25519 key verifies nothing.
bool Ed25519Verify(const QByteArray& PublicKeyDer, const QByteArray& Message, const QByteArray& Signature);
