#include "reference_browser.h"

#include "core/endpoints.h"
#include "media/reference_rules.h"
#include "platform/dialogs.h"
#include "platform/freed_memory.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/web_views.h"
#include "ui/place.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>

namespace {

constexpr int kButtonRowHeight = 22;
constexpr int kTreeTop = 23;
constexpr int kStatusHeight = 20;
constexpr int kLineRole = Qt::UserRole;

// "分隔条_定位参考": a bar dragged sideways to size the tree.
class SplitBar : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

signals:
    void dragged(int x);

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & Qt::LeftButton)
            emit dragged(mapToParent(event->position().toPoint()).x());
    }
};

} // namespace

ReferenceBrowser::ReferenceBrowser(Services& services, const QString& startAddress, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(services) {
    setObjectName(QStringLiteral("Aurivex相关资料专用浏览器"));
    setWindowTitle(QStringLiteral("Aurivex相关资料专用浏览器"));
    setAttribute(Qt::WA_DeleteOnClose);

    buildButtons();
    buildTree();
    buildTabs();
    // The tree starts hidden, its splitter with it.
    tree_->resize(0, tree_->height());
    tree_->hide();
    splitter_->hide();
    openFirstTab(startAddress);
}

void ReferenceBrowser::buildButtons() {
    sideBarButton_ = place<QPushButton>(this, QStringLiteral("按钮_浏览器侧边栏"), {56, 0, 66, 22},
                                        QStringLiteral("侧边栏"));
    auto* back =
        place<QPushButton>(this, QStringLiteral("按钮_浏览器后退"), {124, 1, 44, 20}, QStringLiteral("后退"));
    auto* forward =
        place<QPushButton>(this, QStringLiteral("按钮_浏览器前进"), {169, 1, 44, 20}, QStringLiteral("前进"));
    auto* stop =
        place<QPushButton>(this, QStringLiteral("按钮_浏览器停止"), {214, 1, 44, 20}, QStringLiteral("停止"));
    auto* reload =
        place<QPushButton>(this, QStringLiteral("按钮_浏览器刷新"), {261, 1, 44, 20}, QStringLiteral("刷新"));
    connect(sideBarButton_, &QPushButton::clicked, this, &ReferenceBrowser::toggleSideBar);
    const auto onCurrent = [this](void (WebView::*command)()) {
        return [this, command] {
            if (WebView* view = currentView())
                (view->*command)();
        };
    };
    connect(back, &QPushButton::clicked, this, onCurrent(&WebView::back));
    connect(forward, &QPushButton::clicked, this, onCurrent(&WebView::forward));
    connect(stop, &QPushButton::clicked, this, onCurrent(&WebView::stop));
    connect(reload, &QPushButton::clicked, this, onCurrent(&WebView::reload));
}

void ReferenceBrowser::buildTree() {
    tree_ = place<QTreeWidget>(this, QStringLiteral("树型框_侧边栏"), {1, kTreeTop, 127, 417});
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setIndentation(8);
    const endpoints::Endpoints hosts = endpoints::Endpoints::load();
    QTreeWidgetItem* group = nullptr;
    const QList<referencerules::Link>& links = referencerules::links();
    for (int line = 0; line < links.size(); ++line) {
        const referencerules::Link& link = links[line];
        QTreeWidgetItem* item = nullptr;
        if (link.hostKey.isEmpty()) {
            item = group = new QTreeWidgetItem(tree_, {link.text});
            linkUrls_.append(QUrl());
        } else {
            item = new QTreeWidgetItem(group, {link.text});
            const QUrl url = referencerules::pageUrl(hosts.value(link.hostKey), link.path);
            linkUrls_.append(url);
            // A site missing from endpoints.ini has nothing to open.
            if (url.isEmpty())
                item->setDisabled(true);
        }
        item->setData(0, kLineRole, line);
    }
    tree_->expandAll();

    splitter_ = place<SplitBar>(this, QStringLiteral("分隔条_定位参考"), {128, kTreeTop, 5, 500});
    splitter_->setCursor(Qt::SplitHCursor);
    connect(static_cast<SplitBar*>(splitter_), &SplitBar::dragged, this, &ReferenceBrowser::moveSplitter);
}

void ReferenceBrowser::buildTabs() {
    tabs_ = place<QTabWidget>(this, QStringLiteral("选择夹_多页面创建"), {132, 22, 619, 420});
    tabs_->setDocumentMode(false);
    tabs_->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    tabMenu_ = new QMenu(QStringLiteral("文件"), this);
    tabMenu_->setObjectName(QStringLiteral("文件"));
    QAction* closeTab = tabMenu_->addAction(QStringLiteral("关闭当前页"));
    connect(closeTab, &QAction::triggered, this, &ReferenceBrowser::closeCurrentTab);
    connect(tabs_->tabBar(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { tabMenu_->popup(tabs_->tabBar()->mapToGlobal(at)); });

    statusBar_ = place<QStatusBar>(this, QStringLiteral("状态条_浏览器状态"), {0, 534, 894, kStatusHeight});
    statusBar_->setSizeGripEnabled(false);
    statusBar_->addWidget(new QLabel(QStringLiteral("信息："), statusBar_));
    progress_ = new QLabel(statusBar_);
    statusBar_->addWidget(progress_, 1);
}

void ReferenceBrowser::openFirstTab(const QString& startAddress) {
    WebView* first = createView();
    if (!first) {
        services_.dialogs->message(this, QStringLiteral("Create two and more Weber error!"), QString());
        services_.quit(0);
        return;
    }
    tabs_->addTab(first, QString());
    resize(kClientWidth, kClientHeight);
    layoutBrowser();
    const QRect area = services_.screen->workArea();
    if (!area.isEmpty())
        move(area.center() - rect().center());

    QTreeWidgetItem* start = tree_->topLevelItem(0)->child(referencerules::kStartLine - 1);
    if (!startAddress.isEmpty()) {
        // The address given wins: the start line is only marked, not loaded over it.
        first->navigate(QUrl::fromUserInput(startAddress, QDir::currentPath(), QUrl::AssumeLocalFile));
        const QSignalBlocker quiet(tree_);
        tree_->setCurrentItem(start);
    }
    connect(tree_, &QTreeWidget::currentItemChanged, this, &ReferenceBrowser::openReferenceItem);
    if (startAddress.isEmpty())
        tree_->setCurrentItem(start);
}

ReferenceBrowser::~ReferenceBrowser() {
    releaseFreedMemorySoon();
}

WebView* ReferenceBrowser::currentView() const {
    return qobject_cast<WebView*>(tabs_->currentWidget());
}

int ReferenceBrowser::tabCount() const {
    return tabs_->count();
}

WebView* ReferenceBrowser::createView() {
    WebView* view = services_.webViews->create(tabs_, WebView::NewWindowPolicy::Report);
    if (!view)
        return nullptr;
    view->setObjectName(QStringLiteral("超文本浏览框_浏览框"));
    connect(view, &WebView::loadProgress, this, &ReferenceBrowser::showProgress);
    connect(view, &WebView::titleChanged, this,
            [this, view](const QString& title) { showTitle(view, title); });
    connect(view, &WebView::newWindowRequested, this, &ReferenceBrowser::addTab);
    return view;
}

QString ReferenceBrowser::tabLimitNote() {
    return QStringLiteral("已打开%1个页面，新页面未打开：请先关闭不用的页面").arg(kMaxTabs);
}

void ReferenceBrowser::addTab(const QUrl& url) {
    if (tabs_->count() >= kMaxTabs) {
        statusBar_->showMessage(tabLimitNote());
        return;
    }
    WebView* view = createView();
    if (!view)
        return;
    view->navigate(url);
    tabs_->setCurrentIndex(tabs_->addTab(view, QString()));
}

void ReferenceBrowser::openReferenceItem() {
    const QTreeWidgetItem* item = tree_->currentItem();
    WebView* view = currentView();
    if (!item || !view)
        return;
    const QUrl url = linkUrls_.value(item->data(0, kLineRole).toInt());
    if (!url.isEmpty())
        view->navigate(url);
}

void ReferenceBrowser::closeCurrentTab() {
    const int index = tabs_->currentIndex();
    QWidget* closing = tabs_->widget(index);
    if (tabs_->count() == 1) {
        WebView* fresh = createView();
        if (!fresh)
            return;
        tabs_->insertTab(0, fresh, QString());
        tabs_->setCurrentIndex(0);
    }
    tabs_->removeTab(tabs_->indexOf(closing));
    // Its page, and the memory the engine holds for it, go now.
    delete closing;
    statusBar_->clearMessage();
    releaseFreedMemorySoon();
}

void ReferenceBrowser::toggleSideBar() {
    const bool show = tree_->width() == 0;
    tree_->resize(show ? kTreeShownWidth : 0, tree_->height());
    tree_->setVisible(show);
    splitter_->setVisible(show);
    layoutBrowser();
}

void ReferenceBrowser::moveSplitter(int x) {
    // The tree keeps a sliver, and the tabs keep room to show a page.
    const int end = std::clamp(x, tree_->x() + 1, std::max(tree_->x() + 1, width() - 100));
    tree_->resize(end - tree_->x(), tree_->height());
    layoutBrowser();
}

void ReferenceBrowser::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutBrowser();
}

void ReferenceBrowser::layoutBrowser() {
    const int w = width();
    const int h = height();
    statusBar_->setGeometry(0, h - kStatusHeight, w, kStatusHeight);
    tree_->resize(tree_->width(), std::max(0, h - 40));
    const int treeEnd = tree_->x() + tree_->width();
    splitter_->setGeometry(treeEnd, kTreeTop, splitter_->width(), tree_->height());
    const int tabsLeft = treeEnd + 4;
    tabs_->setGeometry(tabsLeft, kButtonRowHeight, std::max(0, w - tabsLeft),
                       std::max(0, h - kStatusHeight - kButtonRowHeight));
    // The status bar stays in front of the tree's last pixels.
    statusBar_->raise();
}

void ReferenceBrowser::showProgress(int percent) {
    progress_->setText(percent >= 100 ? QStringLiteral("完毕")
                                      : QStringLiteral("正在打开网页：") + QString::number(percent) + u'%');
}

void ReferenceBrowser::showTitle(WebView* view, const QString& title) {
    const int index = tabs_->indexOf(view);
    if (index >= 0)
        tabs_->setTabText(index, referencerules::tabCaption(title));
}

#include "reference_browser.moc"
