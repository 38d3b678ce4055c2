// The news list split on any body the news host could send.
#include "fuzz_file.h"
#include "news/news_list.h"
#include "platform/gbk.h"

#include <QUrl>
#include <cstdint>
#include <cstring>

namespace {

bool showable(const QString& headline) {
    if (headline.isEmpty() || headline.size() > newslist::kMaxHeadlineChars + 1 ||
        headline.trimmed() != headline)
        return false;
    for (qsizetype i = 0; i < headline.size(); ++i) {
        const QChar c = headline[i];
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
        // A cut never splits a character in two.
        if (c.isHighSurrogate() && (i + 1 == headline.size() || !headline[i + 1].isLowSurrogate()))
            return false;
    }
    return true;
}

// Whether "\r\n" stands in `bytes`, found by memchr: Qt's search for a
// two-byte needle hashes its way through every byte of a quarter megabyte.
bool hasLineEnd(QByteArrayView bytes) {
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    for (const char* at = begin; at < end;) {
        const auto* lf = static_cast<const char*>(std::memchr(at, '\n', size_t(end - at)));
        if (!lf)
            return false;
        if (lf > begin && lf[-1] == '\r')
            return true;
        at = lf + 1;
    }
    return false;
}

// Lines are numbered from 1 as they stand in the body: nothing lost or moved,
// only the unfinished tail of a body cut at the size limit.
void checkSplit(const QByteArray& text, const QList<QByteArray>& lines) {
    FUZZ_CHECK(!lines.isEmpty());
    const QByteArrayView body(text);
    qsizetype at = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(!hasLineEnd(lines[i]));
        if (i) {
            FUZZ_CHECK(body.sliced(at).startsWith("\r\n"));
            at += 2;
        }
        FUZZ_CHECK(body.sliced(at).startsWith(lines[i]));
        at += lines[i].size();
    }
    if (text.size() < newslist::kMaxListBytes || !hasLineEnd(text)) {
        FUZZ_CHECK(at == text.size());
    } else {
        FUZZ_CHECK(body.sliced(at).startsWith("\r\n"));
        FUZZ_CHECK(!hasLineEnd(body.sliced(at + 2)));
    }
}

void checkLines(const QByteArray& text) {
    const QList<QByteArray> lines = newslist::splitLines(text);
    checkSplit(text, lines);
    bool anyItem = false;
    for (const QByteArray& line : lines) {
        if (const auto item = newslist::parseLine(line)) {
            anyItem = true;
            FUZZ_CHECK(showable(item->headline));
            FUZZ_CHECK(item->headlineBytes > 0 && item->headlineBytes == gbk::encode(item->headline).size());
            FUZZ_CHECK(!item->address.isEmpty() && !item->address.startsWith(u' ') &&
                       !item->address.endsWith(u' '));
            for (int widthOfA : {0, 1, 7, 16, 64}) {
                const int width = newslist::linkWidth(item->headlineBytes, widthOfA);
                FUZZ_CHECK(width >= 0 && width <= item->headlineBytes * widthOfA / 2 + 1);
            }
            if (newslist::isOpenableAddress(item->address)) {
                const QUrl url(item->address);
                FUZZ_CHECK(url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") &&
                           !url.host().isEmpty());
            }
        }
    }
    const bool newsList = newslist::isNewsList(text);
    if (anyItem)
        FUZZ_CHECK(newsList);
    if (newsList)
        FUZZ_CHECK(text.contains("|>"));
    const int count = int(lines.size());
    for (int stored : {-1, 0, 1, 2, count - 1, count, count + 1}) {
        const int start = newslist::runStart(stored, count);
        FUZZ_CHECK(start == 1 || (start >= 1 && start < count));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    checkLines(text);
    // Now and then the same bytes either side of filler that takes the body
    // past the size limit, so the cut of an overlong body is tried too: only
    // the split, as its lines are the input's (parsed above) and filler. Not
    // often, as splitting a quarter megabyte costs a millisecond. The filler
    // is short lines, as copying out a long one costs as much again, except
    // now and then for an input with no line end: one line, so the whole body
    // is one unfinished line.
    if (size > 1 && data[0] == 0xFF) {
        static const QByteArray longLine(newslist::kMaxListBytes, 'a');
        static const QByteArray shortLines = [] {
            QByteArray lines;
            while (lines.size() < newslist::kMaxListBytes)
                lines += QByteArray(1022, 'a') + "\r\n";
            return lines;
        }();
        const QByteArray& filler = (data[1] & 1) && !hasLineEnd(text) ? longLine : shortLines;
        // One buffer for every run: pages of a new one would cost as much again.
        static QByteArray overlong;
        overlong.resize(0);
        overlong.reserve(newslist::kMaxListBytes + 2 * qsizetype(size));
        overlong.append(text)
            .append(QByteArrayView(filler).first(qMax(0, newslist::kMaxListBytes - text.size())))
            .append(text);
        checkSplit(overlong, newslist::splitLines(overlong));
    }
    return 0;
}
