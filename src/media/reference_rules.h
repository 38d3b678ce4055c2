#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// The reference browser's fixed links and its tab captions.
namespace referencerules {

// One line of the side tree. A group line has no page; a link's page is its
// path on the host that endpoints.ini gives under hostKey.
struct Link {
    QString text;
    QString hostKey; // empty for a group line
    QString path;
};

// Every line of the tree, in order (the line numbers count from 0); the
// groups are "重要数据", "黄金资询" and "银行".
const QList<Link>& links();
constexpr int kStartLine = 2; // " 今日数据"

// "http://" + host + path. A host may carry a path of its own in front of the
// link's ("127.0.0.1:18090/ref/sina"); an empty host gives no address.
QUrl pageUrl(const QString& host, const QString& path);

// The tab caption of a page title: its first 15 bytes in GBK, where a
// two-byte character that starts at the 15th byte is kept whole (16 bytes)
// and no character is ever cut in half.
QString tabCaption(const QString& title);
constexpr int kCaptionBytes = 15;

} // namespace referencerules
