#pragma once

#include "app/snapshot_file.h"
#include "quotes/quote_model.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>

class Dialogs;
class CurlHttp;
class QWidget;
class Timer;

// Writes the program's visible state as one JSON object to a file, replacing
// it atomically every 500 ms and at exit. Used by end-to-end tests and for
// diagnosis; it only runs when AURIVEX_STATE_DUMP names a file. The file is
// its owner's alone, and password boxes show in it as one '*' a character.
class StateDump : public QObject {
    Q_OBJECT
public:
    StateDump(const QString& path, const Dialogs& dialogs, QObject* parent = nullptr);

    void setQuoteModel(QuoteModel* model) { quoteModel_ = model; }
    // Adds `requests`: each HTTP caller's outstanding, peak and started counts.
    void setHttp(const CurlHttp* http) { http_ = http; }
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
    const CurlHttp* http_ = nullptr;
    Timer* timer_;
};
