#include "app/job/Termination.h"

#include "app/log/RunLog.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The handler only writes the signal's number into a pipe; the event loop reads it and does the work.
int SignalPipe[2] = {-1, -1};

void noteSignal(int Signal) {
    const int saved = errno;
    const char number = char(Signal);
    [[maybe_unused]] const ssize_t written = write(SignalPipe[1], &number, 1);
    errno = saved;
}

void endAfterSignal() {
    char number = 0;
    if (read(SignalPipe[0], &number, 1) != 1)
        return;
    RunTerminationCleanups();
    WriteLog(QStringLiteral("Ended by %1: its download deleted, a job still on its way to the print system "
                            "cancelled")
                 .arg(QLatin1StringView(number == SIGTERM ? "SIGTERM" : "SIGINT")));
    std::_Exit(128 + number);
}

} // namespace

void EndCleanlyOnTermination() {
    if (SignalPipe[0] >= 0 || pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { endAfterSignal(); });
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}
