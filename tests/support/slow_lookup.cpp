// Preloaded into the HTTP client's test: a name lookup of any host under
// "slow-lookup.invalid" takes ten seconds, as with a name server that does not
// answer, while every other lookup goes on as usual. The test reads how many
// such lookups are running through aurivexSlowLookupsRunning.
#include <atomic>
#include <cstring>
#include <dlfcn.h>
#include <netdb.h>
#include <unistd.h>

extern "C" {

std::atomic<int> aurivexSlowLookupsRunning{0};

int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result) {
    using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto real = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (node && std::strstr(node, "slow-lookup.invalid")) {
        ++aurivexSlowLookupsRunning;
        ::sleep(10);
        --aurivexSlowLookupsRunning;
    }
    return real(node, service, hints, result);
}
}
