// A print run ended from outside, by SIGTERM (what a logout sends) or SIGINT, leaves nothing behind: what
// holds something outside the process (the downloaded document, a job on its way to the print system)
// registers how to let it go, and when such a signal arrives the main thread's event loop runs every
// registered clean-up, the last registered first, writes a run-log line, and ends the process with 128 plus
// the signal's number, as a shell reports it. A run killed outright (SIGKILL) cleans nothing: what it left is
// found and removed by the next run.
#pragma once

#include <functional>

// Registers a clean-up for as long as it lives. Created and destroyed on the main thread.
class TTerminationCleanup {
public:
    explicit TTerminationCleanup(std::function<void()> Cleanup);
    ~TTerminationCleanup();
    TTerminationCleanup(const TTerminationCleanup&) = delete;
    TTerminationCleanup& operator=(const TTerminationCleanup&) = delete;

private:
    std::function<void()> FCleanup;
};

// Runs the registered clean-ups, newest first; one that raises is passed over.
void RunTerminationCleanups() noexcept;

// Makes SIGTERM and SIGINT end the process through the clean-ups, from the event loop of the application
// object, which must exist. Where the platform has no such signals, nothing changes.
void EndCleanlyOnTermination();
