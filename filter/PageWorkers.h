// The filter's rendering workers: processes forked from the main process before it loads the engine, each
// with a pipe of its own to the main process. A worker ends with the main process, and the main process ends
// the workers still running when it is done with them, so that none outlives a job that ended.
#pragma once

#include <QString>

#include <functional>
#include <sys/types.h>
#include <vector>

class TPageWorkers {
public:
    // What the Worker-th of Count workers does in its process, writing into Pipe; it returns the process's
    // exit code.
    using TWork = std::function<int(int Worker, int Count, int Pipe)>;

    // Starts Count workers. Raises EPrinter when one cannot be started, ending those started before.
    TPageWorkers(int Count, const TWork& Work);
    ~TPageWorkers();
    TPageWorkers(const TPageWorkers&) = delete;
    TPageWorkers& operator=(const TPageWorkers&) = delete;

    int Count() const { return int(FWorkers.size()); }
    // The end of Worker's pipe that the main process reads.
    int Pipe(int Worker) const { return FWorkers[size_t(Worker)].Pipe; }
    // Waits until Worker has ended: empty when it ended with exit code 0, otherwise how it ended.
    QString Wait(int Worker);

private:
    struct TWorker {
        pid_t Pid = -1; // -1 once it has ended
        int Pipe = -1;
    };
    void end();

    std::vector<TWorker> FWorkers;
};
