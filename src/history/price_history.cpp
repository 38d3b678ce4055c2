#include "price_history.h"

#include "bar_rules.h"
#include "chart_data.h"
#include "core/app_dir.h"
#include "platform/clock.h"
#include "platform/timer.h"
#include "quotes/quote_fetcher.h"
#include "quotes/quote_model.h"

#include <QRandomGenerator>
#include <QThread>
#include <cstdio>

namespace history {

// Owns the store on the history's thread: gathers changes and commits them
// when its timer runs out, before a read, and when it goes.
class Worker : public QObject {
public:
    explicit Worker(const QString& path) : path_(path) {}
    ~Worker() override { commit(); }

    void start() {
        store_.open(path_);
        commitTimer_ = new Timer(this, QStringLiteral("时钟_价格记录写入"));
        connect(commitTimer_, &Timer::timeout, this, [this] { commit(); });
    }
    void add(Series series, Change change) {
        pending_.append({series, change});
        if (commitTimer_ && !commitTimer_->isRunning())
            commitTimer_->setInterval(commitMs_);
    }
    void addAlert(const AlertRecord& record) {
        pendingAlerts_.append(record);
        if (commitTimer_ && !commitTimer_->isRunning())
            commitTimer_->setInterval(commitMs_);
    }
    QList<AlertRecord> alerts() {
        commit();
        return store_.alerts();
    }
    void clearAlerts() {
        pendingAlerts_.clear();
        store_.clearAlerts();
    }
    void commit() {
        if (commitTimer_)
            commitTimer_->setInterval(0);
        if (!pendingAlerts_.isEmpty()) {
            store_.appendAlerts(pendingAlerts_);
            pendingAlerts_.clear();
        }
        if (pending_.isEmpty())
            return;
        // A disk that refuses the commit loses these changes, not the file's others.
        if (store_.append(pending_) && drill_) {
            kept_ += pending_.size();
            std::printf("aurivex-history kept %lld\n", static_cast<long long>(kept_));
            std::fflush(stdout);
        }
        pending_.clear();
    }
    PriceHistory::Spans read(const QList<Series>& series, qint64 fromMs, qint64 toMs, qint64 resolutionMs,
                             int utcOffsetSeconds) {
        commit();
        PriceHistory::Spans spans;
        for (Series s : series) {
            HistoryStore::Span span = store_.read(s, fromMs, toMs);
            if (resolutionMs > 0)
                span = {bars::aggregate(chartdata::minuteBarsOf(span), resolutionMs, utcOffsetSeconds), {}};
            spans.append({s, span});
        }
        return spans;
    }
    qint64 firstMs() {
        commit();
        return store_.firstMs();
    }
    void rollUp(qint64 nowMs) {
        commit();
        store_.rollUp(nowMs);
    }
    void startDrill() {
        drill_ = true;
        commitMs_ = 20;
    }

private:
    QString path_;
    HistoryStore store_;
    QList<std::pair<Series, Change>> pending_;
    QList<AlertRecord> pendingAlerts_;
    Timer* commitTimer_ = nullptr;
    int commitMs_ = PriceHistory::kFlushMs;
    bool drill_ = false;
    qint64 kept_ = 0;
};

} // namespace history

using namespace history;

template <typename Result>
void PriceHistory::handBack(QObject* context, std::function<Result()> work,
                            std::function<void(const Result&)> done) {
    QPointer<QObject> receiver(context);
    QMetaObject::invokeMethod(worker_, [this, receiver, work = std::move(work), done = std::move(done)] {
        Result result = work();
        // Handed back through this object, which outlives the worker; the
        // receiver may have gone meanwhile.
        QMetaObject::invokeMethod(this, [receiver, done, result = std::move(result)] {
            if (receiver)
                done(result);
        });
    });
}

PriceHistory::PriceHistory(const QString& path, Clock& clock, QObject* parent)
    : QObject(parent), clock_(clock), thread_(new QThread(this)), worker_(new Worker(path)) {
    thread_->setObjectName(QStringLiteral("price history"));
    worker_->moveToThread(thread_);
    thread_->start(QThread::LowPriority);
    QMetaObject::invokeMethod(worker_, [w = worker_] { w->start(); });
    rollUpTimer_ = new Timer(this, QStringLiteral("时钟_价格记录整理"), kRollUpMs);
    connect(rollUpTimer_, &Timer::timeout, this, &PriceHistory::rollUp);
    rollUp();
}

PriceHistory::~PriceHistory() {
    // Changes still on their way to the worker arrive before this commit;
    // the thread then deletes the worker on its way out.
    flush();
    worker_->deleteLater();
    thread_->quit();
    thread_->wait();
}

void PriceHistory::offer(Series series, const QString& text) {
    const std::optional<Change> change = filter_.offer(series, text, clock_.now());
    if (!change)
        return;
    QMetaObject::invokeMethod(worker_, [w = worker_, series, c = *change] { w->add(series, c); });
    emit recorded(series, *change);
}

void PriceHistory::read(const QList<Series>& series, qint64 fromMs, qint64 toMs, QObject* context,
                        std::function<void(const Spans&)> done, qint64 resolutionMs, int utcOffsetSeconds) {
    handBack<Spans>(
        context, [=, w = worker_] { return w->read(series, fromMs, toMs, resolutionMs, utcOffsetSeconds); },
        std::move(done));
}

void PriceHistory::firstTime(QObject* context, std::function<void(qint64)> done) {
    handBack<qint64>(
        context, [w = worker_] { return w->firstMs(); }, std::move(done));
}

void PriceHistory::logAlert(const AlertRecord& record) {
    QMetaObject::invokeMethod(worker_, [w = worker_, record] { w->addAlert(record); });
}

void PriceHistory::readAlerts(QObject* context, std::function<void(const QList<AlertRecord>&)> done) {
    handBack<QList<AlertRecord>>(
        context, [w = worker_] { return w->alerts(); }, std::move(done));
}

void PriceHistory::clearAlerts() {
    QMetaObject::invokeMethod(worker_, [w = worker_] { w->clearAlerts(); });
}

void PriceHistory::flush() {
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->commit(); }, Qt::BlockingQueuedConnection);
}

void PriceHistory::rollUp() {
    QMetaObject::invokeMethod(worker_,
                              [w = worker_, now = clock_.now().toMSecsSinceEpoch()] { w->rollUp(now); });
}

void PriceHistory::follow(const QuoteModel& model, const QuoteFetcher& fetcher) {
    static_assert(QuoteModel::kShownCount == history::kSeriesCount);
    connect(&model, &QuoteModel::shownChanged, this, [this](QuoteModel::Shown which, const QString& text) {
        offer(static_cast<history::Series>(which), text);
    });
    connect(&fetcher, &QuoteFetcher::dataError, this, &PriceHistory::stopForDataError);
}

PriceHistory* PriceHistory::startDrill(quint32 seed, QObject* parent) {
    static SystemClock clock;
    auto* history = new PriceHistory(appPath(QString::fromLatin1(kFile)), clock, parent);
    Worker* worker = history->worker_;
    QMetaObject::invokeMethod(worker, [worker] { worker->startDrill(); });
    auto* drill = new Timer(history, QStringLiteral("时钟_价格记录演练"), 3);
    connect(drill, &Timer::timeout, history, [worker, random = QRandomGenerator(seed)]() mutable {
        const auto series = static_cast<Series>(random.bounded(kSeriesCount));
        const Change change{QDateTime::currentMSecsSinceEpoch(), Fen(80000 + random.bounded(20000))};
        QMetaObject::invokeMethod(worker, [worker, series, change] { worker->add(series, change); });
    });
    return history;
}
