#pragma once

#include "diagnostics/snapshot_file.h"
#include "quotes/quote_model.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>

class Dialogs;
class RequestTally;
class QWidget;
class Timer;

// Writes the program's visible state as one JSON object to a file, replacing
// it atomically every 500 ms and at exit. Used by end-to-end tests and for
// diagnosis, when the environment names a file (Diagnostics). The file is
// its owner's alone, and password boxes show in it as one '*' a character.
class StateDump : public QObject {
    Q_OBJECT
public:
    StateDump(const QString& path, const Dialogs& dialogs, QObject* parent = nullptr);

    void setQuoteModel(QuoteModel* model) { quoteModel_ = model; }
    // Adds `requests`: each HTTP caller's outstanding, peak and started counts.
    void setRequestTally(const RequestTally* tally) { tally_ = tally; }
    void start();
    // Writes here and now; the timer's writes go through the writer's own thread.
    bool write();

    QJsonObject snapshot() const;
    static QJsonObject describeWindow(const QWidget* window);

private:
    QByteArray bytes() const;

    // Owner-only files, also when replacing one others could read: the dump
    // holds every text on the screen.
    SnapshotWriter writer_;
    const Dialogs& dialogs_;
    QPointer<QuoteModel> quoteModel_;
    const RequestTally* tally_ = nullptr;
    Timer* timer_;
};
