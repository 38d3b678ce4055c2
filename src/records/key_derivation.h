#pragma once

#include <QByteArray>

namespace recordkey {

// PBKDF2 with HMAC-SHA256 (RFC 8018): `length` bytes of key from a password
// and salt. Empty only if the crypto library fails.
QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations, int length);

} // namespace recordkey
