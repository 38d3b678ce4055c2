#pragma once

#include "platform/dialogs.h"

// Dialogs backed by QMessageBox, QFileDialog, QFontDialog and QColorDialog.
class QtDialogs : public Dialogs {
public:
    QString openFile(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& suggested,
                     const QString& filter) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial, const QString& title) override;

protected:
    Answer showMessage(QWidget* parent, const QString& text, const QString& title, Icon icon,
                       Buttons buttons) override;
    void showNotice(QWidget* parent, const QString& text, const QString& title,
                    std::function<void()> closed) override;
};
