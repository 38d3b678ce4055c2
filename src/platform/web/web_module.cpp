// The browser engine's module, loaded at the first web page.
#include "platform/modules.h"
#include "qt_web_views.h"

#include <QObject>

class QtWebEngineModule : public QObject, public WebEngineModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID AurivexWebEngineModule_iid)
    Q_INTERFACES(WebEngineModule)
public:
    WebView* create(QWidget* parent, WebView::NewWindowPolicy policy) override {
        return views_.create(parent, policy);
    }
    void noteCacheCleared() override { QtWebViews::noteCacheCleared(); }

private:
    QtWebViews views_;
};

#include "web_module.moc"
