#pragma once

#include "settings/settings_keys.h"
#include "settings/settings_store.h"

#include <QString>
#include <type_traits>

namespace settings {

// "config.ini", the one owner of the settings file: where it lives, and how
// its keys are read and written by their types. Nothing is kept between
// uses, as the settings are never cached: a window reads its keys when it is
// made and writes them when the user confirms, each read loading the file
// afresh and each write changing one key on disk.
class ConfigFile {
public:
    // The program directory's file, named afresh at every call.
    static ConfigFile program();
    explicit ConfigFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    // Whether the file is there, within kMaxFileBytes: the readers and
    // writers that need it do nothing without it.
    bool exists() const { return fileExists(path_); }
    // The file read once, for an action that reads several keys.
    Snapshot read() const { return Snapshot::load(path_); }
    // One key, read afresh; a missing file or key reads as empty (off, 0).
    template <typename T> T value(const Key<T>& key) const { return read().value(key); }
    // Sets one key as its type writes it, the file's other bytes kept; false
    // when nothing was written (see writeItem).
    template <typename T> bool write(const Key<T>& key, const std::type_identity_t<T>& value) const {
        return writeItem(path_, key, Key<T>::toText(value));
    }

private:
    QString path_;
};

} // namespace settings
