#include "provisioner.h"

#include "app/settings/settings_keys.h"
#include "app/settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace provision {

QList<Endpoint> endpointDefaults(const QString& portal) {
    return {
        {QStringLiteral("quotePortalHost"), portal, true},
        {QStringLiteral("productPageUrl"), QStringLiteral("http://%1/product/index.html").arg(portal), true},
        {QStringLiteral("icbcSiteUrl"), QStringLiteral("https://www.icbc.com.cn/"), false},
        {QStringLiteral("ccbSiteUrl"), QStringLiteral("https://www.ccb.com/"), false},
        {QStringLiteral("bocSiteUrl"), QStringLiteral("https://www.boc.cn/"), false},
    };
}

namespace {

QStringList provisionConfig(const QString& path, bool reset) {
    if (reset)
        QFile::remove(path);
    QStringList problems;
    for (const settings::KeyInfo& info : settings::allKeys()) {
        if (!reset && settings::keyExists(path, info.section, info.key))
            continue;
        if (!settings::writeItem(path, info.section, info.key, settings::designDefault(info.form)))
            problems << QStringLiteral("cannot write %1").arg(path);
    }
    problems.removeDuplicates();
    return problems;
}

QStringList provisionEndpoints(const QString& path, const Options& options) {
    if (options.reset)
        QFile::remove(path);
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("endpoints"));
    for (const Endpoint& endpoint : endpointDefaults(options.portal)) {
        if (options.reset || !file.contains(endpoint.key) || (options.portalGiven && endpoint.onPortal))
            file.setValue(endpoint.key, endpoint.value);
    }
    file.endGroup();
    file.sync();
    if (file.status() != QSettings::NoError)
        return {QStringLiteral("cannot write %1").arg(path)};
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
