#pragma once

#include <QDialog>

class Timer;
struct Services;
namespace endpoints {
class Endpoints;
}

// "关于我们": the product, its version and the data providers it thanks,
// fading in when it opens.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    // `version` is the main window's title.
    AboutWindow(Services& services, const QString& version, QWidget* parent = nullptr);

private:
    // The logo, the version, the product's site and the notice.
    void buildProduct(const QString& version, const endpoints::Endpoints& hosts);
    // The data providers thanked, each with a link to its site.
    void buildCredits(const endpoints::Endpoints& hosts);
    void onFadeTick();
    // A link to an address of endpoints.ini; disabled when the address is missing.
    void addLink(QWidget* parent, const QString& name, const QPoint& at, const QString& caption,
                 const QString& url);

    Services& services_;
    Timer* fadeTimer_;
};
