#include "main_window.h"

#include "app/endpoints.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "quotes/quote_fetcher.h"
#include "quotes/quote_model.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
constexpr int kFetchIntervalMs = 60000;
}

MainWindow::MainWindow(Services& services, QWidget* parent) : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(QStringLiteral("Aurivex3.0"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(kDesignWidth, kDesignHeight);
    centreOnScreen();

    quoteModel_ = new QuoteModel(this);
    quoteFetcher_ =
        new QuoteFetcher(*quoteModel_, services_,
                         QuoteFetcher::pageUrl(endpoints::value(QStringLiteral("quotePortalHost"))), this);
    fetchTimer_ = new Timer(this, QStringLiteral("时钟_取价格数据"), kFetchIntervalMs);
    connect(fetchTimer_, &Timer::timeout, quoteFetcher_, &QuoteFetcher::startQuoteFetch);

    onCreated();
}

MainWindow::~MainWindow() {
    // Closing the main window ends the program, whatever else is open.
    if (services_.quit) services_.quit(0);
}

void MainWindow::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void MainWindow::onCreated() {
    quoteFetcher_->startQuoteFetch();
}
