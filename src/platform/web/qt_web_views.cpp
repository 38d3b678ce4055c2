#include "qt_web_views.h"

#include <QCoreApplication>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineHttpRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <memory>

namespace {

bool started = false;
// Counts the emptyings of the web cache.
int cacheGeneration = 0;

// A page that never raises a dialog. The engine's script dialogs (alert,
// confirm, prompt, and "leave this page?" before an unload) are modal over the
// whole program, and a page that raises one after another would hold it for
// good: they are answered at once instead, as a person who cancels would,
// except that leaving a page the user navigated away from is allowed.
class QuietPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString& message) override {
        // Qt asks before an unload through this call, with its own text.
        return message ==
               QCoreApplication::translate(
                   "QWebEnginePage",
                   "Are you sure you want to leave this page? Changes that you made may not be saved.");
    }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
};

// The engine view is made when the first page is navigated to: a view that
// never loads anything costs nothing, and the engine starts only with the
// first page of the run.
class EngineView : public WebView {
    Q_OBJECT
public:
    EngineView(QWidget* parent, NewWindowPolicy policy) : WebView(parent), policy_(policy) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    // The engine answers pending scripts while the page is destroyed; by then
    // whoever asked may be half gone, so those answers are dropped.
    ~EngineView() override { *alive_ = false; }

    void navigate(const QUrl& url) override {
        QWebEngineView* view = engine();
        if (seenGeneration_ == cacheGeneration) {
            view->load(url);
            return;
        }
        // The cache was emptied since this view last loaded: the page comes
        // from the server, whatever the engine's cache holds.
        seenGeneration_ = cacheGeneration;
        QWebEngineHttpRequest request(url);
        request.setHeader(QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache"));
        request.setHeader(QByteArrayLiteral("Pragma"), QByteArrayLiteral("no-cache"));
        view->load(request);
    }

    void runJavaScript(const QString& script, Script done) override {
        if (!view_) {
            if (done)
                done(QVariant());
            return;
        }
        if (!done) {
            view_->page()->runJavaScript(script);
            return;
        }
        view_->page()->runJavaScript(script, [alive = alive_, done](const QVariant& result) {
            if (*alive)
                done(result);
        });
    }

    void back() override {
        if (view_)
            view_->back();
    }
    void forward() override {
        if (view_)
            view_->forward();
    }
    void reload() override {
        if (view_)
            view_->reload();
    }
    void stop() override {
        if (view_)
            view_->stop();
    }

    void setNewWindowPolicy(NewWindowPolicy policy) override { policy_ = policy; }

protected:
    void hideEvent(QHideEvent* event) override {
        WebView::hideEvent(event);
        if (!discardWhenHidden() || !view_)
            return;
        // Once the engine view has seen its own hide: a visible page cannot be discarded.
        QTimer::singleShot(0, this, [this] {
            QWebEnginePage* page = view_->page();
            if (!isVisible() && !page->isVisible() &&
                page->lifecycleState() != QWebEnginePage::LifecycleState::Discarded)
                page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
        });
    }

private:
    QWebEngineView* engine() {
        if (view_)
            return view_;
        started = true;
        view_ = new QWebEngineView(this);
        auto* page = new QuietPage(view_);
        // Windows a script opens by itself never get as far as a request.
        page->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        view_->setPage(page);
        view_->setContextMenuPolicy(Qt::NoContextMenu);
        layout()->addWidget(view_);
        connect(view_, &QWebEngineView::loadFinished, this, &WebView::loaded);
        connect(view_, &QWebEngineView::loadProgress, this, &WebView::loadProgress);
        connect(view_, &QWebEngineView::titleChanged, this, &WebView::titleChanged);
        connect(view_->page(), &QWebEnginePage::newWindowRequested, this, &EngineView::onNewWindow);
        return view_;
    }

    // A request nobody opens is refused by the engine. Only a window the user
    // asked for, by a click, is honoured at all.
    void onNewWindow(QWebEngineNewWindowRequest& request) {
        if (!request.isUserInitiated())
            return;
        switch (policy_) {
        case NewWindowPolicy::Refuse:
            return;
        case NewWindowPolicy::OpenHere:
            view_->load(request.requestedUrl());
            return;
        case NewWindowPolicy::Report:
            emit newWindowRequested(request.requestedUrl());
            return;
        }
    }

    NewWindowPolicy policy_;
    QWebEngineView* view_ = nullptr;
    int seenGeneration_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace

WebView* QtWebViews::create(QWidget* parent, WebView::NewWindowPolicy policy) {
    return new EngineView(parent, policy);
}

bool QtWebViews::engineStarted() {
    return started;
}

void QtWebViews::noteCacheCleared() {
    ++cacheGeneration;
}

#include "qt_web_views.moc"
