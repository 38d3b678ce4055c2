#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>

class Http;
class QuoteModel;

// Downloads the quote page and stores its two price fields in the model.
// At most one download is in flight: a slow portal must not collect a queue of
// fetches, one per timer tick. Answers are applied on the user-interface thread.
class QuoteFetcher : public QObject {
    Q_OBJECT
public:
    static QUrl pageUrl(const QString& portalHost);

    QuoteFetcher(QuoteModel& model, Http& http, const QUrl& pageUrl, QObject* parent = nullptr);

    // Starts one download of the quote page; nothing waits for it. Skipped
    // while the previous download has not answered; the next tick tries again.
    void startQuoteFetch();
    // Applies one downloaded page: stores the fields or raises the data error.
    void applyQuotePage(const QByteArray& body);

    bool dataErrorRaised() const { return dataErrorRaised_; }

    // The page comes from the demo portal's address: whatever answers there,
    // its prices are not a bank's, marked page or not.
    void setDemoAddress(bool demo) { demoAddress_ = demo; }

signals:
    // A price field holds a tag character: the portal's data cannot be
    // trusted. Raised once; no page is fetched or stored after it.
    void dataError();

private:
    QuoteModel& model_;
    Http& http_;
    QUrl pageUrl_;
    bool dataErrorRaised_ = false;
    bool fetchInFlight_ = false;
    bool demoAddress_ = false;
};
