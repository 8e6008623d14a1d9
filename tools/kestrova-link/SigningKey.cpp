#include "SigningKey.h"

#include <QFile>

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct ContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Context = std::unique_ptr<EVP_MD_CTX, ContextFree>;
using Bio = std::unique_ptr<BIO, BioFree>;

QByteArray publicKeyBase64(EVP_PKEY* key) {
    unsigned char* der = nullptr;
    const int size = i2d_PUBKEY(key, &der);
    if (size <= 0)
        throw SigningKeyError("cannot encode the public key");
    const QByteArray result = QByteArray(reinterpret_cast<const char*>(der), size).toBase64();
    OPENSSL_free(der);
    return result;
}

Key readPrivateKey(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SigningKeyError(
            QStringLiteral("cannot read %1: %2").arg(path, file.errorString()).toStdString());
    const QByteArray pem = file.readAll();
    const Bio bio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
    Key key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
    if (!key || EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519)
        throw SigningKeyError(
            QStringLiteral("%1 holds no Ed25519 private key in PEM").arg(path).toStdString());
    return key;
}

} // namespace

QByteArray GenerateSigningKey(const QString& Path) {
    const Key key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"));
    const Bio bio(BIO_new(BIO_s_mem()));
    if (!key || !bio ||
        PEM_write_bio_PrivateKey(bio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1)
        throw SigningKeyError("cannot make an Ed25519 key");
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    QFile file(Path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) || file.write(data, size) != size ||
        !file.flush())
        throw SigningKeyError(
            QStringLiteral("cannot write %1: %2").arg(Path, file.errorString()).toStdString());
    return publicKeyBase64(key.get());
}

QByteArray SignWithKey(const QString& Path, const QByteArray& Message) {
    const Key key = readPrivateKey(Path);
    const Context context(EVP_MD_CTX_new());
    size_t size = 0;
    const auto* message = reinterpret_cast<const unsigned char*>(Message.constData());
    // Ed25519 hashes the message itself: no digest is named; the first call gives the signature's size.
    if (!context || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
        EVP_DigestSign(context.get(), nullptr, &size, message, size_t(Message.size())) != 1)
        throw SigningKeyError("cannot sign with the key");
    QByteArray signature(qsizetype(size), Qt::Uninitialized);
    if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size, message,
                       size_t(Message.size())) != 1)
        throw SigningKeyError("cannot sign with the key");
    signature.truncate(qsizetype(size));
    return signature;
}
