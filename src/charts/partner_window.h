#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

class PartnerHelpWindow;
class QCheckBox;
class WebView;
struct Services;

// "综合看盘": the partner quote site's live chart page in an embedded browser
// without a context menu, whose pop-ups are refused, with a restart button,
// a help window on its indicators and a box that keeps it above all others.
class PartnerWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kFrameExtra{8, 30};

    // `pageUrl` is the partner chart page, `downloadUrl` the Java runtime's download page.
    PartnerWindow(const QUrl& pageUrl, const QUrl& downloadUrl, Services& services);

    WebView* view() const { return view_; }
    // Empties the web cache and loads the page afresh.
    void restart();

private:
    void buildHint(const QUrl& downloadUrl);
    void keepOnTop(bool onTop);
    void openHelp();

    Services& services_;
    QUrl pageUrl_;
    WebView* view_ = nullptr;
    QCheckBox* onTop_ = nullptr;
    QPointer<PartnerHelpWindow> help_;
};
