#include "app/printing/PageWorker.h"

TPageWorker::TPageWorker(std::function<void(const QImage&)> WritePage)
    : FWritePage(std::move(WritePage)), FThread([this] { run(); }) {}

TPageWorker::~TPageWorker() {
    {
        std::unique_lock lock(FMutex);
        waitIdle(lock);
        FStopping = true;
    }
    FChanged.notify_all();
    FThread.join();
}

void TPageWorker::Submit(QImage& Page) {
    std::unique_lock lock(FMutex);
    waitIdle(lock);
    raiseError();
    FPending.emplace();
    FPending->swap(Page);
    Page.swap(FWritten);
    lock.unlock();
    FChanged.notify_all();
}

void TPageWorker::Finish() {
    std::unique_lock lock(FMutex);
    waitIdle(lock);
    raiseError();
}

void TPageWorker::waitIdle(std::unique_lock<std::mutex>& lock) {
    FChanged.wait(lock, [this] { return !FPending && !FBusy; });
}

void TPageWorker::raiseError() {
    if (FError)
        std::rethrow_exception(FError);
}

void TPageWorker::run() {
    std::unique_lock lock(FMutex);
    for (;;) {
        FChanged.wait(lock, [this] { return FPending || FStopping; });
        if (!FPending)
            return;
        QImage page = std::move(*FPending);
        FPending.reset();
        const bool failed = FError != nullptr;
        FBusy = true;
        lock.unlock();
        std::exception_ptr error;
        if (!failed) {
            try {
                FWritePage(page);
            } catch (...) {
                error = std::current_exception();
            }
        }
        lock.lock();
        FBusy = false;
        if (error)
            FError = error;
        FWritten = std::move(page);
        FChanged.notify_all();
    }
}
