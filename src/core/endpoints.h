#pragma once

#include "demo_feed.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>

// Hosts and addresses of every outside endpoint, read from "endpoints.ini"
// (UTF-8, section [endpoints]) in the program directory.
//
// A value is everything after the key's "=" without outer white space, read
// as written: addresses hold ";" and "," (a session in the path, a list in a
// query), so neither starts a comment or a list. A line whose first character
// is ";" or "#" is a comment.
namespace endpoints {

// A larger file is no endpoint list; it is refused before its bytes are read.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

struct Entry {
    QString key;
    QString value;
};

// The keys of the [endpoints] section with their values as written, in file
// order; nothing for a missing, unreadable or oversized file.
QList<Entry> readEntries(const QString& path);
// The file's text `text` with `changes` made: a key's line in [endpoints]
// takes the new value, a key the section lacks is added at its end (the
// section too when missing); every other line stays as it is.
QByteArray withValues(const QByteArray& text, const QList<Entry>& changes);

// What a key's name says its value is: "…Host" a host with an optional
// ":port" and path, "…Url" and "…Stream" a full http or https address.
// Whether `value` is that; a key of another name takes any value.
bool isUsable(const QString& key, const QString& value);

// Every key of the file, read once: a window that needs several endpoints
// loads them together when it is built.
class Endpoints {
public:
    // The program directory's "endpoints.ini".
    static Endpoints load();
    // A missing, unreadable or oversized file gives no values.
    static Endpoints load(const QString& path);

    // The value of `key`; empty when the file or the key is missing, or when
    // the value is no address (see unusableKeys()). An address the run
    // redirected is given as redirected.
    QString value(const QString& key) const { return demofeed::apply(values_.value(key)); }
    // Some key, as written in the file, names the host and port `address`.
    bool names(const QString& address) const {
        return std::any_of(values_.cbegin(), values_.cend(),
                           [&](const QString& v) { return demofeed::names(v, address); });
    }
    // The keys whose value is not an address, in file order: the user is
    // told, and what needs them stays off as if they were missing.
    const QStringList& unusableKeys() const { return unusable_; }
    // What the user is told about them; empty when every value is usable.
    QString unusableKeysMessage() const;

private:
    QHash<QString, QString> values_;
    QStringList unusable_;
};

// Every key of the file, spelled once for the program and for the tool that
// writes the file.
namespace key {
inline const QString quotePortalHost = QStringLiteral("quotePortalHost");
inline const QString productPageUrl = QStringLiteral("productPageUrl");
inline const QString icbcSiteUrl = QStringLiteral("icbcSiteUrl");
inline const QString ccbSiteUrl = QStringLiteral("ccbSiteUrl");
inline const QString bocSiteUrl = QStringLiteral("bocSiteUrl");
inline const QString chartImageHost = QStringLiteral("chartImageHost");
inline const QString chartImageIntlHost = QStringLiteral("chartImageIntlHost");
inline const QString klineChartHost = QStringLiteral("klineChartHost");
inline const QString partnerChartHost = QStringLiteral("partnerChartHost");
inline const QString javaDownloadUrl = QStringLiteral("javaDownloadUrl");
inline const QString newsHost = QStringLiteral("newsHost");
inline const QString mt4DownloadUrl = QStringLiteral("mt4DownloadUrl");
inline const QString kitcoSiteUrl = QStringLiteral("kitcoSiteUrl");
inline const QString hexunSiteUrl = QStringLiteral("hexunSiteUrl");
inline const QString partnerSiteUrl = QStringLiteral("partnerSiteUrl");
inline const QString tvStartStream = QStringLiteral("tvStartStream");
inline const QString tvChannel1Stream = QStringLiteral("tvChannel1Stream");
inline const QString tvChannel2Stream = QStringLiteral("tvChannel2Stream");
inline const QString tvChannel3Stream = QStringLiteral("tvChannel3Stream");
inline const QString referenceForexHost = QStringLiteral("referenceForexHost");
inline const QString referenceDataHost = QStringLiteral("referenceDataHost");
inline const QString referenceRatesHost = QStringLiteral("referenceRatesHost");
inline const QString referenceStocksHost = QStringLiteral("referenceStocksHost");
inline const QString referenceSearchHost = QStringLiteral("referenceSearchHost");
inline const QString referenceSohuHost = QStringLiteral("referenceSohuHost");
inline const QString referenceHexunHost = QStringLiteral("referenceHexunHost");
inline const QString referenceSinaHost = QStringLiteral("referenceSinaHost");
inline const QString referenceCngoldHost = QStringLiteral("referenceCngoldHost");
inline const QString referenceEmperorHost = QStringLiteral("referenceEmperorHost");
inline const QString referenceRuideHost = QStringLiteral("referenceRuideHost");
inline const QString referenceIcbcHost = QStringLiteral("referenceIcbcHost");
inline const QString referenceCcbHost = QStringLiteral("referenceCcbHost");
inline const QString referenceBocHost = QStringLiteral("referenceBocHost");
inline const QString referencePartnerHost = QStringLiteral("referencePartnerHost");
inline const QString converterHost = QStringLiteral("converterHost");
} // namespace key

// One key on its own; it reads the whole file, so an action needing more
// keys loads Endpoints once instead.
QString value(const QString& key);

} // namespace endpoints
