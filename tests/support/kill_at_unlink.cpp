// Preloaded into a child process: kills it (SIGKILL) the moment it is about
// to delete a file whose path contains $AURIVEX_KILL_AT_UNLINK. A record
// file's change commits by deleting its journal (or, for files that commit
// together, their shared journal), so this stops a process exactly inside its
// commit, which random kills almost never hit.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

void killIfWatched(const char* path) {
    const char* watched = std::getenv("AURIVEX_KILL_AT_UNLINK");
    if (!watched || !*watched || !path || !std::strstr(path, watched))
        return;
    static long spared = [] {
        const char* after = std::getenv("AURIVEX_KILL_AT_UNLINK_AFTER");
        return after ? std::strtol(after, nullptr, 10) : 0L;
    }();
    if (spared-- <= 0)
        ::kill(::getpid(), SIGKILL);
}

template <typename F> F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

int unlink(const char* path) {
    killIfWatched(path);
    static auto next = real<int (*)(const char*)>("unlink");
    return next(path);
}

int unlinkat(int dirfd, const char* path, int flags) {
    killIfWatched(path);
    static auto next = real<int (*)(int, const char*, int)>("unlinkat");
    return next(dirfd, path, flags);
}

} // extern "C"
