#include "quote_model.h"

void QuoteModel::setBaseBuy(const QByteArray& text) {
    baseBuy_ = text;
    emit baseChanged();
}

void QuoteModel::setBaseSell(const QByteArray& text) {
    baseSell_ = text;
    emit baseChanged();
}
