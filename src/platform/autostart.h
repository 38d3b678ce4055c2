#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Starting the program when the user logs in.
class Autostart {
public:
    virtual ~Autostart() = default;
    virtual bool isEnabled() const = 0;
    // Registers the program at the path, started with "--home DIR" for
    // `homeOverride` unless that is empty; replaces an earlier registration.
    // False when it could not be written.
    virtual bool enable(const QString& programPath, const QString& homeOverride) = 0;
    // Removes the registration; true when none is left.
    virtual bool disable() = 0;

    // The registration as it stands, nothing when there is none: a change the
    // settings file could not follow is undone with restore().
    virtual std::optional<QByteArray> saved() const = 0;
    virtual bool restore(const std::optional<QByteArray>& saved) = 0;
};
