#include "settings_store.h"

#include "platform/gbk.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

// Only the byte-string classes are used; GBK is converted at this file's edge.
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <algorithm>
#include <limits>
#include <map>
#include <optional>

namespace {

using Ini = CSimpleIniCaseA;

// The library's white space and line breaks, which decide where names and
// values start and end.
bool isIniSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// GBK bytes of `text`, or nothing when GBK cannot hold it exactly: a name or a
// value that came back different would silently be another name or value.
std::optional<QByteArray> exactGbk(const QString& text) {
    QByteArray bytes = gbk::encode(text);
    if (bytes.contains('\0') || gbk::decode(bytes) != text)
        return std::nullopt;
    return bytes;
}

bool withinLimit(const QFileInfo& info) {
    return info.isFile() && info.size() <= settings::kMaxFileBytes;
}

struct FileRead {
    bool exists = false; // a file within the size limit
    // Its bytes, empty for a missing file; nothing when the path must not or
    // cannot be read (too large, a directory, no permission).
    std::optional<QByteArray> bytes;
};

// The size is checked before anything is read, so an oversized file costs a
// stat, not its contents.
FileRead readFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {false, QByteArray()};
    if (!withinLimit(info))
        return {};
    QFile file(path);
    // Read in one go into the result, without a 16 KiB buffer of its own.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {true, std::nullopt};
    // The size of the file now open, which the path may no longer name. A
    // file that changes size while it is read counts as unreadable.
    const qint64 size = file.size();
    if (size > settings::kMaxFileBytes)
        return {};
    QByteArray bytes = file.read(size + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() != size)
        return {true, std::nullopt};
    return {true, std::move(bytes)};
}

// Byte strings in, byte strings out; quotes let a value keep its outer white
// space, and "<<<" stays plain text rather than opening a multi-line value.
bool parse(Ini& ini, const QByteArray& bytes) {
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    ini.SetMultiLine(false);
    ini.SetQuotes(true);
    ini.SetSpaces(false);
    return ini.LoadData(bytes.constData(), static_cast<size_t>(bytes.size())) >= 0;
}

using Entries = std::map<QByteArray, std::map<QByteArray, QByteArray>>;

Entries entriesOf(const Ini& ini) {
    Entries all;
    Ini::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const Ini::Entry& section : sections) {
        auto& keys = all[QByteArray(section.pItem)];
        Ini::TNamesDepend names;
        ini.GetAllKeys(section.pItem, names);
        for (const Ini::Entry& name : names)
            keys[QByteArray(name.pItem)] = QByteArray(ini.GetValue(section.pItem, name.pItem, ""));
    }
    return all;
}

// The library trims white space around a value and strips one pair of
// enclosing quotes (without escapes), so such values are stored quoted.
QByteArray storedForm(const QByteArray& value) {
    if (value.isEmpty())
        return value;
    const bool padded = isIniSpace(value.front()) || isIniSpace(value.back());
    const bool enclosed = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return padded || enclosed ? '"' + value + '"' : value;
}

// Where a key and its section sit in the file bytes, found by the same rules
// the library parses by, so an edit changes only the line the reader uses.
struct Spot {
    qsizetype parsedEnd = 0;   // the library stops at the first NUL byte
    qsizetype valueBegin = -1; // just after the '=' of the key's last line
    qsizetype valueEnd = -1;   // end of that line, before its line break
    qsizetype sectionEnd = -1; // end of the section's last header or key line
};

// Reads the lines of an INI text by the library's rules, which stop at the
// first NUL byte.
struct IniText {
    explicit IniText(const QByteArray& bytes)
        : d(bytes.constData()), n(bytes.contains('\0') ? bytes.indexOf('\0') : bytes.size()) {}

    qsizetype lineEnd(qsizetype p) const {
        while (p < n && !isLineBreak(d[p]))
            ++p;
        return p;
    }
    qsizetype skipSpace(qsizetype p) const {
        while (p < n && isIniSpace(d[p]))
            ++p;
        return p;
    }
    QByteArray name(qsizetype begin, qsizetype end) const {
        while (end > begin && isIniSpace(d[end - 1]))
            --end;
        return QByteArray(d + begin, end - begin);
    }
    // The header at `i` (a '['): the section it opens, `i` then at its line's
    // end; nothing for a '[' without ']' on its line, `i` then where it stopped.
    std::optional<QByteArray> header(qsizetype& i) const {
        // Like the library, white space after '[' may run across line breaks.
        i = skipSpace(i + 1);
        const qsizetype begin = i;
        while (i < n && d[i] != ']' && !isLineBreak(d[i]))
            ++i;
        if (i >= n || d[i] != ']')
            return std::nullopt;
        QByteArray section = name(begin, i);
        i = lineEnd(i);
        return section;
    }

    const char* d;
    const qsizetype n;
};

