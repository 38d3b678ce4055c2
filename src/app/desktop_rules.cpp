#include "desktop_rules.h"

#include <QCryptographicHash>
#include <QDir>
#include <algorithm>

namespace desktop {

int aboutFadeOpacity(int counter) {
    return std::clamp(counter * kAboutFadeStep, 0, 255);
}

QString defaultTerminalPath() {
    return QStringLiteral("C:\\Program Files\\MetaTrader 4\\terminal.exe");
}

QString winePrefix(const QString& winePrefixVariable, const QString& home) {
    if (!winePrefixVariable.isEmpty() && QDir::isAbsolutePath(winePrefixVariable))
        return QDir::cleanPath(winePrefixVariable);
    return QDir::cleanPath(home + QStringLiteral("/.wine"));
}

QString hostPath(const QString& storedPath, const QString& prefix) {
    const bool windowsDrive = storedPath.size() >= 3 && storedPath.at(0).isLetter() &&
                              storedPath.at(0).unicode() < 128 && storedPath.at(1) == u':' &&
                              (storedPath.at(2) == u'\\' || storedPath.at(2) == u'/');
    if (!windowsDrive)
        return storedPath;
    // Wine keeps one link per drive letter in dosdevices, lower case.
    QString rest = storedPath.mid(3);
    rest.replace(u'\\', u'/');
    return prefix + QStringLiteral("/dosdevices/") + storedPath.at(0).toLower() + QStringLiteral(":/") + rest;
}

bool namesTerminal(const QString& storedPath) {
    const qsizetype cut = std::max(storedPath.lastIndexOf(u'\\'), storedPath.lastIndexOf(u'/'));
    return storedPath.mid(cut + 1) == QStringLiteral("terminal.exe");
}

TerminalLaunch decideTerminalLaunch(bool defaultExists, const QString& storedPath, bool storedExists) {
    if (defaultExists)
        return TerminalLaunch::RunDefault;
    if (!namesTerminal(storedPath))
        return TerminalLaunch::AskForPath;
    return storedExists ? TerminalLaunch::RunStored : TerminalLaunch::Nothing;
}

const QStringList& textEditors() {
    static const QStringList programs = {
        QStringLiteral("gnome-text-editor"),
        QStringLiteral("gedit"),
        QStringLiteral("kate"),
        QStringLiteral("kwrite"),
        QStringLiteral("mousepad"),
        QStringLiteral("pluma"),
        QStringLiteral("xed"),
        QStringLiteral("featherpad"),
        QStringLiteral("leafpad"),
        QStringLiteral("geany"),
    };
    return programs;
}

const QStringList& calculators() {
    static const QStringList programs = {
        QStringLiteral("gnome-calculator"),
        QStringLiteral("kcalc"),
        QStringLiteral("mate-calc"),
        QStringLiteral("galculator"),
        QStringLiteral("qalculate-gtk"),
        QStringLiteral("speedcrunch"),
        QStringLiteral("xcalc"),
    };
    return programs;
}

QString forcedPlatform(const QString& qpaPlatform, const QString& sessionType, const QString& waylandDisplay,
                       const QString& display, const QStringList& arguments) {
    if (!qpaPlatform.isEmpty())
        return {};
    for (const QString& argument : arguments) {
        if (argument == QStringLiteral("-platform") || argument == QStringLiteral("--platform") ||
            argument.startsWith(QStringLiteral("-platform=")) ||
            argument.startsWith(QStringLiteral("--platform=")))
            return {};
    }
    const bool wayland =
        sessionType.compare(QStringLiteral("wayland"), Qt::CaseInsensitive) == 0 || !waylandDisplay.isEmpty();
    if (!wayland || display.isEmpty())
        return {};
    return QStringLiteral("xcb");
}

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    qsizetype next = 0;
    if (arguments.value(0) == QStringLiteral("--home")) {
        if (arguments.size() < 2 || arguments.at(1).isEmpty()) {
            line.error = QStringLiteral("--home needs a directory");
            return line;
        }
        line.home = arguments.at(1);
        next = 2;
    }
    line.startAddress = arguments.value(next);
    return line;
}

QString instanceKey(const QString& programDir) {
    const QByteArray digest =
        QCryptographicHash::hash(QDir::cleanPath(programDir).toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("aurivex-") + QString::fromLatin1(digest.toHex().left(16));
}

} // namespace desktop
