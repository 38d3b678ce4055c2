#include "news_ticker.h"

#include "news_link.h"
#include "news_list.h"
#include "news_store.h"
#include "news_strip.h"
#include "platform/http.h"
#include "platform/launcher.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "platform/web_cache.h"
#include "records/open_failure.h"
#include "ui/place.h"

#include <QEvent>
#include <QMouseEvent>
#include <algorithm>

namespace {

// The link is 14 pixels high, centred in the 16-pixel strip.
constexpr int kLinkHeight = 14;

} // namespace

NewsTicker::NewsTicker(QWidget* client, Services& services, const QUrl& listUrl)
    : QObject(client), services_(services), listUrl_(listUrl) {
    strip_ = place<NewsStrip>(client, QStringLiteral("新闻背景画板"), {502, 668, 250, 16});
    // A headline is text, never markup a label would render.
    link_ = place<NewsLink>(strip_, QStringLiteral("新闻显示链接框"), {250, 1, 400, kLinkHeight});
    link_->installEventFilter(this);
    strip_->raise();

    scrollTimer_ = new Timer(this, QStringLiteral("时钟_新闻滚动时钟"));
    connect(scrollTimer_, &Timer::timeout, this, &NewsTicker::scrollStep);
    worker_.setMaxThreadCount(1);
}

NewsTicker::~NewsTicker() {
    // The last position reaches the file before the program ends.
    worker_.waitForDone();
}

void NewsTicker::fetchNewsList() {
    if (fetched_ || listUrl_.isEmpty())
        return;
    fetched_ = true;
    if (services_.webCache)
        services_.webCache->clearWebCache();
    services_.http->get(
        listUrl_, this,
        [this](std::optional<QByteArray> body) {
            // No answer is no list: silent, and not asked again this run.
            if (body)
                takeList(*body);
        },
        newslist::kMaxListBytes);
}

void NewsTicker::takeList(const QByteArray& text) {
    if (!newslist::isNewsList(text))
        return;
    newsLines_ = newslist::splitLines(text);
    const int count = int(newsLines_.size());
    // The first open derives the file's key: off this thread, like every open.
    worker_.start([this, count] {
        const std::optional<int> start = newsstore::startRun(count);
        QMetaObject::invokeMethod(
            this, [this, start] { start ? startAt(*start) : storeFailed(); }, Qt::QueuedConnection);
    });
}

void NewsTicker::startAt(int newsLine) {
    newsLine_ = newsLine;
    showNextNewsLine();
}

void NewsTicker::showNextNewsLine() {
    if (failed_)
        return;
    const int count = int(newsLines_.size());
    const int from = newsLine_;
    // Lines that are not "headline|>address" are passed over; every line
    // keeps its number, so the stored position means the same next run.
    std::optional<newslist::Item> item;
    while (!item && newsLine_ >= 1 && newsLine_ <= count) {
        item = newslist::parseLine(newsLines_[newsLine_ - 1]);
        ++newsLine_;
    }
    if (newsLine_ != from) {
        const int next = newsLine_;
        worker_.start([this, next] {
            if (!newsstore::storePosition(next))
                QMetaObject::invokeMethod(this, &NewsTicker::storeFailed, Qt::QueuedConnection);
        });
    }
    if (!item) {
        // Used up for this run: the strip stays empty.
        scrollTimer_->setInterval(0);
        clearLink();
        return;
    }
    target_ = item->address;
    link_->setText(item->headline);
    link_->setCursor(newslist::isOpenableAddress(target_) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    // The width rule counts half an "A" a byte; a headline drawn wider than
    // that (CJK glyphs are wider than two Latin halves in most fonts) gets
    // its drawn width, so it is never cut off and leaves the strip whole.
    const int ruled = newslist::linkWidth(item->headlineBytes, strip_->fontMetrics().horizontalAdvance(u'A'));
    const int drawn = link_->fontMetrics().horizontalAdvance(item->headline) + 2;
    link_->setGeometry(strip_->width(), link_->y(), std::max(ruled, drawn), link_->height());
    scrollTimer_->setInterval(kScrollIntervalMs);
}

void NewsTicker::scrollStep() {
    if (link_->x() + link_->width() <= 0) {
        link_->move(strip_->width(), link_->y());
        showNextNewsLine();
        if (!scrollTimer_->isRunning())
            return;
    }
    link_->move(link_->x() - 1, link_->y());
}

bool NewsTicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == link_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && link_->rect().contains(mouse->position().toPoint()))
            openTarget();
    }
    return QObject::eventFilter(watched, event);
}

void NewsTicker::openTarget() {
    // Anything but a web address is shown and never opened.
    if (!target_.isEmpty() && newslist::isOpenableAddress(target_))
        services_.launcher->openUrl(QUrl(target_, QUrl::StrictMode));
}

void NewsTicker::clearLink() {
    link_->clear();
    link_->unsetCursor();
    target_.clear();
}

void NewsTicker::storeFailed() {
    if (failed_)
        return;
    failed_ = true;
    scrollTimer_->setInterval(0);
    clearLink();
    showRecordOpenFailure(*services_.dialogs, strip_->window());
    services_.quit(0);
}
