#include "PageWorkers.h"

#include "app/printing/EPrinter.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// In a worker: it ends when the main process does, and standard output, which only the main process writes,
// is out of its reach.
void becomeWorker(pid_t mainProcess) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != mainProcess)
        _exit(1);
    if (const int nowhere = open("/dev/null", O_WRONLY); nowhere >= 0) {
        dup2(nowhere, STDOUT_FILENO);
        close(nowhere);
    }
}

QString endedHow(int status) {
    if (WIFSIGNALED(status))
        return QStringLiteral("it was ended by signal %1 (%2)")
            .arg(WTERMSIG(status))
            .arg(QString::fromLocal8Bit(strsignal(WTERMSIG(status))));
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return QStringLiteral("it ended with exit code %1").arg(WEXITSTATUS(status));
    return {};
}

} // namespace

TPageWorkers::TPageWorkers(int Count, const TWork& Work) {
    const pid_t mainProcess = getpid();
    for (int worker = 0; worker < Count; ++worker) {
        int ends[2];
        if (pipe(ends) != 0) {
            end();
            throw EPrinter(QStringLiteral("Cannot make a pipe to a rendering process: %1")
                               .arg(QString::fromLocal8Bit(strerror(errno))));
        }
        const pid_t pid = fork();
        if (pid == 0) {
            becomeWorker(mainProcess);
            close(ends[0]);
            for (const TWorker& other : FWorkers)
                close(other.Pipe);
            // A worker never goes back into the main process's code, whatever its work raises.
            int code = 1;
            try {
                code = Work(worker, Count, ends[1]);
            } catch (...) {
            }
            std::exit(code);
        }
        close(ends[1]);
        if (pid < 0) {
            const int error = errno;
            close(ends[0]);
            end();
            throw EPrinter(QStringLiteral("Cannot start a rendering process: %1")
                               .arg(QString::fromLocal8Bit(strerror(error))));
        }
        FWorkers.push_back({pid, ends[0]});
    }
}

TPageWorkers::~TPageWorkers() {
    end();
}

QString TPageWorkers::Wait(int Worker) {
    TWorker& worker = FWorkers[size_t(Worker)];
    if (worker.Pid < 0)
        return {};
    int status = 0;
    while (waitpid(worker.Pid, &status, 0) < 0 && errno == EINTR) {
    }
    worker.Pid = -1;
    return endedHow(status);
}

// Ends the workers still running, by their process ids, and closes their pipes.
void TPageWorkers::end() {
    for (TWorker& worker : FWorkers) {
        if (worker.Pid > 0)
            kill(worker.Pid, SIGTERM);
        if (worker.Pipe >= 0)
            close(worker.Pipe);
        worker.Pipe = -1;
    }
    for (int worker = 0; worker < Count(); ++worker)
        Wait(worker);
}
