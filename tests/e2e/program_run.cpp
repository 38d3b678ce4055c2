#include "program_run.h"

#include "support/http_get.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>

namespace {

QString envPath(const char* name) {
    return qEnvironmentVariable(name);
}

bool copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
        } else if (!QFile::copy(source, target)) {
            return false;
        }
    }
    return true;
}

bool runTool(const QString& program, const QStringList& arguments, int timeoutMs = 60000) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

void stop(QProcess* process) {
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished(5000);
    }
}

} // namespace

ProgramRun::ProgramRun() = default;

ProgramRun::~ProgramRun() {
    stop(program_.get());
    stop(portal_.get());
}

bool ProgramRun::prepare() {
    const QString source = envPath("AURIVEX_PROGRAM_DIR");
    const QString tools = envPath("AURIVEX_TOOLS_DIR");
    if (source.isEmpty() || tools.isEmpty() || !dir_.isValid()) {
        error_ = QStringLiteral("AURIVEX_PROGRAM_DIR and AURIVEX_TOOLS_DIR must be set");
        return false;
    }
    if (!copyTree(source, programDir())) {
        error_ = QStringLiteral("cannot copy %1").arg(source);
        return false;
    }
    if (!startPortal())
        return false;
    if (!runTool(tools + QStringLiteral("/aurivex-provision"),
                 {QStringLiteral("--dir"), programDir(), QStringLiteral("--portal"),
                  QStringLiteral("127.0.0.1:%1").arg(port_)})) {
        error_ = QStringLiteral("provisioning failed");
        return false;
    }
    return true;
}

bool ProgramRun::startPortal() {
    const QString tools = envPath("AURIVEX_TOOLS_DIR");
    portal_ = std::make_unique<QProcess>();
    portal_->start(
        tools + QStringLiteral("/aurivex-demo-portal"),
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--seed"), QStringLiteral("7")});
    const QDeadlineTimer deadline(15000);
    QByteArray line;
    while (!deadline.hasExpired() && !line.contains('\n')) {
        portal_->waitForReadyRead(200);
        line += portal_->readAllStandardOutput();
    }
    if (!line.startsWith("listening on ")) {
        error_ = QStringLiteral("the demo portal did not start: %1").arg(QString::fromUtf8(line));
        return false;
    }
    port_ = line.mid(13).trimmed().toInt();
    return true;
}

void ProgramRun::setCommand(const QString& command, const QProcessEnvironment& environment) {
    command_ = command;
    environment_ = environment;
}

bool portalGet(int port, const QString& path, QByteArray* body) {
    const HttpAnswer answer = httpGet(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path)));
    if (body)
        *body = answer.body;
    return answer.ok;
}

bool ProgramRun::setPortalMode(const QString& mode) {
    return portalGet(port_, QStringLiteral("/demo/mode?page=") + mode);
}

bool ProgramRun::setChartMode(const QString& mode) {
    return portalGet(port_, QStringLiteral("/demo/charts?images=") + mode);
}

bool ProgramRun::startProgram(QProcess::ProcessChannelMode stdoutMode, const QStringList& arguments) {
    program_ = std::make_unique<QProcess>();
    // The current environment, read at each start: a caller may change it between starts.
    QProcessEnvironment env = command_.isEmpty() ? QProcessEnvironment::systemEnvironment() : environment_;
    // A dump left by an earlier start must not pass for this one's.
    QFile::remove(dir_.path() + QStringLiteral("/state.json"));
    env.insert(QStringLiteral("AURIVEX_STATE_DUMP"), dir_.path() + QStringLiteral("/state.json"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program_->setProcessEnvironment(env);
    // Standard error always reaches the test log; standard output only when asked.
    program_->setProcessChannelMode(stdoutMode == QProcess::SeparateChannels ? QProcess::ForwardedErrorChannel
                                                                             : QProcess::ForwardedChannels);
    // A working directory elsewhere proves the program finds its files by its own path.
    program_->setWorkingDirectory(QDir::tempPath());
    program_->start(command_.isEmpty() ? programDir() + QStringLiteral("/Aurivex") : command_, arguments);
    if (!program_->waitForStarted(10000)) {
        error_ = QStringLiteral("the program did not start");
        return false;
    }
    return true;
}

QJsonObject ProgramRun::state() const {
    QFile file(dir_.path() + QStringLiteral("/state.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

bool ProgramRun::waitForState(const std::function<bool(const QJsonObject&)>& ready, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QJsonObject current = state();
        if (!current.isEmpty() && ready(current))
            return true;
        QThread::msleep(100);
    }
    return false;
}

bool ProgramRun::waitForMainWindow(int timeoutMs) {
    return waitForState(
        [](const QJsonObject& s) {
            return findWindow(s, QStringLiteral("Aurivex3.0"))[u"visible"].toBool() &&
                   findWindow(s, QStringLiteral("欢迎使用Aurivex")).isEmpty();
        },
        timeoutMs);
}

bool ProgramRun::waitForExit(int timeoutMs) {
    return program_ && program_->waitForFinished(timeoutMs);
}

bool ProgramRun::focusWindow(const QString& windowTitle) {
    QProcess search;
    search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"),
                                             QStringLiteral("^") + windowTitle + u'$'});
    if (!search.waitForFinished(10000))
        return false;
    const QList<QByteArray> ids = search.readAllStandardOutput().trimmed().split('\n');
    if (ids.isEmpty() || ids.first().isEmpty())
        return false;
    const QString id = QString::fromLatin1(ids.last());
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), id},
                   10000);
}

