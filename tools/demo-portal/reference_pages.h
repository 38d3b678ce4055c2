#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace demoportal {

// One page of the reference browser's links, served at "/ref/" + site + path
// (the chart provider's home page has no site: it is "/cn/").
struct ReferencePage {
    QString site;
    QString path;
};
const QList<ReferencePage>& referencePages();

// The page as a GBK document, like the Chinese portals it stands in for.
// `query` is the request's query (a search page shows what was searched);
// the prices are the walk's current quote.
QByteArray buildReferencePage(const ReferencePage& page, const QString& query, const QString& buy,
                              const QString& sell);

// The unit converter: 196 x 124 pixels of plain HTML and script that convert
// between yuan per gram, dollars per ounce, yuan per ounce and dollars per
// gram, starting from the buy price.
QByteArray buildConverterPage(const QString& buy);

// A live HLS playlist of three `seconds`-long segments that loop one clip;
// `sequence` is the number of the newest segment.
QByteArray buildLivePlaylist(const QString& channel, qint64 sequence, int seconds);

} // namespace demoportal
