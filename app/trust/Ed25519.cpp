#include "app/trust/Ed25519.h"

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct ContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Context = std::unique_ptr<EVP_MD_CTX, ContextFree>;

// The key, or nothing when Der is no Ed25519 public key (trailing bytes included).
Key publicKey(const QByteArray& der) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(der.constData());
    const unsigned char* end = bytes;
    Key key(d2i_PUBKEY(nullptr, &end, long(der.size())));
    if (!key || end != bytes + der.size() || EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519)
        return nullptr;
    return key;
}

} // namespace

bool IsEd25519PublicKey(const QByteArray& Der) {
    return publicKey(Der) != nullptr;
}

bool Ed25519Verify(const QByteArray& PublicKeyDer, const QByteArray& Message, const QByteArray& Signature) {
    const Key key = publicKey(PublicKeyDer);
    const Context context(EVP_MD_CTX_new());
    if (!key || !context)
        return false;
    // Ed25519 hashes the message itself: no digest is named, and the message goes whole in one call.
    if (EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(Signature.constData()),
                            size_t(Signature.size()),
                            reinterpret_cast<const unsigned char*>(Message.constData()),
                            size_t(Message.size())) == 1;
}
