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

void checkLines(const QByteArray& text) {
    const QList<QByteArray> lines = newslist::splitLines(text);
    FUZZ_CHECK(!lines.isEmpty());
    QByteArray joined;
    bool anyItem = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(!lines[i].contains("\r\n"));
        joined += (i ? "\r\n" : "") + lines[i];
        if (const auto item = newslist::parseLine(lines[i])) {
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
    // Lines are numbered from 1 as they stand in the body: nothing lost or
    // moved, only the unfinished tail of a body cut at the size limit.
    if (text.size() < newslist::kMaxListBytes || !text.contains("\r\n")) {
        FUZZ_CHECK(joined == text);
    } else {
        FUZZ_CHECK(text.startsWith(joined + "\r\n"));
        FUZZ_CHECK(!text.mid(joined.size() + 2).contains("\r\n"));
    }
    if (anyItem)
        FUZZ_CHECK(newslist::isNewsList(text));
    if (newslist::isNewsList(text))
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
    // past the size limit, so the cut of an overlong body is tried too.
    if (size > 0 && (data[0] & 15) == 15)
        checkLines(text + QByteArray(newslist::kMaxListBytes - text.size(), 'a') + text);
    return 0;
}
