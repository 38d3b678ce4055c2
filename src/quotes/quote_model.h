#pragma once

#include <QByteArray>
#include <QObject>

// The prices of the run. The base pair holds the raw 6-byte GBK fields cut
// from the quote page; it is written only on the user-interface thread (the
// download completes there), so a reader never sees half a pair.
class QuoteModel : public QObject {
    Q_OBJECT
public:
    explicit QuoteModel(QObject* parent = nullptr) : QObject(parent) {}

    const QByteArray& baseBuy() const { return baseBuy_; }
    const QByteArray& baseSell() const { return baseSell_; }
    void setBaseBuy(const QByteArray& text);
    void setBaseSell(const QByteArray& text);

signals:
    void baseChanged();

private:
    QByteArray baseBuy_;
    QByteArray baseSell_;
};
