#pragma once

#include <QByteArray>

// Cuts the two price fields out of the portal's quote page. The cut works on
// GBK bytes at fixed offsets behind the first ICBC paper-gold row marker; it is
// not an HTML parser, and a tag character inside a field means the portal has
// changed its layout.
namespace quotepage {

// "工行-金行家" in GBK, 11 bytes.
QByteArray rowMarker();

constexpr qsizetype kBuyOffset = 244;
constexpr qsizetype kSellOffset = 354;
constexpr qsizetype kFieldLength = 6;

struct Cut {
    enum class Outcome {
        NoMarker,  // nothing to store, nothing to say
        Prices,    // store buy, then sell
        BuyError,  // the buy field holds a tag character: store nothing
        SellError, // buy is stored, then the sell field is found broken
    };
    Outcome outcome = Outcome::NoMarker;
    QByteArray buy;  // valid for Prices and SellError
    QByteArray sell; // valid for Prices

    bool storesBuy() const { return outcome == Outcome::Prices || outcome == Outcome::SellError; }
    bool isDataError() const { return outcome == Outcome::BuyError || outcome == Outcome::SellError; }
};

// The page text is the body up to its first zero byte.
Cut cut(const QByteArray& body);

// The demo portal says in every quote page it serves that its prices are
// simulated; a real portal's page never carries this.
QByteArray demoMarker();
// The page text carries the demo marker.
bool isDemoPage(const QByteArray& body);

} // namespace quotepage
