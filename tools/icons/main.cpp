// Writes the program's icon as PNG files: a hicolor icon theme tree for the
// desktop launcher, and one large icon for the program directory.
//   aurivex-icons --theme DIR --program-dir DIR
#include "ui/app_art.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption theme(QStringLiteral("theme"), QStringLiteral("hicolor theme folder"),
                                   QStringLiteral("dir"));
    const QCommandLineOption programDir(QStringLiteral("program-dir"), QStringLiteral("program directory"),
                                        QStringLiteral("dir"));
    parser.addOptions({theme, programDir});
    parser.process(app);

    bool ok = true;
    const auto save = [&ok](const QImage& image, const QString& path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ok = false;
        }
    };
    if (parser.isSet(theme)) {
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            save(appart::windowIconImage(size),
                 QStringLiteral("%1/%2x%2/apps/aurivex.png").arg(parser.value(theme)).arg(size));
    }
    if (parser.isSet(programDir))
        save(appart::windowIconImage(256), parser.value(programDir) + QStringLiteral("/aurivex.png"));
    return ok ? 0 : 1;
}
