#pragma once

#include <QString>

// The demo portal's address. A fresh program directory points every endpoint
// the portal serves at it; when nothing answers there, the program starts a
// portal of its own on a free port and, for this run only, reads every
// endpoint that names the demo address as naming that port instead. The
// user's endpoints.ini is never rewritten.
namespace demofeed {

// host:port the defaults name (127.0.0.1:18090 unless the build chose another).
QString defaultAddress();

// Whether `value` (host[:port][/path], or an address with a scheme) names the
// host and port `address` as a whole: "127.0.0.1:180901" does not name
// "127.0.0.1:18090".
bool names(const QString& value, const QString& address);
// `value` with the `from` it names replaced by `to`; unchanged when it names
// no `from`.
QString replaced(const QString& value, const QString& from, const QString& to);

// For the rest of the run, endpoints naming the default address name `to`.
void redirectTo(const QString& to);
// `value` as this run uses it.
QString apply(const QString& value);
// Whether `value`, as this run uses it, names the demo feed.
bool isDemo(const QString& value);

} // namespace demofeed
