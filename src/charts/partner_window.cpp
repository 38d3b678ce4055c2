#include "partner_window.h"

#include "charts/chart_tabs.h"
#include "charts/partner_help_window.h"
#include "platform/launcher.h"
#include "platform/services.h"
#include "platform/web_cache.h"
#include "platform/web_views.h"
#include "ui/open_once.h"
#include "ui/place.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

const QString kHintBeforeLink =
    QStringLiteral("如未显示 可能网络忙 请稍后重试  也可能是你系统没有安装 JAVA虚拟机 请点击这里");
const QString kLinkGap = QStringLiteral("        ");
const QString kHintAfterLink = QStringLiteral("安装后再运行软件 还看不见 可能数据维护 请稍候重试");

} // namespace

PartnerWindow::PartnerWindow(const QUrl& pageUrl, const QUrl& downloadUrl, Services& services)
    : QWidget(nullptr, Qt::Window), services_(services), pageUrl_(pageUrl) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("综合看盘窗口"));
    setWindowTitle(QStringLiteral("综合看盘"));
    const QSize client = QSize(867, 677) - kFrameExtra;
    resize(client);

    // The page covers the whole control, under its tab row: the chart and
    // its buttons have the control's full width.
    auto* tabs = new ChartTabs(this);
    tabs->setObjectName(QStringLiteral("选择夹_看盘程序"));
    tabs->setGeometry(2, 2, 840, 622);
    QWidget* page = tabs->addPage(QStringLiteral("看盘程序"));
    const int top = tabs->tabRowHeight() + 1;

    view_ = services.webViews->create(page, WebView::NewWindowPolicy::Refuse);
    view_->setObjectName(QStringLiteral("超文本浏览框_看盘程序一"));
    view_->setGeometry(1, top, 810, 585);

    auto* restartButton = place<QPushButton>(page, QStringLiteral("按钮_看盘程序一重启"), {811, top, 28, 56},
                                             QStringLiteral("重\n启"));
    connect(restartButton, &QPushButton::clicked, this, &PartnerWindow::restart);
    auto* helpButton = place<QPushButton>(page, QStringLiteral("按钮_看盘帮助"), {811, top + 60, 28, 100},
                                          QStringLiteral("看\n帮助\n点\n这\n里"));
    connect(helpButton, &QPushButton::clicked, this, &PartnerWindow::openHelp);

    const int bottom = tabs->geometry().bottom() + 4;
    onTop_ =
        place<QCheckBox>(this, QStringLiteral("选择框_置前"), {4, bottom, 48, 18}, QStringLiteral("置前"));
    connect(onTop_, &QCheckBox::clicked, this, &PartnerWindow::keepOnTop);
    buildHint(downloadUrl);

    restart();
}

void PartnerWindow::buildHint(const QUrl& downloadUrl) {
    const int bottom = onTop_->y();
    auto* hint = place<QLabel>(this, QStringLiteral("标签1"), {56, bottom, width() - 58, 18},
                               kHintBeforeLink + kLinkGap + kHintAfterLink);
    // The link sits in the gap the hint leaves for it.
    const QFontMetrics metrics(hint->font());
    const QString caption = QStringLiteral("下载");
    const int gapLeft = hint->x() + metrics.horizontalAdvance(kHintBeforeLink);
    const int linkWidth = metrics.horizontalAdvance(caption) + 4;
    const int left = gapLeft + (metrics.horizontalAdvance(kLinkGap) - linkWidth) / 2;
    auto* link =
        place<QPushButton>(this, QStringLiteral("超级链接框1"), {left, bottom, linkWidth, 18}, caption);
    link->setFlat(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setToolTip(downloadUrl.toString());
    link->setStyleSheet(
        QStringLiteral("QPushButton { color: #0645ad; text-decoration: underline; border: none;"
                       " background: transparent; padding: 0; }"));
    link->setEnabled(downloadUrl.isValid() && !downloadUrl.isEmpty());
    connect(link, &QPushButton::clicked, this, [this, downloadUrl] {
        if (services_.launcher)
            services_.launcher->openUrl(downloadUrl);
    });
}

void PartnerWindow::restart() {
    if (services_.webCache)
        services_.webCache->clearWebCache();
    if (!pageUrl_.isEmpty())
        view_->navigate(pageUrl_);
}

void PartnerWindow::keepOnTop(bool onTop) {
    // Changing the flags hides the window; it shows again where it was.
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    show();
}

void PartnerWindow::openHelp() {
    if (PartnerHelpWindow* opened = openOnce(help_, [this] { return new PartnerHelpWindow(this); }))
        opened->show();
}
