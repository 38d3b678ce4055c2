#include "freed_memory.h"

#include <QCoreApplication>
#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
constexpr int kSettleMs = 2000;
bool pending = false;
} // namespace

void releaseFreedMemorySoon() {
#if defined(__GLIBC__)
    if (pending || !QCoreApplication::instance())
        return;
    pending = true;
    QTimer::singleShot(kSettleMs, QCoreApplication::instance(), [] {
        pending = false;
        malloc_trim(0);
    });
#endif
}
