// endpoints.ini as a user could leave it.
#include "core/endpoints.h"
#include "fuzz_file.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = writeFuzzFile(QStringLiteral("endpoints.ini"),
                                       QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const endpoints::Endpoints all = endpoints::Endpoints::load(path);
    const QString host = all.value(endpoints::key::quotePortalHost);
    FUZZ_CHECK(host == host.trimmed());
    // Whatever the file holds, the run's own portal replaces the demo address
    // and nothing else.
    const bool namesDemo = demofeed::names(host, demofeed::defaultAddress());
    const QString used = demofeed::replaced(host, demofeed::defaultAddress(), QStringLiteral("127.0.0.1:1"));
    FUZZ_CHECK(namesDemo == (used != host));
    FUZZ_CHECK(!namesDemo || demofeed::names(used, QStringLiteral("127.0.0.1:1")));
    (void)all.names(demofeed::defaultAddress());
    return 0;
}
