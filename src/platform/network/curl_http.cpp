#include "curl_http.h"

#include "platform/freed_memory.h"
#include "platform/time_scale.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QNetworkProxyFactory>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <curl/curl.h>
#include <limits>
#include <mutex>
#include <utility>

namespace {

// A transfer this large leaves heap pages behind that glibc keeps unless asked.
constexpr qint64 kLargeTransferBytes = 512 * 1024;
// Idle connections kept for the next fetch: a few hosts are asked again and again.
constexpr long kKeptConnections = 8;

bool isRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool isFetchable(const QUrl& url) {
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

// The proxy Qt's system configuration (the environment's http_proxy,
// https_proxy and no_proxy, or the desktop's setting) names for `url`, as
// libcurl spells it; empty for a direct connection. This machine's own
// addresses are never asked of a proxy, whose loopback is not ours.
QByteArray proxyFor(const QUrl& url) {
    const QString host = url.host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback())
        return {};
    const QList<QNetworkProxy> proxies = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url));
    const QNetworkProxy proxy = proxies.value(0);
    const char* scheme = nullptr;
    if (proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::HttpCachingProxy)
        scheme = "http";
    else if (proxy.type() == QNetworkProxy::Socks5Proxy)
        scheme = "socks5h";
    if (!scheme || proxy.hostName().isEmpty())
        return {};
    QUrl address;
    address.setScheme(QString::fromLatin1(scheme));
    address.setHost(proxy.hostName());
    address.setPort(proxy.port());
    address.setUserName(proxy.user());
    address.setPassword(proxy.password());
    return address.toEncoded();
}

} // namespace

// One libcurl multi handle, its sockets watched by this thread's event loop.
class CurlHttp::Engine : public QObject {
public:
    explicit Engine(int deadlineMs) : deadlineMs_(deadlineMs) {
        static std::once_flag initialised;
        std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
        multi_ = curl_multi_init();
        curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &Engine::onSocket);
        curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
        curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &Engine::onTimer);
        curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
        curl_multi_setopt(multi_, CURLMOPT_MAXCONNECTS, kKeptConnections);
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
    }
    ~Engine() override;

    CURLM* multi() const { return multi_; }
    int deadlineMs() const { return deadlineMs_; }

private:
    // The notifiers of one socket libcurl asked us to watch.
    struct Watch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };

    static int onSocket(CURL*, curl_socket_t socket, int what, void* engine, void* watch) {
        static_cast<Engine*>(engine)->watchSocket(socket, what, static_cast<Watch*>(watch));
        return 0;
    }

    static int onTimer(CURLM*, long timeoutMs, void* engine) {
        QTimer& timer = static_cast<Engine*>(engine)->timer_;
        // Never act from inside libcurl: a due time-out runs from the event loop.
        if (timeoutMs < 0)
            timer.stop();
        else
            timer.start(int(qMin<long>(timeoutMs, std::numeric_limits<int>::max())));
        return 0;
    }

    void watchSocket(curl_socket_t socket, int what, Watch* watch) {
        if (what == CURL_POLL_REMOVE) {
            if (watch) {
                retire(watch->read);
                retire(watch->write);
                delete watch;
            }
            return;
        }
        if (!watch) {
            watch = new Watch;
            curl_multi_assign(multi_, socket, watch);
        }
        watchFor(watch->read, socket, QSocketNotifier::Read, what == CURL_POLL_IN || what == CURL_POLL_INOUT);
        watchFor(watch->write, socket, QSocketNotifier::Write,
                 what == CURL_POLL_OUT || what == CURL_POLL_INOUT);
    }

    void watchFor(QSocketNotifier*& notifier, curl_socket_t socket, QSocketNotifier::Type type, bool wanted) {
        if (!wanted) {
            if (notifier)
                notifier->setEnabled(false);
            return;
        }
        if (!notifier) {
            notifier = new QSocketNotifier(socket, type, this);
            const int flag = type == QSocketNotifier::Read ? CURL_CSELECT_IN : CURL_CSELECT_OUT;
            connect(notifier, &QSocketNotifier::activated, this, [this, socket, flag] { act(socket, flag); });
        }
        notifier->setEnabled(true);
    }

    // The notifier may be inside its own signal; libcurl closes the socket next.
    static void retire(QSocketNotifier* notifier) {
        if (!notifier)
            return;
        notifier->setEnabled(false);
        notifier->deleteLater();
    }

    void act(curl_socket_t socket, int flags);

    CURLM* multi_ = nullptr;
    QTimer timer_;
    int deadlineMs_;
};

