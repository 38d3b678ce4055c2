#pragma once

#include <QString>

// Starting the program when the user logs in.
class Autostart {
public:
    virtual ~Autostart() = default;
    virtual bool isEnabled() const = 0;
    // Registers the program at the path, started with AURIVEX_HOME set to
    // `homeOverride` unless that is empty; replaces an earlier registration.
    // False when it could not be written.
    virtual bool enable(const QString& programPath, const QString& homeOverride) = 0;
    // Removes the registration; true when none is left.
    virtual bool disable() = 0;
};
