#include "alert_log.h"

#include "core/csv_text.h"
#include "history/price_history.h"
#include "platform/clock.h"

#include <QDateTime>

AlertLog::AlertLog(PriceHistory& history, QObject* parent) : QObject(parent), history_(history) {}

void AlertLog::record(alertrules::Channel channel, alertrules::Target target, alertrules::Rule rule,
                      const QString& threshold, const QString& price) {
    const history::AlertRecord entry{history_.clock().now().toMSecsSinceEpoch(),
                                     alertrules::channelName(channel),
                                     alertrules::targetName(target),
                                     alertrules::ruleName(rule),
                                     threshold,
                                     price};
    history_.logAlert(entry);
    emit recorded(entry);
}

void AlertLog::read(QObject* context, std::function<void(const QList<history::AlertRecord>&)> done) {
    history_.readAlerts(context, std::move(done));
}

void AlertLog::clear() {
    history_.clearAlerts();
    emit cleared();
}

QString AlertLog::timeText(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QByteArray AlertLog::csvOf(const QList<history::AlertRecord>& records) {
    QByteArray out = csv::start() + csv::line({QStringLiteral("时间"), QStringLiteral("银行"),
                                               QStringLiteral("条件"), QStringLiteral("设定值"),
                                               QStringLiteral("价格"), QStringLiteral("提醒方式")});
    for (const history::AlertRecord& r : records)
        out += csv::line({timeText(r.ms), r.bank, r.rule, r.threshold, r.price, r.channel});
    return out;
}
