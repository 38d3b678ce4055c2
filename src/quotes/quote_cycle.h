#pragma once

#include "quote_model.h"
#include "quote_panels.h"

#include <QObject>
#include <array>

class Clock;
class QuoteFetcher;
class Random;
class Timer;

// The timers that turn the two base prices into the eight shown prices, the
// progress animations after each update, the connecting indicator, the bank
// rows' start and stop buttons, and the weekend closing of the bank rows.
class QuoteCycle : public QObject {
    Q_OBJECT
public:
    static constexpr int kConnectionCheckMs = 3000;
    static constexpr int kIntlUpdateMs = 10000;
    static constexpr int kBankUpdateMs = 15000;
    static constexpr int kIndicatorMs = 50;
    static constexpr int kTradingDayCheckMs = 600000;
    static constexpr int kBankProgressMax = 30;
    static constexpr int kIntlProgressMax = 10;

    // Timers of the international row and the indicator go on `mainWindow`;
    // each bank's timers on its card.
    QuoteCycle(QWidget* mainWindow, QuoteModel& model, QuoteFetcher& fetcher, Random& random, Clock& clock,
               const quotepanels::BankPanel& banks, const quotepanels::IntlPanel& intl);

    // What the start and stop buttons do, for row 0 (ICBC), 1 (CCB) or 2 (BOC).
    void startBank(int row);
    void stopBank(int row);

    // Evaluates the closed-market rule now and freezes the bank rows when it holds.
    void checkTradingDay();

private:
    struct Progress {
        QProgressBar* bar = nullptr;
        Timer* timer = nullptr;
        int maximum = 0;
        int position = 0;
    };
    struct Bank {
        quotepanels::BankRow row;
        Timer* update = nullptr;
    };

    void onConnectionCheck();
    void onIntlUpdate();
    void onBankUpdate(int row);
    void startProgress(int index);
    void onProgressTick(int index);
    void onIndicatorRight();
    void onIndicatorLeft();
    void hideConnectingIndicator();
    void enterClosedState();
    void showModelText(QuoteModel::Shown which, const QString& text);

    QuoteModel& model_;
    QuoteFetcher& fetcher_;
    Random& random_;
    Clock& clock_;
    quotepanels::IntlPanel intl_;
    std::array<Bank, 3> banks_;
    std::array<Progress, 4> progress_;
    Timer* connectionCheck_;
    Timer* intlUpdate_;
    Timer* indicatorRight_;
    Timer* indicatorLeft_;
    Timer* tradingDayCheck_;
};
