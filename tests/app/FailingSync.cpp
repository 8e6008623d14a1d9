#include "FailingSync.h"

#include <atomic>
#include <cerrno>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::atomic<bool> failing{false};

} // namespace

extern "C" int fdatasync(int fd) {
    if (failing) {
        errno = EIO;
        return -1;
    }
    return int(syscall(SYS_fdatasync, fd));
}

FailingSync::FailingSync() {
    failing = true;
}

FailingSync::~FailingSync() {
    failing = false;
}
