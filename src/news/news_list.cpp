#include "news_list.h"

#include "core/text_rules.h"
#include "platform/gbk.h"

#include <string_view>

namespace newslist {

namespace {

const QByteArray kSeparator = QByteArrayLiteral("|>");

// Where "|>" starts in a GBK line, stepping over double-byte characters: "|"
// is also a valid second byte of one, which a plain byte search would split.
qsizetype findSeparator(const QByteArray& line, qsizetype from = 0) {
    for (qsizetype i = from; i + 1 < line.size(); ++i) {
        const auto lead = static_cast<unsigned char>(line[i]);
        const auto trail = static_cast<unsigned char>(line[i + 1]);
        if (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
            ++i; // the character's second byte
            continue;
        }
        if (line[i] == '|' && line[i + 1] == '>')
            return i;
    }
    return -1;
}

// Spaces around the address are the list's layout, not part of it; anything
// else stays and is judged by isOpenableAddress().
QByteArray withoutSpaces(QByteArray bytes) {
    while (bytes.startsWith(' '))
        bytes.remove(0, 1);
    while (bytes.endsWith(' '))
        bytes.chop(1);
    return bytes;
}

QString shownText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (QChar c : text) {
        switch (c.category()) {
        case QChar::Other_Control:
            shown += u' ';
            break;
        case QChar::Other_Format: // direction overrides and invisible marks
            break;
        default:
            shown += c;
        }
    }
    shown = shown.trimmed();
    if (shown.size() > kMaxHeadlineChars) {
        qsizetype cut = kMaxHeadlineChars;
        if (shown[cut - 1].isHighSurrogate())
            --cut;
        shown = shown.left(cut) + u'…';
    }
    return shown;
}

} // namespace

QUrl listUrl(const QString& newsHost) {
    if (newsHost.trimmed().isEmpty())
        return {};
    return QUrl(QStringLiteral("http://") + newsHost.trimmed() + QStringLiteral("/news/newslist.txt"));
}

bool isNewsList(const QByteArray& text) {
    for (const QByteArray& line : splitLines(text)) {
        if (findSeparator(line) >= 0)
            return true;
    }
    return false;
}

QList<QByteArray> splitLines(const QByteArray& text) {
    QList<QByteArray> lines;
    // std::string_view finds the line ends with memchr; QByteArray::indexOf
    // hashes its way through every byte of the body.
    const std::string_view body(text.constData(), size_t(text.size()));
    size_t from = 0;
    for (size_t end; (end = body.find("\r\n", from)) != std::string_view::npos; from = end + 2)
        lines.append(text.mid(qsizetype(from), qsizetype(end - from)));
    if (text.size() < kMaxListBytes || lines.isEmpty())
        lines.append(text.mid(qsizetype(from)));
    return lines;
}

std::optional<Item> parseLine(const QByteArray& line) {
    const qsizetype at = findSeparator(line);
    if (at < 0)
        return std::nullopt;
    // A further "|>" ends the address.
    const qsizetype next = findSeparator(line, at + kSeparator.size());
    const QByteArray addressBytes =
        withoutSpaces(line.mid(at + kSeparator.size(), next < 0 ? -1 : next - at - kSeparator.size()));
    Item item;
    item.headline = shownText(gbk::decode(line.left(at)));
    item.address = gbk::decode(addressBytes);
    if (item.headline.isEmpty() || item.address.isEmpty())
        return std::nullopt;
    item.headlineBytes = int(gbk::encode(item.headline).size());
    return item;
}

bool isOpenableAddress(const QString& address) {
    for (QChar c : address) {
        if (c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
    }
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") && !url.host().isEmpty();
}

int linkWidth(int headlineBytes, int widthOfA) {
    return int(toIntTrunc(headlineBytes * (widthOfA / 2.0)));
}

int runStart(int stored, int lineCount) {
    return stored >= lineCount || stored < 1 ? 1 : stored;
}

} // namespace newslist
