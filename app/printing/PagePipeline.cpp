#include "app/printing/PagePipeline.h"

#include <cstring>

TPagePipeline::TPagePipeline(int Encoders, TEncode Encode, TSend Send)
    : FEncoders(std::max(Encoders, 1)), FEncode(std::move(Encode)), FSend(std::move(Send)) {
    for (int i = 0; i < FEncoders; ++i)
        FThreads.emplace_back([this] { encodePages(); });
    FThreads.emplace_back([this] { sendPages(); });
}

TPagePipeline::~TPagePipeline() {
    {
        const std::lock_guard lock(FMutex);
        FStopping = true;
    }
    FChanged.notify_all();
    for (std::thread& thread : FThreads)
        thread.join();
}

void TPagePipeline::Submit(QImage& Page) {
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return settledFailure() || int(FWaiting.size()) + FEncoding < FEncoders; });
    raiseError();
    FWaiting.emplace_back(FSubmitted++, std::move(Page));
    Page = QImage();
    if (!FFree.empty()) {
        Page = std::move(FFree.back());
        FFree.pop_back();
    }
    lock.unlock();
    FChanged.notify_all();
}

void TPagePipeline::Finish() {
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return settledFailure() || FSent == FSubmitted; });
    raiseError();
}

void TPagePipeline::raiseError() {
    if (FError)
        std::rethrow_exception(FError);
}

void TPagePipeline::encodePages() {
    std::unique_lock lock(FMutex);
    for (;;) {
        FChanged.wait(
            lock, [this] { return FStopping || (!FWaiting.empty() && int(FEncoded.size()) < FEncoders); });
        if (FStopping)
            return;
        auto [index, page] = std::move(FWaiting.front());
        FWaiting.pop_front();
        if (!failed()) {
            ++FEncoding;
            lock.unlock();
            QByteArray bytes;
            std::exception_ptr error;
            try {
                bytes = FEncode(page, index);
            } catch (...) {
                error = std::current_exception();
            }
            lock.lock();
            if (error && !FError)
                FError = error;
            if (!failed()) {
                FEncoded.emplace(index, std::move(bytes));
                FChanged.notify_all();
                // Cleared beside the encoding once the bytes are on their way, rather than by the caller
                // before its next page.
                lock.unlock();
                if (!page.isNull())
                    std::memset(page.bits(), 0xFF, size_t(page.sizeInBytes()));
                lock.lock();
            }
            --FEncoding;
        }
        FFree.push_back(std::move(page));
        FChanged.notify_all();
    }
}

void TPagePipeline::sendPages() {
    std::unique_lock lock(FMutex);
    for (;;) {
        FChanged.wait(lock, [this] { return FStopping || FEncoded.contains(FSent); });
        if (FStopping)
            return;
        const QByteArray bytes = std::move(FEncoded.extract(FSent).mapped());
        std::exception_ptr error;
        if (!failed()) {
            FSending = true;
            lock.unlock();
            try {
                FSend(bytes, FSent);
            } catch (...) {
                error = std::current_exception();
            }
            lock.lock();
            FSending = false;
        }
        if (error && !FError)
            FError = error;
        if (failed())
            FEncoded.clear();
        else
            ++FSent;
        FChanged.notify_all();
    }
}
