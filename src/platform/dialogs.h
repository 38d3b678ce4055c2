#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Message boxes, confirmations and the common dialogs. Every message shown is
// kept in history() so that the state dump and tests can read what the user saw.
class Dialogs {
public:
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Answer { Ok, Cancel, Yes, No };

    struct Shown {
        QString text;
        QString title;
    };

    virtual ~Dialogs() = default;

    // Shows a modal message box and returns the button the user pressed.
    Answer message(QWidget* parent, const QString& text, const QString& title, Icon icon = Icon::None,
                   Buttons buttons = Buttons::Ok);
    // Shows a message box with OK that does not block: the windows behind it
    // keep working, and `closed` runs once the user has pressed OK.
    void notify(QWidget* parent, const QString& text, const QString& title, std::function<void()> closed);
    // OK/Cancel question; true only on OK.
    bool confirm(QWidget* parent, const QString& text, const QString& title, Icon icon = Icon::Question);

    // File-open dialog; an empty text when the user cancels.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    // File-save dialog starting at `suggested`; an empty text when the user cancels.
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& suggested,
                             const QString& filter) = 0;
    // Font dialog; nothing when the user cancels.
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
    // Colour dialog; nothing when the user cancels.
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial,
                                              const QString& title) = 0;

    const QList<Shown>& history() const { return history_; }

protected:
    virtual Answer showMessage(QWidget* parent, const QString& text, const QString& title, Icon icon,
                               Buttons buttons) = 0;
    virtual void showNotice(QWidget* parent, const QString& text, const QString& title,
                            std::function<void()> closed) = 0;

private:
    QList<Shown> history_;
};
