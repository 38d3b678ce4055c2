#pragma once

#include <QtCore/qnamespace.h>

// A key of the keyboard, or a mouse button, as the desktop's key state knows it.
struct WatchedKey {
    Qt::Key key = Qt::Key_unknown;
    // The key of that meaning on the number pad.
    bool keypad = false;
    // A mouse button instead of a key.
    Qt::MouseButton button = Qt::NoButton;

    friend bool operator==(const WatchedKey&, const WatchedKey&) = default;
};

// The keyboard and mouse buttons of the whole desktop, whichever program has
// the focus, watched for as long as this object lives.
class KeyWatch {
public:
    struct State {
        bool down = false;
        // Went down since the previous poll of this key (or since the watch
        // began), even if it has been released again since.
        bool pressed = false;
    };

    virtual ~KeyWatch() = default;
    // Reads the key's state and forgets its press.
    virtual State poll(const WatchedKey& key) = 0;
};
