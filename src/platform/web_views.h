#pragma once

#include <QUrl>
#include <QVariant>
#include <QWidget>
#include <functional>

// An embedded web page. It shows no context menu and never a script's dialog
// (alert, confirm, prompt, "leave this page?"), so that no page can hold the
// program. A new window is asked for only by the user's own click; such
// requests follow its policy, and windows a script opens by itself are
// refused whatever the policy.
class WebView : public QWidget {
    Q_OBJECT
public:
    enum class NewWindowPolicy {
        Refuse,   // nothing opens
        OpenHere, // the requested address loads in this view
        Report,   // nothing opens; newWindowRequested tells the address
    };
    Q_ENUM(NewWindowPolicy)

    using Script = std::function<void(const QVariant& result)>;

    using QWidget::QWidget;

    virtual void navigate(const QUrl& url) = 0;
    // Runs the script in the loaded page, asynchronously; `done` receives its
    // value, an invalid QVariant when there was none or nothing is loaded, and
    // is not called once the view is gone.
    virtual void runJavaScript(const QString& script, Script done = {}) = 0;
    virtual void back() = 0;
    virtual void forward() = 0;
    virtual void reload() = 0;
    virtual void stop() = 0;
    virtual void setNewWindowPolicy(NewWindowPolicy policy) = 0;

    // A view that may give its page's memory back while it is hidden; the
    // page loads again when the view shows. Off unless asked for: a hidden
    // page keeps what the user typed or scrolled only while it lives.
    void setDiscardWhenHidden(bool discard) { discardWhenHidden_ = discard; }
    bool discardWhenHidden() const { return discardWhenHidden_; }

signals:
    // A navigation has finished, with or without the page.
    void loaded(bool ok);
    void loadProgress(int percent);
    void titleChanged(const QString& title);
    void newWindowRequested(const QUrl& url);

private:
    bool discardWhenHidden_ = false;
};

// Makes web views. The browser engine, with its renderer processes, starts
// only when the first view loads a page.
class WebViews {
public:
    virtual ~WebViews() = default;
    // A view on the parent, which owns it.
    virtual WebView* create(QWidget* parent,
                            WebView::NewWindowPolicy policy = WebView::NewWindowPolicy::Refuse) = 0;
};
