#include "quote_panels.h"

#include "bank_logo.h"
#include "core/text_rules.h"
#include "platform/launcher.h"
#include "ui/place.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

namespace quotepanels {

namespace {

struct BankDesign {
    QString bank;  // 工行, 建行, 中行: part of every control name
    QString frame; // the card's name
    QString title;
    int left;
    int captionNumber; // first of the card's four caption labels (透明标签N)
    int index;         // 1..3: 标签N, 图片框(12+N), 超级链接框N
    QString seal;
    QString shortName;
    QColor colour;
};

const std::array<BankDesign, 3>& bankDesigns() {
    static const std::array<BankDesign, 3> designs = {{
        {QStringLiteral("工行"), QStringLiteral("工商银行背景框"), QStringLiteral("工行参考报价"), 2, 6, 1,
         QStringLiteral("工"), QStringLiteral("工商银行"), QColor(176, 48, 48)},
        {QStringLiteral("建行"), QStringLiteral("建设银行背景框"), QStringLiteral("建行参考报价"), 248, 10, 2,
         QStringLiteral("建"), QStringLiteral("建设银行"), QColor(30, 84, 156)},
        {QStringLiteral("中行"), QStringLiteral("中国银行背景框"), QStringLiteral("中行参考报价"), 495, 14, 3,
         QStringLiteral("中"), QStringLiteral("中国银行"), QColor(150, 36, 60)},
    }};
    return designs;
}

QLabel* priceLabel(QWidget* parent, const QString& name, const QRect& rect, int pixelHeight) {
    auto* label = place<QLabel>(parent, name, rect);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    label->setFont(font);
    // Red whichever way the price moved.
    label->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0); background: transparent;"));
    return label;
}

QString hostOf(const QString& url) {
    const QUrl parsed(url);
    return parsed.host().isEmpty() ? url : parsed.host();
}

BankRow buildCard(QWidget* parent, const BankDesign& d, Launcher* launcher, const QString& siteUrl) {
    BankRow row;
    auto* card = place<QFrame>(parent, d.frame, {d.left, 0, 240, 210});
    card->setFrameShape(QFrame::StyledPanel);
    row.card = card;

    auto* title = place<QLabel>(card, QStringLiteral("标签%1").arg(d.index), {12, 10, 110, 18}, d.title);
    QFont titleFont(QStringLiteral("宋体"));
    titleFont.setPixelSize(14);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto* logo = place<QLabel>(card, QStringLiteral("图片框%1").arg(12 + d.index), {130, 6, 100, 27});
    logo->setPixmap(paintBankMark(d.seal, d.shortName, d.colour));

    auto* link = place<QPushButton>(card, QStringLiteral("超级链接框%1").arg(d.index), {130, 36, 100, 15},
                                    hostOf(siteUrl));
    link->setFlat(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setToolTip(siteUrl);
    link->setStyleSheet(
        QStringLiteral("QPushButton { color: #0645ad; text-decoration: underline; border: none;"
                       " background: transparent; text-align: left; padding: 0; }"));
    link->setEnabled(!siteUrl.isEmpty());
    QObject::connect(link, &QPushButton::clicked, card, [launcher, siteUrl] {
        if (launcher)
            launcher->openUrl(QUrl(siteUrl));
    });

    const int n = d.captionNumber;
    place<QLabel>(card, QStringLiteral("透明标签%1").arg(n), {20, 66, 36, 20}, QStringLiteral("买入"));
    row.buy = priceLabel(card, QStringLiteral("标签_%1买入价").arg(d.bank), {60, 64, 60, 20}, 16);
    place<QLabel>(card, QStringLiteral("透明标签%1").arg(n + 2), {126, 66, 66, 20},
                  QStringLiteral("人民币/克"));
    place<QLabel>(card, QStringLiteral("透明标签%1").arg(n + 1), {20, 98, 36, 20}, QStringLiteral("卖出"));
    row.sell = priceLabel(card, QStringLiteral("标签_%1卖出价").arg(d.bank), {60, 96, 60, 20}, 16);
    place<QLabel>(card, QStringLiteral("透明标签%1").arg(n + 3), {126, 98, 66, 20},
                  QStringLiteral("人民币/克"));

    row.start = place<QPushButton>(card, QStringLiteral("按钮_%1数据更新开始").arg(d.bank), {196, 66, 35, 17},
                                   QStringLiteral("开始"));
    row.stop = place<QPushButton>(card, QStringLiteral("按钮_%1数据更新停止").arg(d.bank), {196, 98, 35, 17},
                                  QStringLiteral("停止"));

    row.progress = place<QProgressBar>(card, QStringLiteral("进度条_%1").arg(d.bank), {20, 140, 190, 10});
    row.progress->setRange(0, 30);
    row.progress->setValue(0);
    row.progress->setTextVisible(false);

    row.status = place<QLabel>(card, QStringLiteral("标签_%1状态").arg(d.bank), {20, 166, 200, 16},
                               QStringLiteral("开始实时数据同步"));
    return row;
}

} // namespace

BankPanel buildBankPanel(QWidget* page, Launcher* launcher, const std::array<QString, 3>& siteUrls) {
    BankPanel panel;
    panel.splitter = place<QPushButton>(page, QStringLiteral("超级按钮_银行显示"), {0, 386, 745, 8});
    panel.splitter->setFlat(true);
    // Without the skin a flat button draws nothing at all; a mid-tone fill keeps
    // the bar in sight (the skin's own look takes its place when it is there).
    panel.splitter->setBackgroundRole(QPalette::Mid);
    panel.splitter->setAutoFillBackground(true);
    panel.splitter->setCursor(Qt::SizeVerCursor);
    panel.splitter->setFocusPolicy(Qt::NoFocus);
    panel.background = place<QFrame>(page, QStringLiteral("银行背景框"), {0, 394, 745, 220});
    panel.adaptive = place<QFrame>(panel.background, QStringLiteral("银行自适应框"), {5, 5, 735, 210});
    for (size_t i = 0; i < panel.rows.size(); ++i)
        panel.rows[i] = buildCard(panel.adaptive, bankDesigns()[i], launcher, siteUrls[i]);
    return panel;
}

IntlPanel buildIntlPanel(QWidget* rightColumn) {
    IntlPanel panel;
    panel.frame = place<QFrame>(rightColumn, QStringLiteral("国际价格背景框"), {2, 564, 260, 70});
    panel.frame->setFrameShape(QFrame::StyledPanel);
    place<QLabel>(panel.frame, QStringLiteral("透明标签34"), {8, 12, 56, 16}, QStringLiteral("国际买入"));
    panel.buy = priceLabel(panel.frame, QStringLiteral("标签_国际买入价"), {66, 11, 60, 18}, 14);
    place<QLabel>(panel.frame, QStringLiteral("透明标签35"), {134, 12, 56, 16}, QStringLiteral("国际卖出"));
    panel.sell = priceLabel(panel.frame, QStringLiteral("标签_国际卖出价"), {192, 11, 60, 18}, 14);

    panel.progress = place<QProgressBar>(panel.frame, QStringLiteral("进度条_国际"), {10, 44, 240, 13});
    panel.progress->setRange(0, 10);
    panel.progress->setValue(0);
    panel.progress->setTextVisible(false);

    // The connecting indicator lies over the progress bar until prices arrive.
    panel.canvas = place<QWidget>(panel.frame, QStringLiteral("画板_连接服务器"), {10, 42, 240, 16});
    panel.canvas->setAutoFillBackground(true);
    panel.connecting = place<QLabel>(panel.canvas, QStringLiteral("标签_连接服务器"), {41, 0, 120, 16},
                                     QStringLiteral("...正在连接服务器..."));
    panel.connecting->setAlignment(Qt::AlignCenter);
    return panel;
}


} // namespace quotepanels
