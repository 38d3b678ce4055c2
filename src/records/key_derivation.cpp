#include "records/key_derivation.h"

#include <openssl/evp.h>

namespace recordkey {

QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations, int length) {
    QByteArray key(length, Qt::Uninitialized);
    const auto* saltBytes = reinterpret_cast<const unsigned char*>(salt.constData());
    auto* keyBytes = reinterpret_cast<unsigned char*>(key.data());
    if (PKCS5_PBKDF2_HMAC(password.constData(), int(password.size()), saltBytes, int(salt.size()), iterations,
                          EVP_sha256(), length, keyBytes) != 1)
        return {};
    return key;
}

} // namespace recordkey
