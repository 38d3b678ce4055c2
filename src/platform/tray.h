#pragma once

#include <QObject>

class QIcon;
class QMenu;
class QString;

// The program's icon in the notification area.
class Tray : public QObject {
    Q_OBJECT
public:
    enum class Activation { Click, DoubleClick, ContextMenu, MiddleClick };
    Q_ENUM(Activation)

    using QObject::QObject;

    // False when the desktop has no notification area.
    virtual bool isAvailable() const = 0;
    // Shows the icon with its tip; while shown, replaces both.
    virtual void show(const QIcon& icon, const QString& toolTip) = 0;
    // Removes the icon.
    virtual void hide() = 0;
    virtual bool isShown() const = 0;
    // Whether the notification area reports double-clicks: an XEmbed tray
    // does, a StatusNotifierItem host sends one activation for a click.
    virtual bool reportsDoubleClicks() const = 0;
    // A balloon with a title and a text at the shown icon, without an icon of
    // its own, once the notification area has taken the icon in. Shown once;
    // it goes away by itself.
    virtual void showMessage(const QString& title, const QString& text) = 0;
    // The menu a right-click on the icon opens; not owned, nullptr for none.
    // Some desktops open it themselves without reporting a ContextMenu activation.
    virtual void setContextMenu(QMenu* menu) = 0;

signals:
    void activated(Tray::Activation how);
};