bool ProgramRun::pressReturnIn(const QString& windowTitle) {
    return focusWindow(windowTitle) && pressKeys(QStringLiteral("Return"));
}

bool ProgramRun::clickAt(const QPoint& p) {
    return runTool(QStringLiteral("xdotool"),
                   {QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
                    QStringLiteral("click"), QStringLiteral("1")},
                   10000);
}

bool ProgramRun::typeText(const QString& text) {
    return runTool(QStringLiteral("xdotool"),
                   {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("50"), text}, 20000);
}

bool ProgramRun::pressKeys(const QString& keys) {
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}, 10000);
}

QPoint ProgramRun::controlCentre(const QJsonObject& window, const QString& name) {
    const QJsonObject control = findControl(window, name);
    return {window[u"x"].toInt() + control[u"wx"].toInt() + control[u"w"].toInt() / 2,
            window[u"y"].toInt() + control[u"wy"].toInt() + control[u"h"].toInt() / 2};
}

QJsonObject findControl(const QJsonObject& window, const QString& name) {
    for (const QJsonValue& control : window[QStringLiteral("controls")].toArray()) {
        if (control[QStringLiteral("name")].toString() == name)
            return control.toObject();
    }
    return {};
}

QStringList itemTexts(const QJsonObject& control) {
    QStringList texts;
    for (const QJsonValue& item : control[QStringLiteral("items")].toArray())
        texts << item.toString();
    return texts;
}

QString ProgramRun::screenshot(const QString& name) {
    QString dir = envPath("AURIVEX_ARTIFACTS_DIR");
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    return runTool(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path})
               ? path
               : QString();
}

QJsonObject findWindow(const QJsonObject& state, const QString& title) {
    for (const QJsonValue& window : state[QStringLiteral("windows")].toArray()) {
        if (window[QStringLiteral("title")].toString() == title)
            return window.toObject();
    }
    return {};
}

QList<ServerWindow> serverWindows() {
    QProcess tree;
    tree.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    if (!tree.waitForFinished(10000))
        return {};
    // e.g.    0x400019 "Aurivex": ("Aurivex" "Aurivex")  22x22+0+0  +1417+877
    // (five spaces before a child of the root, more before deeper ones)
    static const QRegularExpression line(QStringLiteral(
        R"re(^( +)(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): \("[^"]*" "Aurivex"\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+))re"));
    QList<ServerWindow> windows;
    for (const QString& text : QString::fromLocal8Bit(tree.readAllStandardOutput()).split(u'\n')) {
        const QRegularExpressionMatch m = line.match(text);
        if (m.hasMatch())
            windows.append({m.captured(2), m.captured(3),
                            QRect(m.captured(6).toInt(), m.captured(7).toInt(), m.captured(4).toInt(),
                                  m.captured(5).toInt()),
                            m.capturedLength(1) == 5});
    }
    return windows;
}

std::optional<ServerWindow> findTrayIcon() {
    for (const ServerWindow& window : serverWindows()) {
        if (!window.topLevel && window.title == QLatin1String("Aurivex") && window.rect.width() <= 64 &&
            window.rect.height() <= 64)
            return window;
    }
    return std::nullopt;
}
