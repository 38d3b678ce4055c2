#pragma once

#include "autostart.h"

// Autostart as a desktop entry in the XDG autostart folder,
// $XDG_CONFIG_HOME/autostart (~/.config/autostart when unset), which every
// freedesktop session starts at login.
class XdgAutostart : public Autostart {
public:
    explicit XdgAutostart(const QString& entryName = QStringLiteral("aurivex"));

    bool isEnabled() const override;
    bool enable(const QString& programPath, const QString& homeOverride) override;
    bool disable() override;
    std::optional<QByteArray> saved() const override;
    bool restore(const std::optional<QByteArray>& saved) override;

    // The entry's file; the folder is looked up on every call, so that a
    // changed environment is followed.
    QString entryPath() const;

private:
    static constexpr qint64 kMaxEntryBytes = 64 * 1024;
    bool write(const QByteArray& entry) const;

    QString entryName_;
};
