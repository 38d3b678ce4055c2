// The quote page cut on any body a portal could send.
#include "fuzz_file.h"
#include "quotes/quote_page.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    const quotepage::Cut cut = quotepage::cut(body);
    const auto tagFree = [](const QByteArray& field) {
        return field.size() <= quotepage::kFieldLength && !field.contains('<') && !field.contains('>') &&
               !field.contains('\0');
    };
    FUZZ_CHECK(tagFree(cut.buy) && tagFree(cut.sell));
    if (!cut.storesBuy())
        FUZZ_CHECK(cut.buy.isEmpty());
    if (cut.outcome != quotepage::Cut::Outcome::Prices)
        FUZZ_CHECK(cut.sell.isEmpty());
    if (cut.outcome != quotepage::Cut::Outcome::NoMarker)
        FUZZ_CHECK(body.contains(quotepage::rowMarker()));
    return 0;
}
