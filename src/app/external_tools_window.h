#pragma once

#include <QDialog>

class QLineEdit;
struct Services;

// "外部工具设置": where the trading terminal's program file is, when it is
// not at its default location.
class ExternalToolsWindow : public QDialog {
    Q_OBJECT
public:
    explicit ExternalToolsWindow(Services& services, QWidget* parent = nullptr);

    void browse();
    void save();

private:
    Services& services_;
    QLineEdit* path_;
};
