#include "quote_display.h"

#include "core/demo_feed.h"
#include "core/endpoints.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "quotes/quote_cycle.h"
#include "quotes/quote_fetcher.h"
#include "quotes/quote_model.h"
#include "settings/settings_store.h"

#include <QFrame>
#include <QPushButton>

QuoteDisplay::QuoteDisplay(QWidget* window, Services& services, const endpoints::Endpoints& hosts)
    : QObject(window), services_(services), window_(window), model_(new QuoteModel(window)) {
    const QString quoteHost = hosts.value(endpoints::key::quotePortalHost);
    fetcher_ = new QuoteFetcher(*model_, *services_.http, QuoteFetcher::pageUrl(quoteHost), window);
    fetcher_->setDemoAddress(demofeed::isDemo(quoteHost));
    connect(fetcher_, &QuoteFetcher::dataError, this, &QuoteDisplay::showDataError);
    fetchTimer_ = new Timer(window, QStringLiteral("时钟_取价格数据"), kFetchIntervalMs);
    connect(fetchTimer_, &Timer::timeout, fetcher_, &QuoteFetcher::startQuoteFetch);
}

void QuoteDisplay::buildBankPanel(QWidget* page, const SplitterSpan& span,
                                  const endpoints::Endpoints& hosts) {
    span_ = span;
    bank_ = quotepanels::buildBankPanel(page, services_.launcher,
                                        {hosts.value(endpoints::key::icbcSiteUrl),
                                         hosts.value(endpoints::key::ccbSiteUrl),
                                         hosts.value(endpoints::key::bocSiteUrl)});
    connect(bank_.splitter, &QPushButton::clicked, this, &QuoteDisplay::toggleBankPanel);
}

void QuoteDisplay::buildIntlPanel(QWidget* rightColumn) {
    intl_ = quotepanels::buildIntlPanel(rightColumn);
    cycle_ = new QuoteCycle(window_, *model_, *fetcher_, *services_.random, *services_.clock, bank_, intl_);
}

void QuoteDisplay::showDataError() {
    // The window keeps working behind the box; OK ends the program.
    services_.dialogs->notify(window_, QStringLiteral("敬告：服务器数据错误！"), QStringLiteral("数据错误"),
                              [quit = services_.quit] { quit(0); });
}

void QuoteDisplay::start() {
    fetcher_->startQuoteFetch();
    attachTooltips();
}

void QuoteDisplay::attachTooltips() {
    static const char* const banks[] = {"工行", "建行", "中行"};
    for (size_t i = 0; i < bank_.rows.size(); ++i) {
        const QString bank = QString::fromUtf8(banks[i]);
        bank_.rows[i].start->setToolTip(QStringLiteral("点击获取%1数据！").arg(bank));
        bank_.rows[i].stop->setToolTip(QStringLiteral("点击停止获取%1数据！").arg(bank));
    }
}

void QuoteDisplay::applyHolds(const settings::Snapshot& config) {
    const settings::Flag* holds[] = {&settings::key::holdIcbc, &settings::key::holdCcb,
                                     &settings::key::holdBoc};
    for (int i = 0; i < 3; ++i) {
        if (config.value(*holds[i]))
            cycle_->stopBank(i);
    }
}

void QuoteDisplay::checkTradingDay() {
    cycle_->checkTradingDay();
}

void QuoteDisplay::toggleBankPanel() {
    QWidget* chart = span_.chart;
    const quotepanels::SplitterToggle t =
        quotepanels::toggleBankPanel(bank_.splitter->y(), bank_.splitter->height(), span_.tabs->height(),
                                     span_.speedPanel->height(), chart->height());
    bank_.splitter->move(bank_.splitter->x(), t.splitterTop);
    bank_.background->move(bank_.background->x(), t.panelTop);
    chart->move(chart->x(), t.chartTop);
}
