#include "news_step_trace.h"

#include <QMoveEvent>
#include <cstdio>

NewsStepTrace::NewsStepTrace(QObject* link) : QObject(link) {
    clock_.start();
    link->installEventFilter(this);
}

bool NewsStepTrace::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move) {
        const auto* move = static_cast<QMoveEvent*>(event);
        if (move->pos().x() > move->oldPos().x())
            std::printf("aurivex-trace news-headline\n");
        // The thread's CPU time and its time waiting for a CPU tell its own
        // work and a busy machine from the rest of a gap.
        long long cpu = 0;
        long long waiting = 0;
        if (std::FILE* stat = std::fopen("/proc/thread-self/schedstat", "r")) {
            if (std::fscanf(stat, "%lld %lld", &cpu, &waiting) != 2)
                cpu = waiting = 0;
            std::fclose(stat);
        }
        std::printf("aurivex-trace news-step %lld %lld %lld\n", static_cast<long long>(clock_.nsecsElapsed()),
                    cpu, waiting);
        std::fflush(stdout);
    }
    return QObject::eventFilter(watched, event);
}
