#pragma once

#include "settings_keys.h"

#include <QString>
#include <memory>

// An INI file in GBK as "config.ini" is one: read and written byte-faithfully,
// unknown keys and lines kept. Nothing outlives an action: each free function
// reads the file afresh, and an action that needs several keys reads them
// from one Snapshot. The program reaches its own file through ConfigFile.
namespace settings {

// A larger file is no settings file the program wrote. It is refused before
// its bytes are read: it reads as a missing file and is never rewritten.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

// The file read and parsed once. A copy shares the parsed contents.
class Snapshot {
public:
    static Snapshot load(const QString& path);

    // Whether there is a file within kMaxFileBytes: the guard of the readers
    // that do nothing without one. A file that exists but cannot be read
    // passes and reads as empty.
    bool exists() const { return exists_; }
    // As readItem and keyExists below, on the loaded contents.
    QString item(const QString& section, const QString& key) const;
    bool keyExists(const QString& section, const QString& key) const;
    QString item(const KeyInfo& key) const { return item(key.section, key.key); }
    // The key's value by its type's rules (Key<T>).
    template <typename T> T value(const Key<T>& key) const { return Key<T>::fromText(item(key)); }

private:
    struct Parsed;
    std::shared_ptr<const Parsed> parsed_; // null when there was nothing to read
    bool exists_ = false;
};

// Snapshot::load(path).exists(), without reading the file.
bool fileExists(const QString& path);

// The value of `key` in `section`; empty when the file, the section or the key
// is absent. Names match exactly, case included.
QString readItem(const QString& path, const QString& section, const QString& key);

// Whether the file holds `key` in `section`, even with an empty value.
bool keyExists(const QString& path, const QString& section, const QString& key);

// Sets `key` in `section`, adding the key (and the section) when absent and
// creating the file when missing. Every other byte of the file stays as it was.
// The new file replaces the old one in a single rename, so a failed or
// interrupted write leaves the old file whole. Returns false when nothing was
// written: the file cannot be read or replaced, it is or would grow past
// kMaxFileBytes, a name is empty or cannot be an INI name, or the value cannot
// be stored so that it reads back unchanged (a line break, a NUL, or a
// character GBK lacks).
bool writeItem(const QString& path, const QString& section, const QString& key, const QString& value);
inline QString readItem(const QString& path, const KeyInfo& key) {
    return readItem(path, key.section, key.key);
}
inline bool writeItem(const QString& path, const KeyInfo& key, const QString& value) {
    return writeItem(path, key.section, key.key, value);
}

} // namespace settings
