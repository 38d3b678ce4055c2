#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class WebView;
struct Services;

// "Aurivex相关资料专用浏览器": a small tabbed browser for background reading. A
// side tree holds fixed links whose hosts come from endpoints.ini; a page that
// asks for a new window gets a new tab instead, up to kMaxTabs, beyond which
// the status bar says why nothing opened. Every tab's page is a web view of
// its own, and the window always has at least one tab.
class ReferenceBrowser : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 894;
    static constexpr int kClientHeight = 554;
    static constexpr int kTreeShownWidth = 120;
    // Each tab holds a page and its memory in the browser engine.
    static constexpr int kMaxTabs = 30;

    // Opens the first tab on `startAddress` when one is given (the program's
    // first command-line argument), otherwise on the " 今日数据" page.
    ReferenceBrowser(Services& services, const QString& startAddress, QWidget* parent = nullptr);
    // Its pages' memory goes back to the system soon after.
    ~ReferenceBrowser() override;

    // The page of the current tab.
    WebView* currentView() const;
    int tabCount() const;

    // Loads the selected tree line's page into the current tab; group lines
    // and links without a host do nothing.
    void openReferenceItem();
    // The status bar's note while a new tab was refused at kMaxTabs.
    static QString tabLimitNote();
    // Closes the current tab; the only tab stays, with a new empty page.
    void closeCurrentTab();
    void toggleSideBar();
    // The splitter moved to `x` (window coordinates): the tree ends there.
    void moveSplitter(int x);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The build steps, in the order the controls are made.
    void buildButtons();
    void buildTree();
    void buildTabs();
    // The first tab, on `startAddress` or on the tree's start line.
    void openFirstTab(const QString& startAddress);
    WebView* createView();
    void addTab(const QUrl& url);
    void layoutBrowser();
    void showProgress(int percent);
    void showTitle(WebView* view, const QString& title);

    Services& services_;
    QList<QUrl> linkUrls_; // per tree line; empty for groups and unknown hosts
    QPushButton* sideBarButton_;
    QTreeWidget* tree_;
    QWidget* splitter_;
    QTabWidget* tabs_;
    QStatusBar* statusBar_;
    QLabel* progress_;
    QMenu* tabMenu_;
};