namespace {

// One GET from the first request to the answer, redirects included. It answers
// once (or never, when the context dies first) and then deletes itself.
class Fetch : public QObject {
public:
    Fetch(CurlHttp::Engine* engine, const QUrl& url, QObject* context, Http::Reply reply, qint64 maxBytes)
        : QObject(engine), engine_(engine), url_(url), context_(context), reply_(std::move(reply)),
          maxBytes_(qMax<qint64>(maxBytes, 0)), deadline_(engine->deadlineMs()) {
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] { fail(); });
        timer_.start(engine->deadlineMs());
        connect(context, &QObject::destroyed, this, [this] { abandon(); });
    }
    ~Fetch() override { release(); }

    void start() {
        if (done_)
            return;
        if (!isFetchable(url_))
            return fail();
        request();
    }

    // The transfer of the current hop ended with `result`.
    void onTransferDone(CURLcode result) {
        if (done_)
            return;
        const std::optional<QUrl> next = std::exchange(redirect_, std::nullopt);
        long status = 0;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
        release();
        if (next)
            return follow(*next);
        // A body cut at the limit ends its transfer early, as asked.
        if (cut_ || (result == CURLE_OK && status >= 200 && status < 300))
            return succeed();
        fail();
    }

private:
    void request() {
        easy_ = curl_easy_init();
        if (!easy_)
            return fail();
        head_ = {};
        const QByteArray url = url_.adjusted(QUrl::RemoveFragment).toEncoded();
        curl_easy_setopt(easy_, CURLOPT_URL, url.constData());
        curl_easy_setopt(easy_, CURLOPT_PRIVATE, this);
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_PROXY, proxyFor(url_).constData());
        // Only the origin's headers count against the budget; the user's proxy is trusted.
        curl_easy_setopt(easy_, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
        curl_easy_setopt(easy_, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
        curl_easy_setopt(easy_, CURLOPT_USERAGENT, "Mozilla/5.0");
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        // A fetch ended while its name is still being looked up leaves the
        // lookup's thread to finish alone rather than waiting for it here.
        curl_easy_setopt(easy_, CURLOPT_QUICK_EXIT, 1L);
        // Our own timer ends the fetch; this only keeps a lost one from lingering.
        curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, long(qMax<qint64>(deadline_.remainingTime(), 1)));
        curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &Fetch::onHeader);
        curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &Fetch::onBody);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
        if (curl_multi_add_handle(engine_->multi(), easy_) != CURLM_OK) {
            release();
            fail();
        }
    }

    // What one hop's header blocks have told so far; the budget covers them all.
    struct Head {
        qint64 budget = CurlHttp::kMaxHeadBytes;
        QByteArray location;
        QByteArray contentLength;
        bool accepted = false;
    };

    // Returning anything but `size` ends the transfer: the decision is taken
    // when it is reported done, outside libcurl.
    static size_t onHeader(char* data, size_t, size_t size, void* fetch) {
        return static_cast<Fetch*>(fetch)->takeHeaderLine(QByteArrayView(data, qsizetype(size))) ? size : 0;
    }

    static size_t onBody(char* data, size_t, size_t size, void* fetch) {
        return static_cast<Fetch*>(fetch)->takeBody(QByteArrayView(data, qsizetype(size))) ? size : 0;
    }

    bool takeHeaderLine(QByteArrayView line) {
        received_ += line.size();
        head_.budget -= line.size();
        if (head_.budget < 0)
            return false;
        if (line == "\r\n" || line == "\n")
            return onHeadEnd();
        if (line.startsWith("HTTP/")) {
            const qint64 budget = head_.budget;
            head_ = {};
            head_.budget = budget;
            return true;
        }
        // Folded lines are obsolete; a server sending them is not trusted.
        if (line.startsWith(' ') || line.startsWith('\t'))
            return false;
        const qsizetype colon = line.indexOf(':');
        const QByteArrayView name = line.first(qMax<qsizetype>(colon, 0));
        const QByteArray value = line.sliced(colon + 1).trimmed().toByteArray();
        if (name.compare("location", Qt::CaseInsensitive) == 0)
            head_.location = value;
        if (name.compare("content-length", Qt::CaseInsensitive) == 0) {
            // Two different lengths leave the body's end, and the next answer's start, to guessing.
            if (!head_.contentLength.isEmpty() && head_.contentLength != value)
                return false;
            head_.contentLength = value;
        }
        return true;
    }

    // At the end of a header block: go on for the body, or stop here.
    bool onHeadEnd() {
        long status = 0;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
        // An interim answer; the real one follows within the same budget.
        if (status >= 100 && status < 200 && status != 101)
            return true;
        if (isRedirect(status) && !head_.location.isEmpty()) {
            redirect_ = url_.resolved(QUrl(QString::fromUtf8(head_.location))).adjusted(QUrl::RemoveFragment);
            return false;
        }
        head_.accepted = status >= 200 && status < 300;
        return head_.accepted;
    }

    bool takeBody(QByteArrayView data) {
        if (!head_.accepted)
            return false;
        received_ += data.size();
        body_ += data.first(qsizetype(qMin<qint64>(data.size(), maxBytes_ - body_.size())));
        // A cut body is delivered as cut; the rest of the transfer is abandoned.
        cut_ = body_.size() >= maxBytes_;
        return !cut_;
    }

    void follow(const QUrl& next) {
        // Only to web addresses, and never from an encrypted one to a plain one.
        const bool downgrade =
            url_.scheme() == QLatin1String("https") && next.scheme() != QLatin1String("https");
        if (redirectsLeft_-- == 0 || !isFetchable(next) || downgrade)
            return fail();
        url_ = next;
        request();
    }

    void succeed() { finish(std::exchange(body_, QByteArray())); }
    void fail() { finish(std::nullopt); }

    void finish(std::optional<QByteArray> answer) {
        if (done_)
            return;
        abandon();
        if (context_) {
            // Moved out first: the reply may run a nested event loop or end the context.
            Http::Reply reply = std::move(reply_);
            reply(std::move(answer));
        }
    }

    void abandon() {
        if (done_)
            return;
        done_ = true;
        // Oversized or not, a large answer's buffers go back to the system.
        if (received_ >= kLargeTransferBytes)
            releaseFreedMemorySoon();
        timer_.stop();
        release();
        deleteLater();
    }

    void release() {
        if (!easy_)
            return;
        curl_multi_remove_handle(engine_->multi(), easy_);
        curl_easy_cleanup(std::exchange(easy_, nullptr));
    }

    CurlHttp::Engine* engine_;
    QUrl url_;
    QPointer<QObject> context_;
    Http::Reply reply_;
    qint64 maxBytes_;
    QDeadlineTimer deadline_;
    QTimer timer_;
    CURL* easy_ = nullptr;
    Head head_;
    std::optional<QUrl> redirect_;
    int redirectsLeft_ = CurlHttp::kMaxRedirects;
    QByteArray body_;
    bool cut_ = false;
    qint64 received_ = 0;
    bool done_ = false;
};

} // namespace

