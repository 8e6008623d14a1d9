#include "TimeSlices.h"

#include "pdf/Exception.h"

#include <QElapsedTimer>

TTimeSlices::TTimeSlices(QObject* Parent) : QObject(Parent) {
    FTimer.setInterval(0);
    connect(&FTimer, &QTimer::timeout, this, [this] { RunSlice(); });
}

void TTimeSlices::Start(std::function<bool()> Step) {
    FStep = std::move(Step);
    FTimer.start();
}

void TTimeSlices::Stop() {
    FTimer.stop();
}

void TTimeSlices::RunSlice() {
    if (!Running())
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    QString error;
    try {
        bool more = true;
        while (more && elapsed.elapsed() < SliceTime)
            more = FStep();
        if (!more)
            FTimer.stop();
    } catch (const Exception& failure) {
        FTimer.stop();
        error = failure.Message();
    }
    if (!error.isEmpty() && OnError)
        OnError(error);
    if (OnSlice)
        OnSlice();
}
