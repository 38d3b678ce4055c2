#include "quote_model.h"

#include "price_rules.h"

QString QuoteModel::shownName(Shown which) {
    static const std::array<QString, kShownCount> names = {
        QStringLiteral("icbcBuy"), QStringLiteral("icbcSell"), QStringLiteral("ccbBuy"),
        QStringLiteral("ccbSell"), QStringLiteral("bocBuy"),   QStringLiteral("bocSell"),
        QStringLiteral("intlBuy"), QStringLiteral("intlSell"),
    };
    return names[static_cast<size_t>(which)];
}

void QuoteModel::setBaseBuy(const QByteArray& text) {
    baseBuy_ = text;
    emit baseChanged();
}

void QuoteModel::setBaseSell(const QByteArray& text) {
    baseSell_ = text;
    emit baseChanged();
}

void QuoteModel::setDemoFeed(bool demo) {
    if (demo == demoFeed_)
        return;
    demoFeed_ = demo;
    emit demoFeedChanged(demo);
}

bool QuoteModel::basePricesValid() const {
    return pricerules::basePricesValid(baseBuy_, baseSell_);
}

void QuoteModel::setShown(Shown which, const QString& text) {
    shown_[static_cast<size_t>(which)] = text;
    emit shownChanged(which, text);
}