CurlHttp::Engine::~Engine() {
    // Unanswered fetches end without an answer before their handles go.
    qDeleteAll(findChildren<Fetch*>(Qt::FindDirectChildrenOnly));
    curl_multi_cleanup(multi_);
}

void CurlHttp::Engine::act(curl_socket_t socket, int flags) {
    int running = 0;
    curl_multi_socket_action(multi_, socket, flags, &running);
    // Collected first: an answer may run a nested event loop that acts again.
    QList<std::pair<QPointer<Fetch>, CURLcode>> done;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        void* fetch = nullptr;
        curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &fetch);
        done.append({static_cast<Fetch*>(fetch), message->data.result});
    }
    for (const auto& [fetch, result] : done) {
        if (fetch)
            fetch->onTransferDone(result);
    }
}

CurlHttp::CurlHttp(int deadlineMs) : engine_(std::make_unique<Engine>(timescale::scaled(deadlineMs))) {}

CurlHttp::~CurlHttp() = default;

void CurlHttp::get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes) {
    // Without a context there is no one to answer.
    if (!context)
        return;
    auto* fetch = new Fetch(engine_.get(), url, context, std::move(reply), maxBytes);
    // Started from the event loop, so that no answer ever arrives inside get().
    QMetaObject::invokeMethod(
        fetch, [fetch] { fetch->start(); }, Qt::QueuedConnection);
}
