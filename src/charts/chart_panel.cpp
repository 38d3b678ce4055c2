#include "chart_panel.h"

#include "charts/image_bounds.h"
#include "platform/http.h"
#include "platform/services.h"
#include "platform/web_cache.h"
#include "platform/web_views.h"

#include <QBuffer>
#include <QImageReader>
#include <QMovie>
#include <QPainter>

ChartPanel::ChartPanel(QWidget* parent, Services& services) : QFrame(parent), services_(services) {
    setFrameShape(QFrame::NoFrame);
    setContentsMargins(0, 0, 0, 0);
    setProperty("url", QString());
    setProperty("image", QString());
    setProperty("loaded", false);
}

QString ChartPanel::tidyPageScript() {
    return QStringLiteral("(function () {"
                          " var body = document.body; if (!body) return;"
                          " document.documentElement.style.overflow = 'hidden';"
                          " body.style.overflow = 'hidden'; body.style.overflowX = 'hidden';"
                          " body.style.overflowY = 'hidden';"
                          " body.style.border = '0px none #CCCCCC';"
                          "})();");
}

void ChartPanel::load(const QUrl& url, charts::Content content) {
    if (content == charts::Content::Page)
        loadPage(url);
    else
        loadImage(url);
}

void ChartPanel::dropDownload() {
    delete download_;
    download_ = nullptr;
}

void ChartPanel::loadImage(const QUrl& url) {
    const quint64 serial = ++serial_;
    // A refresh that comes before the last answer replaces it: one download per panel at most.
    dropDownload();
    url_ = url;
    setProperty("url", url.toString());
    if (webView_)
        webView_->hide();
    if (url.isEmpty()) {
        clearImage();
        finish(false);
        return;
    }
    DownloadCache* cache = services_.webCache ? &services_.webCache->downloads() : nullptr;
    if (cache) {
        if (const std::optional<QByteArray> cached = cache->find(url)) {
            finish(showImage(*cached));
            return;
        }
    }
    download_ = new QObject(this);
    download_->setObjectName(objectName());
    services_.http->get(
        url, download_,
        [this, serial, url, cache](std::optional<QByteArray> body) {
            if (serial != serial_)
                return;
            download_->deleteLater();
            download_ = nullptr;
            const bool shown = body && showImage(*body);
            if (shown && cache)
                cache->store(url, *body);
            if (!shown)
                clearImage();
            finish(shown);
        },
        kMaxImageBytes);
}

void ChartPanel::loadPage(const QUrl& url) {
    ++serial_;
    dropDownload();
    url_ = url;
    setProperty("url", url.toString());
    clearImage();
    if (url.isEmpty()) {
        if (webView_)
            webView_->hide();
        finish(false);
        return;
    }
    ensureWebView();
    webView_->show();
    webView_->navigate(url);
}

void ChartPanel::ensureWebView() {
    if (webView_)
        return;
    webView_ = services_.webViews->create(this, WebView::NewWindowPolicy::Refuse);
    webView_->setDiscardWhenHidden(true);
    webView_->setGeometry(rect());
    connect(webView_, &WebView::loaded, this, [this](bool ok) {
        if (ok)
            webView_->runJavaScript(tidyPageScript());
        finish(ok);
    });
}

QPixmap ChartPanel::image() const {
    if (movie_)
        return movie_->currentPixmap();
    return still_;
}

bool ChartPanel::showImage(const QByteArray& bytes) {
    clearImage();
    QBuffer probe;
    probe.setData(bytes);
    probe.open(QIODevice::ReadOnly);
    QImageReader reader(&probe);
    if (!fitsBounds(bytes, reader))
        return false;
    if (reader.supportsAnimation() && reader.imageCount() > 1) {
        movieBytes_ = new QBuffer(this);
        movieBytes_->setData(bytes);
        movie_ = new QMovie(movieBytes_, QByteArray(), this);
        if (movie_->isValid()) {
            connect(movie_, &QMovie::frameChanged, this, qOverload<>(&QWidget::update));
            movie_->start();
            update();
            return true;
        }
        clearImage();
        return false;
    }
    const QImage decoded = reader.read();
    if (decoded.isNull())
        return false;
    still_ = QPixmap::fromImage(decoded);
    update();
    return true;
}

bool ChartPanel::fitsBounds(const QByteArray& bytes, QImageReader& reader) {
    // The header's size, before a pixel is decoded. A GIF's decoder may
    // allocate more than the reader reports and unpack more than its frames
    // hold, so its blocks are read for what they really ask.
    if (const std::optional<charts::GifShape> gif = charts::scanGif(bytes)) {
        return gif->wellFormed && charts::withinImageBounds(gif->canvas.expandedTo(reader.size()),
                                                            gif->frames, gif->largestFrameWork);
    }
    const QSize size = reader.size();
    const int frames = reader.supportsAnimation() ? reader.imageCount() : 1;
    return charts::withinImageBounds(size, frames, qint64(size.width()) * size.height());
}

void ChartPanel::clearImage() {
    delete movie_;
    movie_ = nullptr;
    delete movieBytes_;
    movieBytes_ = nullptr;
    still_ = QPixmap();
    update();
}

void ChartPanel::finish(bool ok) {
    const QPixmap shown = image();
    setProperty("image",
                shown.isNull() ? QString() : QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height()));
    setProperty("loaded", ok);
    emit loaded(ok);
}

void ChartPanel::paintEvent(QPaintEvent*) {
    // Like an empty browser page: white, and no frame whatever the style says.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QPixmap shown = image();
    if (!shown.isNull())
        painter.drawPixmap(0, 0, shown);
}

void ChartPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (webView_)
        webView_->setGeometry(rect());
}
