#include "app/job/Termination.h"

#include <QList>

#include <algorithm>

namespace {

QList<const std::function<void()>*>& registered() {
    static QList<const std::function<void()>*> cleanups;
    return cleanups;
}

} // namespace

TTerminationCleanup::TTerminationCleanup(std::function<void()> Cleanup) : FCleanup(std::move(Cleanup)) {
    registered().append(&FCleanup);
}

TTerminationCleanup::~TTerminationCleanup() {
    registered().removeOne(&FCleanup);
}

void RunTerminationCleanups() noexcept {
    // A clean-up may end what registered another; each runs from a copy of the list as it stood.
    const QList<const std::function<void()>*> cleanups = registered();
    for (auto cleanup = cleanups.crbegin(); cleanup != cleanups.crend(); ++cleanup) {
        try {
            (**cleanup)();
        } catch (...) {
        }
    }
}
