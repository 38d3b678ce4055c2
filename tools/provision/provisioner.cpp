#include "provisioner.h"

#include "app/settings/settings_keys.h"
#include "app/settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace provision {

QList<QPair<QString, QString>> endpointDefaults(const QString& portal) {
    return {
        {QStringLiteral("quotePortalHost"), portal},
    };
}

namespace {

QStringList provisionConfig(const QString& path, bool reset) {
    if (reset) QFile::remove(path);
    QStringList problems;
    for (const settings::KeyInfo& info : settings::allKeys()) {
        if (!reset && settings::keyExists(path, info.section, info.key)) continue;
        if (!settings::writeItem(path, info.section, info.key, settings::designDefault(info.form)))
            problems << QStringLiteral("cannot write %1").arg(path);
    }
    problems.removeDuplicates();
    return problems;
}

QStringList provisionEndpoints(const QString& path, const Options& options) {
    if (options.reset) QFile::remove(path);
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("endpoints"));
    for (const auto& [key, value] : endpointDefaults(options.portal)) {
        if (options.portalGiven || options.reset || !file.contains(key)) file.setValue(key, value);
    }
    file.endGroup();
    file.sync();
    if (file.status() != QSettings::NoError) return {QStringLiteral("cannot write %1").arg(path)};
    return {};
}

} // namespace

QStringList run(const Options& options) {
    QDir dir(options.dir);
    if (!dir.exists() && !QDir().mkpath(options.dir))
        return {QStringLiteral("cannot create %1").arg(options.dir)};
    QStringList problems = provisionConfig(dir.filePath(QStringLiteral("config.ini")), options.reset);
    problems += provisionEndpoints(dir.filePath(QStringLiteral("endpoints.ini")), options);
    return problems;
}

} // namespace provision
