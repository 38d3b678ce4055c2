#pragma once

#include <optional>

// The system's output volume, in percent of full scale.
class SystemVolume {
public:
    virtual ~SystemVolume() = default;
    // 0..100, or nothing when the system volume cannot be reached.
    virtual std::optional<int> volume() = 0;
    // Sets every channel to the level (clamped to 0..100); false when the
    // system volume cannot be reached.
    virtual bool setVolume(int percent) = 0;
};
