// Writes the built-in alert sounds as alert-tone-1.wav … alert-tone-3.wav into
// the directory given, for the build to take into the program's resources.
#include "alerts/alert_tones.h"

#include <QDir>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (int number = 1; number <= 3; ++number) {
        QSaveFile file(dir.filePath(QStringLiteral("alert-tone-%1.wav").arg(number)));
        const QByteArray wave = alerttones::wave(number);
        if (!file.open(QIODevice::WriteOnly) || file.write(wave) != wave.size() || !file.commit()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
