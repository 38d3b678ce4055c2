#include "about_window.h"

#include "app/desktop_rules.h"
#include "core/endpoints.h"
#include "platform/launcher.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "ui/app_art.h"
#include "ui/place.h"
#include "ui/window_alpha.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QUrl>

namespace {

// Counts the fade's ticks for the whole run; never reset.
int aboutFadeCounter = 0;

QString noticeText() {
    return QStringLiteral("行情与图表来自公开网站，仅供参考，不构成投资建议；据此操作，风险自担。");
}

// A label sized to its caption, so that no caption is cut.
QLabel* caption(QWidget* parent, const QString& name, const QPoint& at, const QString& text) {
    auto* label = place<QLabel>(parent, name, {at, QSize()}, text);
    label->resize(label->sizeHint());
    return label;
}

} // namespace

AboutWindow::AboutWindow(Services& services, const QString& version, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), services_(services) {
    setObjectName(QStringLiteral("关于窗口"));
    setWindowTitle(QStringLiteral("关于我们"));
    setFixedSize(403, 397);
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);

    const endpoints::Endpoints hosts = endpoints::Endpoints::load();
    buildProduct(version, hosts);
    buildCredits(hosts);

    auto* close = place<QPushButton>(this, QStringLiteral("关于窗口关闭按钮"), {158, 328, 100, 22},
                                     QStringLiteral("关闭"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    // Created fully transparent; the fade runs from creation.
    setWindowAlpha(this, 0);
    fadeTimer_ = new Timer(this, QStringLiteral("时钟_窗口透明度渐增"), desktop::kAboutFadeIntervalMs);
    connect(fadeTimer_, &Timer::timeout, this, &AboutWindow::onFadeTick);
}

void AboutWindow::buildProduct(const QString& version, const endpoints::Endpoints& hosts) {
    auto* logo = place<QLabel>(this, QStringLiteral("图片框1"), {29, 8, 90, 75});
    logo->setAlignment(Qt::AlignCenter);
    logo->setPixmap(appart::windowIcon().pixmap(72, 72));

    auto* versionLabel = place<QLabel>(this, QStringLiteral("标签_版本"), {155, 8, 237, 24}, version);
    QFont versionFont = versionLabel->font();
    versionFont.setPointSize(14);
    versionFont.setBold(true);
    versionLabel->setFont(versionFont);

    caption(this, QStringLiteral("标签5"), {147, 65}, QStringLiteral("网    站："));
    addLink(this, QStringLiteral("超级链接框1"), {236, 65}, QStringLiteral("Aurivex 主页"),
            hosts.value(endpoints::key::productPageUrl));

    auto* notice = place<QPlainTextEdit>(this, QStringLiteral("编辑框1"), {27, 91, 343, 40}, noticeText());
    notice->setPlainText(noticeText());
    notice->setReadOnly(true);
    // Two lines fit the design's 40 pixels only with a slim margin.
    notice->document()->setDocumentMargin(2);
    notice->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void AboutWindow::buildCredits(const endpoints::Endpoints& hosts) {
    auto* credits = place<QGroupBox>(this, QStringLiteral("分组框1"), {8, 168, 380, 154},
                                     QStringLiteral("数据提供 强烈感谢："));
    struct Credit {
        const char* label;
        const char* labelText;
        QPoint at;
        const char* link;
        const char* linkText;
        const QString* urlKey;
    };
    static const Credit rows[] = {
        {"标签6",
         "世界级的贵重金属零售商和金属信息服务机构：",
         {10, 21},
         "国际金价网超级链接框",
         "Kitco",
         &endpoints::key::kitcoSiteUrl},
        {"标签7", "和讯网：", {10, 54}, "和讯网超级链接框", "www.hexun.com", &endpoints::key::hexunSiteUrl},
        {"标签8",
         "中国工商银行：",
         {181, 54},
         "工商银行超级链接框",
         "www.icbc.com.cn",
         &endpoints::key::icbcSiteUrl},
        {"标签10",
         "中国建设银行：",
         {10, 88},
         "建设银行超级链接框",
         "www.ccb.com",
         &endpoints::key::ccbSiteUrl},
        {"标签9", "中国银行：", {191, 88}, "中国银行超级链接框", "www.boc.cn", &endpoints::key::bocSiteUrl},
        {"标签1", "行情合作伙伴：", {10, 121}, "超级链接框2", "金投网", &endpoints::key::partnerSiteUrl},
    };
    for (const Credit& row : rows) {
        QLabel* label =
            caption(credits, QString::fromUtf8(row.label), row.at, QString::fromUtf8(row.labelText));
        addLink(credits, QString::fromUtf8(row.link), {row.at.x() + label->width() + 2, row.at.y()},
                QString::fromUtf8(row.linkText), hosts.value(*row.urlKey));
    }
}

void AboutWindow::addLink(QWidget* parent, const QString& name, const QPoint& at, const QString& text,
                          const QString& url) {
    auto* link = place<QPushButton>(parent, name, {at, QSize()}, text);
    link->setFlat(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setToolTip(url);
    link->setStyleSheet(
        QStringLiteral("QPushButton { color: #0645ad; text-decoration: underline; border: none;"
                       " background: transparent; text-align: left; padding: 0; }"));
    link->resize(link->sizeHint().width(), QFontMetrics(link->font()).height() + 2);
    link->setEnabled(!url.isEmpty());
    connect(link, &QPushButton::clicked, this, [this, url] { services_.launcher->openUrl(QUrl(url)); });
}

void AboutWindow::onFadeTick() {
    setWindowAlpha(this, desktop::aboutFadeOpacity(aboutFadeCounter));
    ++aboutFadeCounter;
    if (aboutFadeCounter >= desktop::kAboutFadeEnd)
        fadeTimer_->setInterval(0);
}
