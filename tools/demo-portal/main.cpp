// aurivex-demo-portal: serves the pages Aurivex reads from outside portals, on
// the loopback address, so the program and its tests run offline.

#include "demo_portal.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

int signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    // Nothing else is safe inside a signal handler; the event loop does the rest.
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// Quits the event loop on SIGTERM and SIGINT, so the server closes its sockets.
bool quitOnTerminationSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

// Quits the event loop once standard input reaches its end: the program that
// started the portal holds the pipe's other end, which closes when that
// program ends in any way, killed included.
void quitWhenInputCloses(QCoreApplication& app) {
    auto* notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) {
            notifier->setEnabled(false);
            QCoreApplication::quit();
        }
    });
}

std::optional<uint> numberOption(const QCommandLineParser& parser, const QString& name, uint maximum) {
    bool valid = false;
    const uint value = parser.value(name).toUInt(&valid);
    if (!valid || value > maximum)
        return std::nullopt;
    return value;
}

} // namespace

int main(int argc, char* argv[]) {
    // The chart images need fonts and a painter, never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"aurivex-demo-portal"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Offline demo data portal for Aurivex (loopback only)."_s);
    parser.addHelpOption();
    parser.addOption({u"port"_s, u"Port to listen on; 0 picks a free one."_s, u"N"_s, u"0"_s});
    parser.addOption({u"seed"_s, u"Seed of the price walk, for repeatable runs."_s, u"N"_s});
    parser.addOption(
        {u"exit-with-stdin"_s, u"End when standard input closes (the program that started it ended)."_s});
    parser.process(app);

    const std::optional<uint> port = numberOption(parser, u"port"_s, 65535);
    if (!port) {
        std::fprintf(stderr, "aurivex-demo-portal: --port needs a number from 0 to 65535\n");
        return 2;
    }
    quint32 seed = QRandomGenerator::system()->generate();
    if (parser.isSet(u"seed"_s)) {
        const std::optional<uint> given = numberOption(parser, u"seed"_s, 0xFFFFFFFFu);
        if (!given) {
            std::fprintf(stderr, "aurivex-demo-portal: --seed needs a non-negative number\n");
            return 2;
        }
        seed = *given;
    }

    if (!quitOnTerminationSignals(app)) {
        std::perror("aurivex-demo-portal: signal set-up");
        return 1;
    }

    if (parser.isSet(u"exit-with-stdin"_s))
        quitWhenInputCloses(app);

    demoportal::DemoPortal portal(seed);
    const quint16 bound = portal.listen(static_cast<quint16>(*port));
    if (bound == 0) {
        std::fprintf(stderr, "aurivex-demo-portal: cannot listen on 127.0.0.1:%u\n", *port);
        return 1;
    }
    std::printf("listening on %u\n", static_cast<unsigned>(bound));
    std::fflush(stdout);
    return app.exec();
}
