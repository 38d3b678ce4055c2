#include "external_tools.h"

#include "app/desktop_rules.h"
#include "app/external_tools_window.h"
#include "core/app_dir.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/services.h"
#include "settings/config_file.h"
#include "ui/open_once.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool isFile(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

ExternalTools::ExternalTools(Services& services, QWidget* window)
    : QObject(window), services_(services), window_(window) {}

QString ExternalTools::helpFile() {
    return appPath(QStringLiteral("帮助文件.html"));
}

void ExternalTools::launchTerminal() {
    // Read without the existence test: a missing file reads as an empty path.
    const QString stored = settings::ConfigFile::program().value(settings::key::mt4Program);
    const QString prefix = desktop::winePrefix(qEnvironmentVariable("WINEPREFIX"), QDir::homePath());
    const QString defaultPath = desktop::hostPath(desktop::defaultTerminalPath(), prefix);
    const QString storedPath = desktop::hostPath(stored, prefix);
    switch (desktop::decideTerminalLaunch(isFile(defaultPath), stored, isFile(storedPath))) {
    case desktop::TerminalLaunch::RunDefault:
        runWindowsProgram(defaultPath);
        return;
    case desktop::TerminalLaunch::RunStored:
        runWindowsProgram(storedPath);
        return;
    case desktop::TerminalLaunch::Nothing:
        return;
    case desktop::TerminalLaunch::AskForPath:
        if (ExternalToolsWindow* opened =
                openOnce(settingsWindow_, [this] { return new ExternalToolsWindow(services_, window_); }))
            opened->show();
        return;
    }
}

void ExternalTools::runWindowsProgram(const QString& path) {
    if (!services_.launcher->startProgram(QStringLiteral("wine"), {path}))
        tell(QStringLiteral(
            "MT4是Windows程序，需要wine才能运行。请先安装wine（例如：sudo apt install wine），然后再试。"));
}

void ExternalTools::openTextEditor() {
    startFirst(
        desktop::textEditors(),
        QStringLiteral("未找到文本编辑器。请安装一个文本编辑器（例如 gedit、kate 或 mousepad）后再试。"));
}

void ExternalTools::openCalculator() {
    startFirst(desktop::calculators(),
               QStringLiteral(
                   "未找到计算器。请安装一个计算器（例如 gnome-calculator、kcalc 或 galculator）后再试。"));
}

void ExternalTools::startFirst(const QStringList& programs, const QString& missing) {
    for (const QString& program : programs) {
        if (services_.launcher->startProgram(program, {}))
            return;
    }
    tell(missing);
}

void ExternalTools::openHelp() {
    const QString path = helpFile();
    if (!QFileInfo(path).isFile()) {
        tell(QStringLiteral("帮助文件不存在：%1").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!services_.launcher->openFile(path))
        tell(
            QStringLiteral("没有能打开帮助文件的程序（网页浏览器）：%1").arg(QDir::toNativeSeparators(path)));
}

void ExternalTools::tell(const QString& text) {
    services_.dialogs->message(window_, text, QStringLiteral("友情提示："), Dialogs::Icon::Information);
}
