#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QUrl>

class NewsStrip;
class QLabel;
class QWidget;
class Timer;
struct Services;

// The news headline strip laid over the main window's status bar:
// "新闻背景画板" clips the link "新闻显示链接框", which scrolls one headline
// at a time from right to left on "时钟_新闻滚动时钟". The list is downloaded
// once per run; the news file remembers across runs which line comes next.
//
// The scroll never waits: the download is asynchronous, and the news file is
// opened on a worker thread of the ticker's own, one job at a time and in
// order. The position is kept here and written through as each headline
// starts, so quitting halfway through a headline does not show it again.
class NewsTicker : public QObject {
    Q_OBJECT
public:
    static constexpr int kScrollIntervalMs = 15;

    // Builds the strip on `client`, over the status bar; idle until
    // fetchNewsList(). The list lives at `listUrl` (nothing when empty).
    NewsTicker(QWidget* client, Services& services, const QUrl& listUrl);
    // Waits for a position still being written.
    ~NewsTicker() override;

    NewsStrip* strip() const { return strip_; }
    QLabel* link() const { return link_; }

    // Downloads the list, once per run, and starts the ticker where the news
    // file says. Without a list (no answer, or no "|>" in it) the ticker
    // stays empty and nothing is said.
    void fetchNewsList();
    // Puts the next line of the list into the link, or stops the ticker when
    // the list is used up.
    void showNextNewsLine();

    // The address the shown headline links to.
    QString target() const { return target_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeList(const QByteArray& text);
    void startAt(int newsLine);
    void scrollStep();
    void openTarget();
    void clearLink();
    // The news file did not open: the program cannot go on.
    void storeFailed();

    Services& services_;
    QUrl listUrl_;
    NewsStrip* strip_;
    QLabel* link_;
    Timer* scrollTimer_;
    QList<QByteArray> newsLines_;
    int newsLine_ = 0;
    QString target_;
    bool fetched_ = false;
    bool failed_ = false;
    QThreadPool worker_;
};
