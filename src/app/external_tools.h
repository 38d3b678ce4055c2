#pragma once

#include <QObject>
#include <QPointer>

class ExternalToolsWindow;
class QWidget;
struct Services;

// Programs outside Aurivex that the shell starts: the trading terminal (a
// Windows program, run through wine), the desktop's text editor and
// calculator in place of Notepad and Calculator, and the user's guide.
class ExternalTools : public QObject {
    Q_OBJECT
public:
    ExternalTools(Services& services, QWidget* window);

    // The terminal from its default location, else from the stored path;
    // without a usable path, "外部工具设置" asks for one.
    void launchTerminal();
    void openTextEditor();
    void openCalculator();
    void openHelp();

    // The user's guide in the program directory.
    static QString helpFile();

private:
    // Runs a Windows program through wine; says so when wine is missing.
    void runWindowsProgram(const QString& path);
    // Starts the first of `programs` that starts; says `missing` when none does.
    void startFirst(const QStringList& programs, const QString& missing);
    void tell(const QString& text);

    Services& services_;
    QWidget* window_;
    QPointer<ExternalToolsWindow> settingsWindow_;
};
