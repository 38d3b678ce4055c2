#pragma once

#include <QMainWindow>

class QuoteFetcher;
class QuoteModel;
class Timer;
struct Services;

// The program's home window. It owns every other window; destroying it ends
// the program.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 1019;
    static constexpr int kDesignHeight = 730;

    explicit MainWindow(Services& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    QuoteModel& quoteModel() { return *quoteModel_; }
    QuoteFetcher& quoteFetcher() { return *quoteFetcher_; }

private:
    void onCreated();
    void centreOnScreen();

    Services& services_;
    QuoteModel* quoteModel_;
    QuoteFetcher* quoteFetcher_;
    Timer* fetchTimer_;
};
