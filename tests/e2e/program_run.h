#pragma once

#include <QJsonObject>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

// One run of the real program from a private copy of the built program
// directory, against its own demo portal on loopback. Everything started here
// is stopped when the run is destroyed.
class ProgramRun {
public:
    ProgramRun();
    ~ProgramRun();

    // Copies the program directory and starts the portal; false (with
    // error()) when something is missing.
    bool prepare();
    // Starts the portal alone, for a program that is not the copied one.
    bool startPortal();
    // Makes startProgram() run `command` in `environment` instead of the copy.
    void setCommand(const QString& command, const QProcessEnvironment& environment);
    // Sets the portal's page mode (normal, no-marker, broken-buy, ...).
    bool setPortalMode(const QString& mode);
    // Sets how the portal answers for chart images (normal, error, page, broken).
    bool setChartMode(const QString& mode);
    // `arguments` are the program's command line (its first one is the
    // reference browser's first page).
    bool startProgram(QProcess::ProcessChannelMode stdoutMode = QProcess::ForwardedOutputChannel,
                      const QStringList& arguments = {});

    // Polls the state dump until `ready` holds or `timeoutMs` passes.
    bool waitForState(const std::function<bool(const QJsonObject&)>& ready, int timeoutMs);
    // Polls until the main window shows and the splash has gone.
    bool waitForMainWindow(int timeoutMs = 20000);
    // Waits for the program to end by itself.
    bool waitForExit(int timeoutMs);

    QJsonObject state() const;
    QString programDir() const { return dir_.path() + QStringLiteral("/Aurivex"); }
    QProcess& program() { return *program_; }
    int portalPort() const { return port_; }
    QString error() const { return error_; }

    // Finds a top-level window by title with xdotool and presses Return in it.
    static bool pressReturnIn(const QString& windowTitle);
    // Gives the keyboard to the window with this title.
    static bool focusWindow(const QString& windowTitle);
    // Real input through the X server, as a person would give it.
    static bool clickAt(const QPoint& screenPoint);
    static bool typeText(const QString& text);
    static bool pressKeys(const QString& keys); // e.g. "alt+t"
    // The screen point in the middle of a named control (or toolbar action) of a window entry.
    static QPoint controlCentre(const QJsonObject& window, const QString& name);
    // Saves a PNG of the whole X screen into the artifacts directory.
    static QString screenshot(const QString& name);

private:
    QTemporaryDir dir_;
    std::unique_ptr<QProcess> portal_;
    std::unique_ptr<QProcess> program_;
    QString command_;
    QProcessEnvironment environment_;
    int port_ = 0;
    QString error_;
};

// GET `path` of the portal listening on `port` (loopback), within ten
// seconds; true for an answer without error, whose body goes to `body`.
bool portalGet(int port, const QString& path, QByteArray* body = nullptr);

// A window of the program as the X server's tree has it: its id, title,
// place on the screen and whether the root is its parent.
struct ServerWindow {
    QString id;
    QString title;
    QRect rect;
    bool topLevel = false;
};
QList<ServerWindow> serverWindows();
// The program's icon inside an XEmbed notification area: a small window whose
// parent is not the root.
std::optional<ServerWindow> findTrayIcon();

// Helpers for reading the dump.
QJsonObject findWindow(const QJsonObject& state, const QString& title);
QJsonObject findControl(const QJsonObject& window, const QString& name);
// The texts of a control's items: a tab control's captions, a list's lines.
QStringList itemTexts(const QJsonObject& control);
