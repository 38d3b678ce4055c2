#include "module_web.h"

#include "modules.h"
#include "platform/modules.h"

#include <QVBoxLayout>

namespace {

// Stands for the engine's view until the first page, then holds it and
// passes every call on.
class ModuleWebView : public WebView {
    Q_OBJECT
public:
    ModuleWebView(QWidget* parent, NewWindowPolicy policy) : WebView(parent), policy_(policy) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
    }

    void navigate(const QUrl& url) override {
        if (WebView* view = engine())
            view->navigate(url);
    }
    void runJavaScript(const QString& script, Script done) override {
        if (view_)
            view_->runJavaScript(script, std::move(done));
        else if (done)
            done(QVariant());
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
    void setNewWindowPolicy(NewWindowPolicy policy) override {
        policy_ = policy;
        if (view_)
            view_->setNewWindowPolicy(policy);
    }

private:
    WebView* engine() {
        if (view_)
            return view_;
        WebEngineModule* module = modules::webEngine();
        if (!module)
            return nullptr;
        view_ = module->create(this, policy_);
        view_->setDiscardWhenHidden(discardWhenHidden());
        layout()->addWidget(view_);
        connect(view_, &WebView::loaded, this, &WebView::loaded);
        connect(view_, &WebView::loadProgress, this, &WebView::loadProgress);
        connect(view_, &WebView::titleChanged, this, &WebView::titleChanged);
        connect(view_, &WebView::newWindowRequested, this, &WebView::newWindowRequested);
        return view_;
    }

    NewWindowPolicy policy_;
    WebView* view_ = nullptr;
};

} // namespace

WebView* ModuleWebViews::create(QWidget* parent, WebView::NewWindowPolicy policy) {
    return new ModuleWebView(parent, policy);
}

void ModuleWebCache::clearBrowserCache() {
    modules::webCacheCleared();
}

#include "module_web.moc"
