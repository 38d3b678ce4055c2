#pragma once

#include <QList>
#include <QString>

namespace history {

// One entry of the alert log, kept in the history's file beside the prices:
// when which rule hit on which channel, with the threshold and the price as
// the user saw them. Texts, so that any SQLite tool reads the table as it is.
struct AlertRecord {
    qint64 ms = 0;
    QString channel;   // "声音提醒", "屏幕下方提醒", "桌面通知"
    QString bank;      // "工行", "建行", "中行" or "国际"
    QString rule;      // "买入价低于" …
    QString threshold; // as typed
    QString price;     // as shown

    bool operator==(const AlertRecord&) const = default;
};

} // namespace history
