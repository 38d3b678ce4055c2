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
    return 0;
}
