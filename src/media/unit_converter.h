#pragma once

#include <QWidget>

class QCheckBox;
class WebView;
struct Services;

// "dud实时单位换算": frames the gold unit converter page of converterHost,
// which does the converting. The page may open no window of its own.
class UnitConverter : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 210;
    static constexpr int kClientHeight = 166;

    explicit UnitConverter(Services& services, QWidget* parent = nullptr);
    // Its page's memory goes back to the system soon after.
    ~UnitConverter() override;

    WebView* view() const { return view_; }

private:
    void keepOnTop(bool onTop);

    WebView* view_;
    QCheckBox* onTop_;
};
