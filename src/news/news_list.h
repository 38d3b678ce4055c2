#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

// The news list as the product's web site serves it: GBK text, one
// "headline|>address" per line, lines separated by "\r\n" and numbered from 1.
// The list is cut as bytes; only a line's two parts are converted.
namespace newslist {

// Where the list lives on the news host (host[:port]); empty without a host.
QUrl listUrl(const QString& newsHost);

// Lists are a few kilobytes; a body cut at this size loses its last line.
constexpr qint64 kMaxListBytes = 256 * 1024;
// A headline longer than this is cut: it still scrolls, in bounded time.
constexpr qsizetype kMaxHeadlineChars = 200;

// Whether a downloaded body is a news list at all: some line holds "|>".
bool isNewsList(const QByteArray& text);
// The body split at every "\r\n"; a final "\r\n" leaves an empty last line.
// A body of `kMaxListBytes` or more was cut short: its unfinished last line
// is dropped.
QList<QByteArray> splitLines(const QByteArray& text);

struct Item {
    QString headline; // safe to show: no control or format characters
    QString address;
    // Length of the headline in GBK bytes (a Chinese character counts 2).
    int headlineBytes = 0;
};
// One line's headline and address; nullopt for a line that is not
// "headline|>address" with both parts present.
std::optional<Item> parseLine(const QByteArray& line);

// Only http and https addresses with a host are handed to the browser;
// anything else (file:, javascript:, a path, control characters) is not.
bool isOpenableAddress(const QString& address);

// The link's width: the headline's GBK bytes times half the width of "A" in
// the strip's font, truncated to whole pixels.
int linkWidth(int headlineBytes, int widthOfA);

// The line a run starts at, from the stored position: a list used up (the
// stored position on or past its last line) starts over at 1, and so does a
// position below 1.
int runStart(int stored, int lineCount);

} // namespace newslist
