#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>

class QWidget;
class QuoteModel;
struct Services;

// Downloads the quote page and stores its two price fields in the model.
// At most one download is in flight: a slow portal must not collect a queue of
// fetches, one per timer tick. Answers are applied on the user-interface thread.
class QuoteFetcher : public QObject {
    Q_OBJECT
public:
    static QUrl pageUrl(const QString& portalHost);

    QuoteFetcher(QuoteModel& model, Services& services, const QUrl& pageUrl, QWidget* messageParent);

    // Starts one download of the quote page; nothing waits for it. Skipped
    // while the previous download has not answered; the next tick tries again.
    void startQuoteFetch();
    // Applies one downloaded page: stores the fields or raises the data error.
    void applyQuotePage(const QByteArray& body);

    bool dataErrorRaised() const { return dataErrorRaised_; }

private:
    void raiseDataError();

    QuoteModel& model_;
    Services& services_;
    QUrl pageUrl_;
    QWidget* messageParent_;
    bool dataErrorRaised_ = false;
    bool fetchInFlight_ = false;
};
