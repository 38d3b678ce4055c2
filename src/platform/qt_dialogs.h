#pragma once

#include "dialogs.h"

// Dialogs backed by QMessageBox, QFileDialog and QFontDialog.
class QtDialogs : public Dialogs {
public:
    QString openFile(QWidget* parent, const QString& title, const QString& filter) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;

protected:
    Answer showMessage(QWidget* parent, const QString& text, const QString& title, Icon icon,
                       Buttons buttons) override;
    void showNotice(QWidget* parent, const QString& text, const QString& title,
                    std::function<void()> closed) override;
};
