#pragma once

#include "alerts/alert_rules.h"
#include "history/alert_record.h"

#include <QObject>
#include <functional>

class PriceHistory;

// The record of every alert that reached the user, on any channel: kept in
// the price history's file, written on its thread, read back for "提醒记录".
class AlertLog : public QObject {
    Q_OBJECT
public:
    explicit AlertLog(PriceHistory& history, QObject* parent = nullptr);

    // One hit that `channel` told the user of, at the history's clock time.
    void record(alertrules::Channel channel, alertrules::Target target, alertrules::Rule rule,
                const QString& threshold, const QString& price);
    // Every entry held, newest first, handed to `done` on this thread unless
    // `context` has gone by then.
    void read(QObject* context, std::function<void(const QList<history::AlertRecord>&)> done);
    // Empties the log.
    void clear();

    // The CSV file of `records`: "时间,银行,条件,设定值,价格,提醒方式" and a line each.
    static QByteArray csvOf(const QList<history::AlertRecord>& records);
    // "yyyy-MM-dd HH:mm:ss", local time.
    static QString timeText(qint64 ms);

signals:
    void recorded(const history::AlertRecord& record);
    void cleared();

private:
    PriceHistory& history_;
};
