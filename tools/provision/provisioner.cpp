#include "provisioner.h"

#include "core/endpoints.h"
#include "records/passwords.h"
#include "records/record_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <sys/stat.h>
#include <unistd.h>

namespace provision {

QList<Endpoint> endpointDefaults(const QString& portal) {
    return {
        {endpoints::key::quotePortalHost, portal, true},
        {endpoints::key::productPageUrl, QStringLiteral("http://%1/product/index.html").arg(portal), true},
        {endpoints::key::icbcSiteUrl, QStringLiteral("https://www.icbc.com.cn/"), false},
        {endpoints::key::ccbSiteUrl, QStringLiteral("https://www.ccb.com/"), false},
        {endpoints::key::bocSiteUrl, QStringLiteral("https://www.boc.cn/"), false},
        {endpoints::key::chartImageHost, portal, true},
        {endpoints::key::chartImageIntlHost, portal, true},
        {endpoints::key::klineChartHost, portal, true},
        {endpoints::key::partnerChartHost, portal, true},
        {endpoints::key::javaDownloadUrl, QStringLiteral("https://www.java.com/zh-CN/download/"), false},
        {endpoints::key::newsHost, portal, true},
        {endpoints::key::mt4DownloadUrl, QStringLiteral("https://www.metatrader4.com/download"), false},
        {endpoints::key::kitcoSiteUrl, QStringLiteral("https://www.kitco.com/"), false},
        {endpoints::key::hexunSiteUrl, QStringLiteral("https://www.hexun.com/"), false},
        {endpoints::key::partnerSiteUrl, QStringLiteral("https://www.cngold.org/"), false},
        // The TV channels: HTTP or HLS streams.
        {endpoints::key::tvStartStream, QStringLiteral("http://%1/CBN.m3u8").arg(portal), true},
        {endpoints::key::tvChannel1Stream, QStringLiteral("http://%1/litv01.m3u8").arg(portal), true},
        {endpoints::key::tvChannel2Stream, QStringLiteral("http://%1/stv2.m3u8").arg(portal), true},
        {endpoints::key::tvChannel3Stream, QStringLiteral("http://%1/cctv1.m3u8").arg(portal), true},
        // The reference browser's sites: a host, with a path in front of the
        // links' own where one portal stands in for many sites (and chartImageHost, above).
        {endpoints::key::referenceForexHost, portal + QStringLiteral("/ref/forex"), true},
        {endpoints::key::referenceDataHost, portal + QStringLiteral("/ref/data"), true},
        {endpoints::key::referenceRatesHost, portal + QStringLiteral("/ref/rates"), true},
        {endpoints::key::referenceStocksHost, portal + QStringLiteral("/ref/stocks"), true},
        {endpoints::key::referenceSearchHost, portal + QStringLiteral("/ref/search"), true},
        {endpoints::key::referenceSohuHost, portal + QStringLiteral("/ref/sohu"), true},
        {endpoints::key::referenceHexunHost, portal + QStringLiteral("/ref/hexun"), true},
        {endpoints::key::referenceSinaHost, portal + QStringLiteral("/ref/sina"), true},
        {endpoints::key::referenceCngoldHost, portal + QStringLiteral("/ref/cngold"), true},
        {endpoints::key::referenceEmperorHost, portal + QStringLiteral("/ref/emperor"), true},
        {endpoints::key::referenceRuideHost, portal + QStringLiteral("/ref/ruide"), true},
        {endpoints::key::referenceIcbcHost, portal + QStringLiteral("/ref/icbc"), true},
        {endpoints::key::referenceCcbHost, portal + QStringLiteral("/ref/ccb"), true},
        {endpoints::key::referenceBocHost, portal + QStringLiteral("/ref/boc"), true},
        {endpoints::key::referencePartnerHost, portal + QStringLiteral("/ref/partner"), true},
        {endpoints::key::converterHost, portal, true},
    };
}

// The sliders whose range starts above 0 get the positions the windows
// themselves offer as defaults, so a first start does not open a nearly
// transparent strip or desktop chart.
QString firstValue(const settings::KeyInfo& info) {
    if (info.section == settings::key::stripOpacity.section && info.key == settings::key::stripOpacity.key)
        return QStringLiteral("98");
    if (info.section == settings::key::chartOpacity.section && info.key == settings::key::chartOpacity.key)
        return QStringLiteral("75");
    if (info.section == settings::key::chartRefreshSeconds.section &&
        info.key == settings::key::chartRefreshSeconds.key)
        return QStringLiteral("15");
    return settings::designDefault(info.form);
}

namespace {

QStringList provisionConfig(const QString& path, const Options& options) {
    if (options.reset)
        QFile::remove(path);
    // The keys present before any is added, read once.
    const settings::Snapshot present = settings::Snapshot::load(path);
    const settings::Snapshot given =
        options.templateDir.isEmpty()
            ? settings::Snapshot()
            : settings::Snapshot::load(QDir(options.templateDir).filePath(QStringLiteral("config.ini")));
    QStringList problems;
    for (const settings::KeyInfo& info : settings::allKeys()) {
        if (!options.reset && present.keyExists(info.section, info.key))
            continue;
        const QString value = given.keyExists(info.section, info.key) ? given.item(info) : firstValue(info);
        if (!settings::writeItem(path, info.section, info.key, value))
            problems << QStringLiteral("cannot write %1").arg(path);
    }
    problems.removeDuplicates();
    return problems;
}

// The endpoint values the template gives; none without one.
QHash<QString, QString> templateEndpoints(const QString& templateDir) {
    QHash<QString, QString> values;
    if (templateDir.isEmpty())
        return values;
    for (const endpoints::Entry& entry :
         endpoints::readEntries(QDir(templateDir).filePath(QStringLiteral("endpoints.ini"))))
        values.insert(entry.key, entry.value);
    return values;
}

QStringList provisionEndpoints(const QString& path, const Options& options) {
    if (options.reset)
        QFile::remove(path);
    QFile file(path);
    const bool exists = file.exists();
    if (exists && (file.size() > endpoints::kMaxFileBytes || !file.open(QIODevice::ReadOnly)))
        return {QStringLiteral("cannot read %1").arg(path)};
    const QByteArray old = exists ? file.readAll() : QByteArray();
    file.close();

    QSet<QString> present;
    for (const endpoints::Entry& entry : endpoints::readEntries(path))
        present.insert(entry.key);
    const QHash<QString, QString> given = templateEndpoints(options.templateDir);
    QList<endpoints::Entry> changes;
    for (const Endpoint& endpoint : endpointDefaults(options.portal)) {
        const bool repoint = options.portalGiven && endpoint.onPortal;
        if (!present.contains(endpoint.key) || repoint)
            changes.append({endpoint.key, !repoint && given.contains(endpoint.key) ? given.value(endpoint.key)
                                                                                   : endpoint.value});
    }
    const QByteArray text = endpoints::withValues(old, changes);
    if (exists && text == old)
        return {};
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
        return {QStringLiteral("cannot write %1").arg(path)};
    return {};
}

// A folder only its owner may enter, with the folders above it as the umask makes them.
bool makePrivateDir(const QString& path) {
    return QDir().mkpath(QFileInfo(path).absolutePath()) &&
           QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Takes the group's and others' permissions away from `path`. A link, a
// file of someone else's and a missing file are left alone.
bool restrictMode(const QString& path) {
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &info) != 0 || S_ISLNK(info.st_mode) || info.st_uid != ::geteuid())
        return true;
    const mode_t mode = info.st_mode & 07777;
    return (mode & 077) == 0 || ::chmod(name.constData(), mode & ~mode_t(077)) == 0;
}

// Another user who could read the record files could open them with the key
// built into the program: the settings, DataBase/ and everything in it are
// the user's alone, also in a directory an older version made with the
// umask's modes.
QStringList restrictModes(const QDir& dir) {
    const QString database = dir.filePath(QStringLiteral("DataBase"));
    QStringList paths = {dir.filePath(QStringLiteral("config.ini")),
                         dir.filePath(QStringLiteral("endpoints.ini")), database};
    const QDir records(database);
    for (const QString& name : records.entryList(QDir::Files | QDir::Hidden))
        paths << records.filePath(name);
    QStringList problems;
    for (const QString& path : paths)
        if (!restrictMode(path))
            problems << QStringLiteral("cannot restrict the permissions of %1").arg(path);
    return problems;
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
        const QString folder = QFileInfo(path).path();
        if ((!QFileInfo(folder).isDir() && !makePrivateDir(folder)) || !createRecordFile(path, seed))
            problems << QStringLiteral("cannot create %1").arg(path);
    }
    return problems;
}

} // namespace

QStringList run(const Options& options) {
    QDir dir(options.dir);
    if (!dir.exists() && !makePrivateDir(options.dir))
        return {QStringLiteral("cannot create %1").arg(options.dir)};
    QStringList problems = provisionConfig(dir.filePath(QStringLiteral("config.ini")), options);
    problems += provisionEndpoints(dir.filePath(QStringLiteral("endpoints.ini")), options);
    problems += provisionRecordFiles(dir, options.reset);
    problems += restrictModes(dir);
    return problems;
}

} // namespace provision
