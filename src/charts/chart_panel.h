#pragma once

#include "charts/chart_catalogue.h"

#include <QFrame>
#include <QPixmap>
#include <QUrl>

class QBuffer;
class QImageReader;
class QMovie;
class WebView;
struct Services;

// One chart on screen, flush at the panel's top left, without scroll bars or
// border. A chart image is fetched and drawn by the panel itself (animated
// GIFs play), through the web cache: a browser engine per image would cost
// far more than the image. An image that would cost far more to decode than
// any chart is refused unseen, and the panel stays as for a chart that did
// not arrive. A web page goes into an embedded browser, made when the panel
// first needs one and given up while hidden; after each of its loads the
// page's scroll bars and border are switched off.
//
// For the state dump the panel carries the dynamic properties "url" (the
// address last asked for), "image" ("WIDTHxHEIGHT" of the image shown, or
// empty) and "loaded" (whether the last load brought its chart).
class ChartPanel : public QFrame {
    Q_OBJECT
public:
    // Larger answers are no chart image.
    static constexpr qint64 kMaxImageBytes = 4 * 1024 * 1024;

    ChartPanel(QWidget* parent, Services& services);

    // Shows the image at `url`, from the web cache when it holds it. The
    // chart shown stays until the new one arrives; one that does not arrive
    // leaves the panel empty. An empty address empties the panel.
    void loadImage(const QUrl& url);
    // Shows the web page at `url`.
    void loadPage(const QUrl& url);
    void load(const QUrl& url, charts::Content content);

    QUrl url() const { return url_; }
    // The image shown (the current frame of an animation); null when none.
    QPixmap image() const;
    // The embedded browser; null until the first page.
    WebView* webView() const { return webView_; }

    // Switches the loaded page's scroll bars and border off.
    static QString tidyPageScript();

signals:
    // A load has finished, with or without its chart.
    void loaded(bool ok);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void dropDownload();
    bool showImage(const QByteArray& bytes);
    // Whether the image may be decoded at all (see charts::withinImageBounds).
    static bool fitsBounds(const QByteArray& bytes, QImageReader& reader);
    void clearImage();
    void finish(bool ok);
    void ensureWebView();

    Services& services_;
    QUrl url_;
    quint64 serial_ = 0; // the latest load; answers to older ones are dropped
    // The context of the image download in flight; ending it ends that download.
    QObject* download_ = nullptr;
    QPixmap still_;
    QMovie* movie_ = nullptr;
    QBuffer* movieBytes_ = nullptr;
    WebView* webView_ = nullptr;
};
