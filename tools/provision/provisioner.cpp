#include "provisioner.h"

#include "records/passwords.h"
#include "records/record_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace provision {

QList<Endpoint> endpointDefaults(const QString& portal) {
    return {
        {QStringLiteral("quotePortalHost"), portal, true},
        {QStringLiteral("productPageUrl"), QStringLiteral("http://%1/product/index.html").arg(portal), true},
        {QStringLiteral("icbcSiteUrl"), QStringLiteral("https://www.icbc.com.cn/"), false},
        {QStringLiteral("ccbSiteUrl"), QStringLiteral("https://www.ccb.com/"), false},
        {QStringLiteral("bocSiteUrl"), QStringLiteral("https://www.boc.cn/"), false},
        {QStringLiteral("mt4DownloadUrl"), QStringLiteral("https://www.metatrader4.com/download"), false},
        {QStringLiteral("kitcoSiteUrl"), QStringLiteral("https://www.kitco.com/"), false},
        {QStringLiteral("hexunSiteUrl"), QStringLiteral("https://www.hexun.com/"), false},
        {QStringLiteral("partnerSiteUrl"), QStringLiteral("https://www.cngold.org/"), false},
        {QStringLiteral("chartImageHost"), portal, true},
        {QStringLiteral("chartImageIntlHost"), portal, true},
        {QStringLiteral("klineChartHost"), portal, true},
        {QStringLiteral("partnerChartHost"), portal, true},
        {QStringLiteral("javaDownloadUrl"), QStringLiteral("https://www.java.com/zh-CN/download/"), false},
    };
}

namespace {

QStringList provisionConfig(const QString& path, bool reset) {
    if (reset)
        QFile::remove(path);
    // The keys present before any is added, read once.
    const settings::Snapshot present = settings::Snapshot::load(path);
    QStringList problems;
    for (const settings::KeyInfo& info : settings::allKeys()) {
        if (!reset && present.keyExists(info.section, info.key))
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

struct RecordFileSeed {
    QString relativePath;
    QString password;
    QList<RecordFile::Field> fields;
    QList<QVariant> record; // the one record it comes with, if any
};

QList<RecordFileSeed> recordFileSeeds() {
    using namespace recordpasswords;
    return {
        {kPropertyFile,
         propertyPassword(),
         propertyFields(),
         {1, 100000.0, 100000.0, 0, QStringLiteral("526")}},
        {kTransactionFile, QString(), transactionFields(), {}},
        {kLedgerFile, QString(), ledgerFields(), {}},
        {kNewsFile, newsPassword(), newsFields(), {1}},
    };
}

// Builds the file under a temporary name and renames it into place, so an
// interrupted run never leaves a file that exists but lacks its record.
bool createRecordFile(const QString& path, const RecordFileSeed& seed) {
    const QString building = path + QStringLiteral(".new");
    QFile::remove(building);
    QFile::remove(building + QStringLiteral("-journal"));
    bool done = RecordFile::create(building, seed.password, seed.fields);
    if (done && !seed.record.isEmpty()) {
        RecordFile file;
        done = file.open(building, seed.password);
        if (done) {
            file.appendBlank();
            QList<std::optional<QVariant>> values(seed.record.begin(), seed.record.end());
            done = file.modify(values);
            file.close();
        }
    }
    done = done && QFile::rename(building, path);
    if (!done)
        QFile::remove(building);
    return done;
}

QStringList provisionRecordFiles(const QDir& dir, bool reset) {
    QStringList problems;
    for (const RecordFileSeed& seed : recordFileSeeds()) {
        const QString path = dir.filePath(seed.relativePath);
        if (reset) {
            // A journal left beside the old file would be played into the new one.
            QFile::remove(path);
            QFile::remove(path + QStringLiteral("-journal"));
        }
        if (QFileInfo::exists(path))
            continue;
        if (!QDir().mkpath(QFileInfo(path).path()) || !createRecordFile(path, seed))
            problems << QStringLiteral("cannot create %1").arg(path);
    }
    return problems;
}

} // namespace

QStringList run(const Options& options) {
    QDir dir(options.dir);
    if (!dir.exists() && !QDir().mkpath(options.dir))
        return {QStringLiteral("cannot create %1").arg(options.dir)};
    QStringList problems = provisionConfig(dir.filePath(QStringLiteral("config.ini")), options.reset);
    problems += provisionEndpoints(dir.filePath(QStringLiteral("endpoints.ini")), options);
    problems += provisionRecordFiles(dir, options.reset);
    return problems;
}

} // namespace provision
