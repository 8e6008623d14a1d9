#include "Watchdog.h"

#include <cstdio>
#include <cstdlib>

Watchdog::Watchdog(QString What, std::chrono::seconds Limit) {
    FThread = std::thread([this, what = What.toLocal8Bit(), Limit] {
        std::unique_lock lock(FMutex);
        if (!FEnded.wait_for(lock, Limit, [this] { return FDone; })) {
            std::fprintf(stderr, "%s did not return within %lld s\n", what.constData(),
                         static_cast<long long>(Limit.count()));
            std::abort();
        }
    });
}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(FMutex);
        FDone = true;
    }
    FEnded.notify_one();
    FThread.join();
}
