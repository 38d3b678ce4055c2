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

    // The entry's file; the folder is looked up on every call, so that a
    // changed environment is followed.
    QString entryPath() const;

private:
    QString entryName_;
};
