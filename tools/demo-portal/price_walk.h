#pragma once

#include <QRandomGenerator>
#include <QString>

namespace demoportal {

// The ICBC paper-gold price the portal quotes: a random walk in whole cents
// around 900 yuan/gram, or a pair of texts pinned by a test.
class PriceWalk {
public:
    static constexpr int kSpreadCents = 80;
    static constexpr int kLowestBuyCents = 850'00;
    static constexpr int kHighestSellCents = 950'00;
    static constexpr int kMaxStepCents = 6;

    // Starts somewhere near 900.00.
    explicit PriceWalk(quint32 seed);
    // Starts at the given buy price, clamped into the band.
    PriceWalk(quint32 seed, int startBuyCents);

    // Moves one step (unless pinned) and reports the new quote.
    void step();

    QString buy() const;
    QString sell() const;
    // Change of the buy price over the last step, such as +0.03 or -0.05.
    QString change() const;

    // Freezes the quote at the given texts; both must pass isPriceText.
    void pin(const QString& buy, const QString& sell);
    void unpin();
    bool isPinned() const { return pinned_; }

    // Exactly six characters of digits with at most one decimal point.
    static bool isPriceText(const QString& text);

private:
    static QString centsText(int cents);

    QRandomGenerator random_;
    int buyCents_;
    int lastStepCents_ = 0;
    bool pinned_ = false;
    QString pinnedBuy_;
    QString pinnedSell_;
};

} // namespace demoportal
