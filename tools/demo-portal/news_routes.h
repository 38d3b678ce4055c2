#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QHttpServer;

// The product site's news: a GBK list of gold-market headlines, one
// "headline|>address" a line, each linking to a small article page on the
// portal itself.
namespace demoportal {

// GET /news/newslist.txt and GET /news/article/N.
void addNewsRoutes(QHttpServer& server);

// The headlines in list order.
QStringList newsHeadlines();
// The list with article addresses under `origin` ("http://127.0.0.1:18090").
QByteArray buildNewsList(const QString& origin);
// Article `number` (1-based) as a UTF-8 page; empty when there is none.
QByteArray buildArticlePage(int number);

} // namespace demoportal
