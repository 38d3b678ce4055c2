#include "dialogs.h"

Dialogs::Answer Dialogs::message(QWidget* parent, const QString& text, const QString& title, Icon icon,
                                 Buttons buttons) {
    history_.append({text, title});
    return showMessage(parent, text, title, icon, buttons);
}

bool Dialogs::confirm(QWidget* parent, const QString& text, const QString& title, Icon icon) {
    return message(parent, text, title, icon, Buttons::OkCancel) == Answer::Ok;
}

void Dialogs::notify(QWidget* parent, const QString& text, const QString& title,
                     std::function<void()> closed) {
    history_.append({text, title});
    showNotice(parent, text, title, std::move(closed));
}
