// endpoints.ini as a user could leave it.
#include "core/endpoints.h"
#include "fuzz_file.h"

#include <QUrl>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = writeFuzzFile(QStringLiteral("endpoints.ini"),
                                       QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const endpoints::Endpoints all = endpoints::Endpoints::load(path);
    // A value the program is given is trimmed and, for a host, makes an address.
    const QString host = all.value(endpoints::key::quotePortalHost);
    FUZZ_CHECK(host == host.trimmed());
    FUZZ_CHECK(host.isEmpty() ||
               QUrl(QStringLiteral("http://") + host + QStringLiteral("/quote/index.html"), QUrl::StrictMode)
                   .isValid());
    const QString page = all.value(endpoints::key::productPageUrl);
    FUZZ_CHECK(page.isEmpty() || QUrl(page, QUrl::StrictMode).isValid());
    // A key named unusable is given no value.
    for (const QString& key : all.unusableKeys())
        FUZZ_CHECK(all.value(key).isEmpty());
    // Rewriting with the values read keeps them as they were read.
    const QList<endpoints::Entry> entries = endpoints::readEntries(path);
    const QByteArray rewritten =
        endpoints::withValues(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), entries);
    const QString again = writeFuzzFile(QStringLiteral("endpoints-again.ini"), rewritten);
    const QList<endpoints::Entry> reread = endpoints::readEntries(again);
    FUZZ_CHECK(reread.size() >= entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        FUZZ_CHECK(reread[i].key == entries[i].key && reread[i].value == entries[i].value);
    return 0;
}
