#pragma once

#include <QWidget>

class QPlainTextEdit;

// "综合看盘帮助": what the partner chart page's indicators mean and how they
// are traded, in one box that follows the window's size.
class PartnerHelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kFrameExtra{8, 30};

    explicit PartnerHelpWindow(QWidget* parent);

    // The help text: seven chapters of technical indicators.
    static QString helpText();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPlainTextEdit* text_;
};
