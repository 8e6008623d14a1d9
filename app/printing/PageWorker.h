// Pages written on a worker thread while the caller renders the next one: at most one page ahead, so that two
// page images are alive at a time, and the image of a written page comes back to the caller to render into.
//
// An error of the writer is kept and raised in the caller's thread by every later Submit() and Finish(); no
// page is written after it.
#pragma once

#include <QImage>

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class TPageWorker {
public:
    explicit TPageWorker(std::function<void(const QImage&)> WritePage);
    // Waits for the page in hand and stops the thread; an error then is dropped.
    ~TPageWorker();
    TPageWorker(const TPageWorker&) = delete;
    TPageWorker& operator=(const TPageWorker&) = delete;

    // Waits until the page before is written, then hands Page to the writer; Page receives the image of that
    // page before, or a null image.
    void Submit(QImage& Page);
    // Waits until every page is written; raises the writer's error.
    void Finish();

private:
    void run();
    void waitIdle(std::unique_lock<std::mutex>& lock);
    void raiseError(); // with the lock held

    std::function<void(const QImage&)> FWritePage;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::optional<QImage> FPending; // handed over, not yet written
    QImage FWritten;                // the last page written, for reuse
    bool FBusy = false;
    bool FStopping = false;
    std::exception_ptr FError;
    std::thread FThread;
};
