// aurivex-provision: lays down the installation files of a program directory.
//
//   aurivex-provision --dir DIR [--portal HOST:PORT] [--template DIR] [--reset]
//
// It lays down config.ini, endpoints.ini and DataBase/ with its four record files.
//
// Missing files and keys are created (from the template directory's
// config.ini and endpoints.ini where they hold the key); values and records
// already present are kept, except that an explicit --portal points every
// endpoint at that portal. Run on every start of an installed program, it
// brings a directory made by an older version up to date.

#include "provisioner.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Creates config.ini, endpoints.ini and the record files of a program directory."));
    parser.addHelpOption();
    const QCommandLineOption dirOption(QStringLiteral("dir"), QStringLiteral("The program directory."),
                                       QStringLiteral("dir"));
    const QCommandLineOption portalOption(QStringLiteral("portal"),
                                          QStringLiteral("host:port of the data portal."),
                                          QStringLiteral("host"), QStringLiteral("127.0.0.1:18090"));
    const QCommandLineOption resetOption(QStringLiteral("reset"),
                                         QStringLiteral("Rewrite the files from scratch."));
    const QCommandLineOption templateOption(
        QStringLiteral("template"), QStringLiteral("Take missing keys from this directory's files first."),
        QStringLiteral("dir"));
    parser.addOptions({dirOption, portalOption, templateOption, resetOption});
    parser.process(app);

    QTextStream err(stderr);
    if (!parser.isSet(dirOption)) {
        err << "aurivex-provision: --dir is required\n";
        return 2;
    }
    provision::Options options;
    options.dir = parser.value(dirOption);
    options.portal = parser.value(portalOption);
    options.portalGiven = parser.isSet(portalOption);
    options.reset = parser.isSet(resetOption);
    options.templateDir = parser.value(templateOption);
    const QStringList problems = provision::run(options);
    for (const QString& problem : problems)
        err << "aurivex-provision: " << problem << '\n';
    return problems.isEmpty() ? 0 : 1;
}
