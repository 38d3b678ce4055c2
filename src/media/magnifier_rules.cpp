#include "magnifier_rules.h"

#include <algorithm>

namespace magnifierrules {

QRect fullScreenSource(const QSize& screen, const QPoint& cursor) {
    return {cursor.x() / 2, cursor.y() / 2, screen.width(), screen.height()};
}

QRect visibleSource(const QRect& source) {
    return {source.topLeft(), QSize((source.width() + 1) / kZoom, (source.height() + 1) / kZoom)};
}

QSize lensSourceSize(const QRect& screen) {
    // Beside a region of width w the wider side keeps at least (W - w) / 2,
    // which holds the lens (2w) while w <= W / 5; above or below is not needed.
    return {std::max(1, std::min(kLensSource.width(), screen.width() / 5)),
            std::max(1, std::min(kLensSource.height(), screen.height() / kZoom))};
}

Lens lensAt(const QRect& screen, const QPoint& cursor) {
    const QSize size = lensSourceSize(screen);
    QRect source(QPoint(0, 0), size);
    source.moveCenter(cursor);
    source.moveLeft(std::clamp(source.left(), screen.left(), screen.right() + 1 - size.width()));
    source.moveTop(std::clamp(source.top(), screen.top(), screen.bottom() + 1 - size.height()));

    QRect window(QPoint(0, 0), size * kZoom);
    const int roomRight = screen.right() - source.right();
    const int roomLeft = source.left() - screen.left();
    if (roomRight >= window.width() || roomRight >= roomLeft)
        window.moveLeft(source.right() + 1);
    else
        window.moveRight(source.left() - 1);
    window.moveTop(cursor.y() - window.height() / 2);
    window.moveTop(std::clamp(window.top(), screen.top(), screen.bottom() + 1 - window.height()));
    return {source, window};
}

const QList<PolledKey>& polledKeys() {
    static const QList<PolledKey> keys = [] {
        QList<PolledKey> list;
        const auto add = [&](Qt::Key key, const QString& name, bool keypad = false) {
            list.append({WatchedKey{key, keypad, Qt::NoButton}, name});
        };
        add(Qt::Key_Shift, QStringLiteral("[SHIFT]"));
        list.append({WatchedKey{Qt::Key_unknown, false, Qt::RightButton}, QStringLiteral("[RBUTTON]")});
        for (int digit = 0; digit <= 9; ++digit)
            add(Qt::Key(Qt::Key_0 + digit), QString::number(digit));
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            add(Qt::Key(Qt::Key_A + (letter - 'A')), QString(QChar::fromLatin1(letter)));
        const QList<QPair<Qt::Key, const char*>> controls = {
            {Qt::Key_Backspace, "[BACKSPACE]"},
            {Qt::Key_Tab, "[TAB]"},
            {Qt::Key_Return, "[ENTER]"},
            {Qt::Key_Shift, "[SHIFT]"},
            {Qt::Key_Control, "[CTRL]"},
            {Qt::Key_Alt, "[ALT]"},
            {Qt::Key_Pause, "[PAUSE]"},
            {Qt::Key_CapsLock, "[CAPSLOCK]"},
            {Qt::Key_Escape, "[ESC]"},
            {Qt::Key_Space, "[SPACE]"},
            {Qt::Key_PageUp, "[PAGEUP]"},
            {Qt::Key_PageDown, "[PAGEDOWN]"},
            {Qt::Key_End, "[END]"},
            {Qt::Key_Home, "[HOME]"},
            {Qt::Key_Left, "[LEFT]"},
            {Qt::Key_Up, "[UP]"},
            {Qt::Key_Right, "[RIGHT]"},
            {Qt::Key_Down, "[DOWN]"},
            {Qt::Key_SysReq, "[SYSRQ]"},
            {Qt::Key_Insert, "[INSERT]"},
            {Qt::Key_Delete, "[DELETE]"},
        };
        for (const auto& [key, name] : controls)
            add(key, QString::fromLatin1(name));
        for (int digit = 0; digit <= 9; ++digit)
            add(Qt::Key(Qt::Key_0 + digit), QStringLiteral("[NUM%1]").arg(digit), true);
        const QList<QPair<Qt::Key, const char*>> keypad = {
            {Qt::Key_Asterisk, "[NUM*]"}, {Qt::Key_Plus, "[NUM+]"},   {Qt::Key_Comma, "[NUM,]"},
            {Qt::Key_Minus, "[NUM-]"},    {Qt::Key_Period, "[NUM.]"}, {Qt::Key_Slash, "[NUM/]"},
        };
        for (const auto& [key, name] : keypad)
            add(key, QString::fromLatin1(name), true);
        for (int f = 1; f <= 12; ++f)
            add(Qt::Key(Qt::Key_F1 + f - 1), QStringLiteral("[F%1]").arg(f));
        return list;
    }();
    return keys;
}

QString pressedKeyName(const std::function<KeyWatch::State(const WatchedKey&)>& poll) {
    for (const PolledKey& polled : polledKeys()) {
        const KeyWatch::State state = poll(polled.key);
        if (state.down && state.pressed)
            return polled.name;
    }
    return {};
}

} // namespace magnifierrules
