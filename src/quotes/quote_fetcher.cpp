#include "quote_fetcher.h"

#include "platform/http.h"
#include "quote_model.h"
#include "quote_page.h"

namespace {
// A portal page is a few tens of kilobytes; nothing past this is kept.
constexpr qint64 kMaxPageBytes = 512 * 1024;
} // namespace

QUrl QuoteFetcher::pageUrl(const QString& portalHost) {
    return QUrl(QStringLiteral("http://") + portalHost + QStringLiteral("/quote/index.html"));
}

QuoteFetcher::QuoteFetcher(QuoteModel& model, Http& http, const QUrl& pageUrl, QObject* parent)
    : QObject(parent), model_(model), http_(http), pageUrl_(pageUrl) {}

void QuoteFetcher::startQuoteFetch() {
    if (dataErrorRaised_ || fetchInFlight_)
        return;
    fetchInFlight_ = true;
    // Http answers exactly once while this object lives, so the flag always clears.
    http_.get(
        pageUrl_, this,
        [this](std::optional<QByteArray> body) {
            fetchInFlight_ = false;
            // A failed download is silent; the timers try again.
            if (body)
                applyQuotePage(*body);
        },
        kMaxPageBytes);
}

void QuoteFetcher::applyQuotePage(const QByteArray& body) {
    // The program is on its way out after a data error; later answers change nothing.
    if (dataErrorRaised_)
        return;
    const quotepage::Cut cut = quotepage::cut(body);
    // The mark follows the page the prices came from; a page without prices
    // leaves the shown ones, and their mark, as they are.
    if (cut.storesBuy()) {
        model_.setDemoFeed(demoAddress_ || quotepage::isDemoPage(body));
        model_.setBaseBuy(cut.buy);
    }
    if (cut.outcome == quotepage::Cut::Outcome::Prices)
        model_.setBaseSell(cut.sell);
    if (cut.isDataError()) {
        dataErrorRaised_ = true;
        emit dataError();
    }
}
