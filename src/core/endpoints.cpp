#include "endpoints.h"

#include "app_dir.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUrl>
#include <algorithm>

namespace endpoints {

namespace {

const QString kSection = QStringLiteral("endpoints");

// One line of the file: a line whose first character is ";" or "#" is a
// comment; a value is everything after the first "=" without outer white space.
struct Line {
    enum Kind { Blank, Comment, Section, Value, Other } kind = Blank;
    QString key = {}; // or the section's name
    QString value = {};
};

bool isQuoted(const QString& value) {
    return value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"');
}

Line parseLine(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes).trimmed();
    // Byte order marks before a line (an editor's before the first, and more
    // from files joined together) are no part of a key: left in, a key would
    // not read back as itself once written.
    while (text.startsWith(QChar(0xfeff)))
        text = text.mid(1).trimmed();
    if (text.isEmpty())
        return {};
    if (text.startsWith(u';') || text.startsWith(u'#'))
        return {Line::Comment};
    if (text.startsWith(u'[')) {
        const qsizetype end = text.lastIndexOf(u']');
        return end > 0 ? Line{Line::Section, text.mid(1, end - 1).trimmed()} : Line{Line::Other};
    }
    const qsizetype equals = text.indexOf(u'=');
    const QString key = text.left(std::max<qsizetype>(equals, 0)).trimmed();
    if (key.isEmpty())
        return {Line::Other};
    QString value = text.mid(equals + 1).trimmed();
    // Older versions of the provisioning tool wrote some values in double quotes.
    if (isQuoted(value))
        value = value.mid(1, value.size() - 2);
    return {Line::Value, key, value};
}

// The line that parseLine() reads back as `key` and `value`.
QByteArray lineOf(const QString& key, const QString& value) {
    const bool quote = isQuoted(value) || value != value.trimmed();
    return (key + u'=' + (quote ? u'"' + value + u'"' : value)).toUtf8();
}

bool isHostKey(const QString& key) {
    return key.endsWith(QLatin1String("Host"));
}

bool isAddressKey(const QString& key) {
    return key.endsWith(QLatin1String("Url")) || key.endsWith(QLatin1String("Stream"));
}

} // namespace

QList<Entry> readEntries(const QString& path) {
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || info.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly))
        return {};
    QList<Entry> entries;
    QHash<QString, qsizetype> positions;
    bool inSection = false;
    // As much as the file held when it was measured: asking for the bound itself
    // would allocate all 4 MiB on every read.
    for (const QByteArray& bytes : file.read(info.size()).split('\n')) {
        const Line line = parseLine(bytes);
        if (line.kind == Line::Section)
            inSection = line.key == kSection;
        if (line.kind != Line::Value || !inSection)
            continue;
        // A key given twice: the later line wins, as a line added at the end is meant to.
        const auto known = positions.constFind(line.key);
        if (known != positions.cend()) {
            entries[*known].value = line.value;
            continue;
        }
        positions.insert(line.key, entries.size());
        entries.append({line.key, line.value});
    }
    return entries;
}

QByteArray withValues(const QByteArray& text, const QList<Entry>& changes) {
    QList<QByteArray> lines = text.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    QHash<QString, QString> wanted;
    for (const Entry& change : changes)
        wanted.insert(change.key, change.value);
    QSet<QString> written;
    bool inSection = false;
    qsizetype sectionEnd = -1; // where keys the section lacks are added
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line line = parseLine(lines[i]);
        if (line.kind == Line::Section)
            inSection = line.key == kSection;
        if (!inSection || line.kind == Line::Blank)
            continue;
        sectionEnd = i + 1;
        if (line.kind == Line::Value && wanted.contains(line.key)) {
            lines[i] = lineOf(line.key, wanted.value(line.key));
            written.insert(line.key);
        }
    }
    QList<QByteArray> added;
    if (sectionEnd < 0) {
        added.append("[" + kSection.toUtf8() + "]");
        sectionEnd = lines.size();
    }
    for (const Entry& change : changes)
        if (!written.contains(change.key))
            added.append(lineOf(change.key, change.value));
    for (qsizetype i = 0; i < added.size(); ++i)
        lines.insert(sectionEnd + i, added.at(i));
    return lines.join('\n') + '\n';
}

bool isUsable(const QString& key, const QString& value) {
    if (isHostKey(key)) {
        // "host", "host:port", "host:port/path": never a scheme or a query of its own.
        const QUrl url(QStringLiteral("http://") + value, QUrl::StrictMode);
        return url.isValid() && !url.host().isEmpty() && url.userInfo().isEmpty() && !url.hasQuery() &&
               !url.hasFragment() && !value.contains(QLatin1String("://"));
    }
    if (isAddressKey(key)) {
        const QUrl url(value, QUrl::StrictMode);
        return url.isValid() &&
               (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
               !url.host().isEmpty();
    }
    return true;
}

Endpoints Endpoints::load() {
    return load(appPath(QStringLiteral("endpoints.ini")));
}

Endpoints Endpoints::load(const QString& path) {
    Endpoints endpoints;
    for (const Entry& entry : readEntries(path)) {
        // An empty value is a key left unset, as before.
        if (entry.value.isEmpty() || isUsable(entry.key, entry.value))
            endpoints.values_.insert(entry.key, entry.value);
        else
            endpoints.unusable_.append(entry.key);
    }
    return endpoints;
}

QString value(const QString& key) {
    return Endpoints::load().value(key);
}

QString Endpoints::unusableKeysMessage() const {
    if (unusable_.isEmpty())
        return {};
    return QStringLiteral("endpoints.ini 中这些键的值不是可用的地址，用到它们的功能暂时不能使用：%1。"
                          "请改正后重新运行软件。")
        .arg(unusable_.join(QStringLiteral("、")));
}

} // namespace endpoints