Spot locate(const QByteArray& bytes, const QByteArray& section, const QByteArray& key) {
    const IniText text(bytes);
    const char* d = text.d;
    const qsizetype n = text.n;
    Spot spot;
    spot.parsedEnd = n;
    // Lines before the first header belong to the unnamed section. After a '['
    // line without ']' the library files the following keys under a garbled
    // name holding a line break, which no caller can ask for.
    std::optional<QByteArray> current = QByteArray();
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while ((i = text.skipSpace(i)) < n) {
        if (d[i] == ';' || d[i] == '#') {
            i = text.lineEnd(i);
            continue;
        }
        if (d[i] == '[') {
            current = text.header(i);
            if (current && *current == section)
                spot.sectionEnd = i;
            continue;
        }
        const qsizetype begin = i;
        while (i < n && d[i] != '=' && !isLineBreak(d[i]))
            ++i;
        if (i >= n || d[i] != '=')
            continue;
        const qsizetype equals = i;
        i = text.lineEnd(i);
        if (equals == begin || !current || *current != section)
            continue;
        spot.sectionEnd = i;
        if (text.name(begin, equals) == key) {
            spot.valueBegin = equals + 1;
            spot.valueEnd = i;
        }
    }
    return spot;
}

// The file with `key` set, every other byte kept.
QByteArray edited(const QByteArray& old, const QByteArray& section, const QByteArray& key,
                  const QByteArray& value) {
    const QByteArray stored = storedForm(value);
    const QByteArray lineBreak = old.contains("\r\n") ? "\r\n" : "\n";
    const Spot spot = locate(old, section, key);
    QByteArray text = old;
    if (spot.valueBegin >= 0)
        return text.replace(spot.valueBegin, spot.valueEnd - spot.valueBegin, stored);
    if (spot.sectionEnd >= 0)
        return text.insert(spot.sectionEnd, lineBreak + key + '=' + stored);

    QByteArray block;
    const qsizetype start = old.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (spot.parsedEnd > start) {
        if (!isLineBreak(old.at(spot.parsedEnd - 1)))
            block += lineBreak;
        block += lineBreak;
    }
    block += '[' + section + ']' + lineBreak + key + '=' + stored + lineBreak;
    return text.insert(spot.parsedEnd, block);
}

} // namespace

namespace settings {

struct Snapshot::Parsed {
    Ini ini;
};

Snapshot Snapshot::load(const QString& path) {
    FileRead file = readFile(path);
    Snapshot snapshot;
    snapshot.exists_ = file.exists;
    if (file.bytes) {
        auto parsed = std::make_shared<Parsed>();
        if (parse(parsed->ini, *file.bytes))
            snapshot.parsed_ = std::move(parsed);
    }
    return snapshot;
}

QString Snapshot::item(const QString& section, const QString& key) const {
    const auto sectionBytes = exactGbk(section);
    const auto keyBytes = exactGbk(key);
    if (!parsed_ || !sectionBytes || !keyBytes)
        return {};
    return gbk::decode(parsed_->ini.GetValue(sectionBytes->constData(), keyBytes->constData(), ""));
}

bool Snapshot::keyExists(const QString& section, const QString& key) const {
    const auto sectionBytes = exactGbk(section);
    const auto keyBytes = exactGbk(key);
    if (!parsed_ || !sectionBytes || !keyBytes)
        return false;
    return parsed_->ini.GetValue(sectionBytes->constData(), keyBytes->constData(), nullptr) != nullptr;
}

bool fileExists(const QString& path) {
    return withinLimit(QFileInfo(path));
}

QString readItem(const QString& path, const QString& section, const QString& key) {
    return Snapshot::load(path).item(section, key);
}

bool keyExists(const QString& path, const QString& section, const QString& key) {
    return Snapshot::load(path).keyExists(section, key);
}

bool writeItem(const QString& path, const QString& section, const QString& key, const QString& value) {
    const auto sectionBytes = exactGbk(section);
    const auto keyBytes = exactGbk(key);
    const auto valueBytes = exactGbk(value);
    // A file that exists but cannot be read is never replaced by a fresh one.
    const auto old = readFile(path).bytes;
    if (!sectionBytes || !keyBytes || !valueBytes || !old)
        return false;
    const QByteArray text = edited(*old, *sectionBytes, *keyBytes, *valueBytes);
    // Written, it would read back as no file at all.
    if (text.size() > kMaxFileBytes)
        return false;

    // Commit only when the reader sees exactly the intended change. This turns
    // away names and values that cannot live in an INI line (a line break, a
    // key with '=', a section name with ']').
    Ini before;
    Ini after;
    if (!parse(before, *old) || !parse(after, text))
        return false;
    Entries expected = entriesOf(before);
    expected[*sectionBytes][*keyBytes] = *valueBytes;
    if (entriesOf(after) != expected)
        return false;
    if (text == *old && QFileInfo::exists(path))
        return true;

    // Unbuffered, a short write (disk full) shows in write()'s count; through
    // the buffer, commit() would rename a truncated file into place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace settings
