#include "qt_http.h"

#include "freed_memory.h"
#include "time_scale.h"

#include <QNetworkProxy>
#include <QPointer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {

// What the socket keeps for us between reads, and what one read takes.
constexpr qint64 kReadBufferBytes = 64 * 1024;
// A transfer this large leaves heap pages behind that glibc keeps unless asked.
constexpr qint64 kLargeTransferBytes = 512 * 1024;
// A chunk-size line is a few hex digits; extensions are ignored but bounded.
constexpr qint64 kMaxChunkLineBytes = 1024;

bool isDigits(QByteArrayView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isHexDigits(QByteArrayView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

// "HTTP/1.1 200 OK" → 200; -1 for anything that is not an HTTP/1.x status line.
int statusCodeOf(QByteArrayView line) {
    if (!line.startsWith("HTTP/1.") || line.size() < 12 || line[8] != ' ')
        return -1;
    if (line.size() > 12 && line[12] != ' ')
        return -1;
    const QByteArrayView code = line.sliced(9, 3);
    return isDigits(code) ? code.toInt() : -1;
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool isFetchable(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return false;
    if (url.scheme() == QLatin1String("http"))
        return true;
    return url.scheme() == QLatin1String("https") && QSslSocket::supportsSsl();
}

// One GET from the first connection to the answer, redirects included. It
// answers once (or never, when the context dies first) and then deletes itself.
class Fetch : public QObject {
public:
    Fetch(const QUrl& url, QObject* context, Http::Reply reply, qint64 maxBytes, int deadlineMs,
          std::shared_ptr<QtHttp::Tally> tally)
        : url_(url), context_(context), reply_(std::move(reply)), maxBytes_(qMax<qint64>(maxBytes, 0)),
          tally_(std::move(tally)),
          caller_(context->objectName().isEmpty() ? QString::fromLatin1(context->metaObject()->className())
                                                  : context->objectName()) {
        QtHttp::CallerRequests& requests = (*tally_)[caller_];
        ++requests.started;
        requests.peak = qMax(requests.peak, ++requests.inFlight);
        deadline_.setSingleShot(true);
        connect(&deadline_, &QTimer::timeout, this, [this] { fail(); });
        deadline_.start(deadlineMs);
        connect(context, &QObject::destroyed, this, [this] { abandon(); });
    }

    void start() {
        if (done_)
            return;
        if (!isFetchable(url_))
            return fail();
        connectToServer();
    }

private:
    enum class Stage { StatusLine, HeaderLine, LengthBody, BodyUntilClose, ChunkSize, ChunkData, ChunkEnd };

    struct Head {
        int status = 0;
        std::optional<qint64> contentLength;
        QByteArray transferEncoding;
        QByteArray contentEncoding;
        QByteArray location;
    };

    void connectToServer() {
        ++connection_;
        stage_ = Stage::StatusLine;
        head_ = {};
        line_.clear();
        lineBudget_ = QtHttp::kMaxHeadBytes;

        const bool tls = url_.scheme() == QLatin1String("https");
        const quint16 port = quint16(url_.port(tls ? 443 : 80));
        if (tls) {
            auto* socket = new QSslSocket(this);
            socket_ = socket;
            connect(socket, &QSslSocket::encrypted, this, &Fetch::sendRequest);
        } else {
            socket_ = new QTcpSocket(this);
            connect(socket_, &QTcpSocket::connected, this, &Fetch::sendRequest);
        }
        socket_->setProxy(QNetworkProxy::NoProxy);
        socket_->setReadBufferSize(kReadBufferBytes);
        connect(socket_, &QAbstractSocket::readyRead, this, &Fetch::readAvailable);
        connect(socket_, &QAbstractSocket::disconnected, this, &Fetch::onClosed);
        connect(socket_, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
            if (error == QAbstractSocket::RemoteHostClosedError)
                onClosed();
            else
                fail();
        });
        if (tls)
            static_cast<QSslSocket*>(socket_)->connectToHostEncrypted(url_.host(), port);
        else
            socket_->connectToHost(url_.host(), port);
    }

    void sendRequest() {
        QByteArray target = url_.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
        if (!target.startsWith('/'))
            target.prepend('/');
        const QByteArray host = url_.adjusted(QUrl::RemoveUserInfo).authority(QUrl::FullyEncoded).toLatin1();
        // No compression asked for: the caller gets the bytes the server holds.
        socket_->write(
            "GET " + target + " HTTP/1.1\r\nHost: " + host +
            "\r\nUser-Agent: Mozilla/5.0\r\nAccept-Encoding: identity\r\nConnection: close\r\n\r\n");
    }

    void readAvailable() {
        QAbstractSocket* socket = socket_;
        while (!done_ && socket == socket_ && socket->bytesAvailable() > 0) {
            const QByteArray data = socket->read(kReadBufferBytes);
            if (data.isEmpty())
                break;
            received_ += data.size();
            consume(data);
        }
    }

    void onClosed() {
        if (done_)
            return;
        // Bytes that arrived with the close are still readable.
        const int connection = connection_;
        readAvailable();
        if (done_ || connection != connection_)
            return;
        if (stage_ == Stage::BodyUntilClose)
            succeed();
        else
            fail();
    }

    // Feeds bytes of the current connection through the answer's framing.
    void consume(QByteArrayView data) {
        const int connection = connection_;
        while (!data.isEmpty() && !done_ && connection == connection_) {
            switch (stage_) {
            case Stage::LengthBody:
            case Stage::ChunkData: {
                const qsizetype take = qsizetype(qMin<qint64>(remaining_, data.size()));
                appendBody(data.first(take));
                data = data.sliced(take);
                remaining_ -= take;
                if (remaining_ == 0 && stage_ == Stage::LengthBody)
                    succeed();
                else if (remaining_ == 0)
                    expectLine(Stage::ChunkEnd, kMaxChunkLineBytes);
                break;
            }
            case Stage::BodyUntilClose:
                appendBody(data);
                data = {};
                break;
            default:
                if (const std::optional<QByteArray> line = takeLine(data))
                    onLine(*line);
                break;
            }
        }
    }

    // Collects one line; nothing until its end has arrived.
    std::optional<QByteArray> takeLine(QByteArrayView& data) {
        const qsizetype newline = data.indexOf('\n');
        const qsizetype take = newline < 0 ? data.size() : newline + 1;
        lineBudget_ -= take;
        if (lineBudget_ < 0) {
            fail();
            return std::nullopt;
        }
        line_ += data.first(take);
        data = data.sliced(take);
        if (newline < 0)
            return std::nullopt;
        QByteArray line = std::exchange(line_, QByteArray());
        line.chop(line.endsWith("\r\n") ? 2 : 1);
        return line;
    }

    void expectLine(Stage stage, qint64 budget) {
        stage_ = stage;
        lineBudget_ = budget;
    }

    void onLine(const QByteArray& line) {
        switch (stage_) {
        case Stage::StatusLine:
            head_ = {};
            head_.status = statusCodeOf(line);
            if (head_.status < 0)
                return fail();
            stage_ = Stage::HeaderLine;
            return;
        case Stage::HeaderLine:
            if (line.isEmpty())
                return onHeadEnd();
            return onHeaderLine(line);
        case Stage::ChunkSize: {
            const qsizetype extensions = line.indexOf(';');
            const QByteArray size = (extensions < 0 ? line : line.left(extensions)).trimmed();
            // Fifteen hex digits are far beyond any body we keep, and never overflow.
            if (!isHexDigits(size) || size.size() > 15)
                return fail();
            remaining_ = size.toLongLong(nullptr, 16);
            // The last chunk ends the body; trailers are not needed.
            if (remaining_ == 0)
                return succeed();
            stage_ = Stage::ChunkData;
            return;
        }
        case Stage::ChunkEnd:
            if (!line.isEmpty())
                return fail();
            return expectLine(Stage::ChunkSize, kMaxChunkLineBytes);
        default:
            return;
        }
    }

    void onHeaderLine(const QByteArray& line) {
        const qsizetype colon = line.indexOf(':');
        // Folded or nameless lines are obsolete; a server sending them is not trusted.
        if (colon <= 0 || line.startsWith(' ') || line.startsWith('\t'))
            return fail();
        const QByteArray name = line.left(colon).toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length") {
            const qint64 length = value.toLongLong();
            // Two different lengths leave the body's end open to guessing.
            if (!isDigits(value) || value.size() > 18 ||
                (head_.contentLength && *head_.contentLength != length))
                return fail();
            head_.contentLength = length;
        } else if (name == "transfer-encoding") {
            head_.transferEncoding += ',' + value.toLower();
        } else if (name == "content-encoding") {
            head_.contentEncoding += ',' + value.toLower();
        } else if (name == "location") {
            head_.location = value;
        }
    }

    void onHeadEnd() {
        const int status = head_.status;
        if (status == 101)
            return fail();
        // An interim answer; the real one follows within the same header budget.
        if (status >= 100 && status < 200) {
            stage_ = Stage::StatusLine;
            return;
        }
        if (isRedirect(status) && !head_.location.isEmpty())
            return follow(head_.location);
        if (status < 200 || status >= 300)
            return fail();
        if (!isOnlyOrNone(head_.contentEncoding, "identity"))
            return fail();
        if (status == 204 || maxBytes_ == 0)
            return succeed();
        if (!head_.transferEncoding.isEmpty()) {
            // Chunked is the only transfer coding we can take apart.
            if (!isOnlyOrNone(head_.transferEncoding, "chunked") ||
                !head_.transferEncoding.contains("chunked"))
                return fail();
            return expectLine(Stage::ChunkSize, kMaxChunkLineBytes);
        }
        if (head_.contentLength) {
            remaining_ = *head_.contentLength;
            if (remaining_ == 0)
                return succeed();
            stage_ = Stage::LengthBody;
            return;
        }
        stage_ = Stage::BodyUntilClose;
    }

    // True when every item of a comma-separated list is `only` or empty.
    static bool isOnlyOrNone(const QByteArray& list, QByteArrayView only) {
        const QList<QByteArray> items = list.split(',');
        return std::all_of(items.begin(), items.end(), [only](const QByteArray& item) {
            const QByteArray trimmed = item.trimmed();
            return trimmed.isEmpty() || trimmed == only;
        });
    }

    void follow(const QByteArray& location) {
        if (redirectsLeft_-- == 0)
            return fail();
        const QUrl next = url_.resolved(QUrl(QString::fromUtf8(location))).adjusted(QUrl::RemoveFragment);
        // Only to web addresses, and never from an encrypted one to a plain one.
        const bool downgrade =
            url_.scheme() == QLatin1String("https") && next.scheme() != QLatin1String("https");
        if (!isFetchable(next) || downgrade)
            return fail();
        url_ = next;
        dropConnection();
        connectToServer();
    }

    void appendBody(QByteArrayView data) {
        body_ += data.first(qsizetype(qMin<qint64>(data.size(), maxBytes_ - body_.size())));
        // A cut body is delivered as cut; the rest of the transfer is abandoned.
        if (body_.size() >= maxBytes_)
            succeed();
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
        --(*tally_)[caller_].inFlight;
        // Oversized or not, a large answer's buffers go back to the system.
        if (received_ >= kLargeTransferBytes)
            releaseFreedMemorySoon();
        deadline_.stop();
        dropConnection();
        deleteLater();
    }

    void dropConnection() {
        if (!socket_)
            return;
        // The socket may be inside one of its own signals: silence it, then let it go later.
        socket_->disconnect(this);
        socket_->abort();
        socket_->deleteLater();
        socket_ = nullptr;
    }

    QUrl url_;
    QPointer<QObject> context_;
    Http::Reply reply_;
    qint64 maxBytes_;
    QTimer deadline_;
    QAbstractSocket* socket_ = nullptr;
    int connection_ = 0;
    qint64 received_ = 0;
    int redirectsLeft_ = QtHttp::kMaxRedirects;
    bool done_ = false;
    std::shared_ptr<QtHttp::Tally> tally_;
    QString caller_;

    Stage stage_ = Stage::StatusLine;
    Head head_;
    QByteArray line_;
    qint64 lineBudget_ = 0;
    qint64 remaining_ = 0;
    QByteArray body_;
};

} // namespace

QtHttp::QtHttp(int deadlineMs) : deadlineMs_(timescale::scaled(deadlineMs)) {}

void QtHttp::get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes) {
    // Without a context there is no one to answer.
    if (!context)
        return;
    auto* fetch = new Fetch(url, context, std::move(reply), maxBytes, deadlineMs_, tally_);
    // Started from the event loop, so that no answer ever arrives inside get().
    QMetaObject::invokeMethod(
        fetch, [fetch] { fetch->start(); }, Qt::QueuedConnection);
}
