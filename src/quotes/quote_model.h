#pragma once

#include "quotes/shown_price.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>

// The prices of the run. The base pair holds the raw 6-byte GBK fields cut
// from the quote page; the eight shown texts are derived from it by the update
// cycle. Everything here is written on the user-interface thread only (the
// page download completes there), so a reader never sees half a pair.
class QuoteModel : public QObject {
    Q_OBJECT
public:
    using Shown = ShownPrice;
    static constexpr int kShownCount = kShownPriceCount;
    // The model names of the shown texts: "icbcBuy", "icbcSell", ...
    static QString shownName(Shown which);

    explicit QuoteModel(QObject* parent = nullptr) : QObject(parent) {}

    const QByteArray& baseBuy() const { return baseBuy_; }
    const QByteArray& baseSell() const { return baseSell_; }
    void setBaseBuy(const QByteArray& text);
    void setBaseSell(const QByteArray& text);
    // Both base fields convert to non-zero numbers.
    bool basePricesValid() const;

    // Empty at start; only ever replaced.
    const QString& shown(Shown which) const { return shown_[static_cast<size_t>(which)]; }
    void setShown(Shown which, const QString& text);

signals:
    void baseChanged();
    void shownChanged(QuoteModel::Shown which, const QString& text);

private:
    QByteArray baseBuy_;
    QByteArray baseSell_;
    std::array<QString, kShownCount> shown_;
};
