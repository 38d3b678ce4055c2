#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>

class QWidget;
class QuoteModel;
struct Services;

// Downloads the quote page and stores its two price fields in the model.
// Fetches may overlap; each answer is applied on the user-interface thread as
// it arrives, and the last one wins.
class QuoteFetcher : public QObject {
    Q_OBJECT
public:
    static QUrl pageUrl(const QString& portalHost);

    QuoteFetcher(QuoteModel& model, Services& services, const QUrl& pageUrl, QWidget* messageParent);

    // Starts one download of the quote page; nothing waits for it.
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
};
