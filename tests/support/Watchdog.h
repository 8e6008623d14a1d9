// A guard for a call that may never return: while it lives, a thread waits, and should the guard still stand
// after its limit, the process says what hung and aborts, so that the suite reports a failure instead of
// hanging. It measures nothing: the limit is far beyond any answer.
#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class Watchdog {
public:
    Watchdog(QString What, std::chrono::seconds Limit);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex FMutex;
    std::condition_variable FEnded;
    bool FDone = false;
    std::thread FThread;
};
