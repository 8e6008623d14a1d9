// Long work on the window's thread without holding the window: a step run again and again until it says the
// work is done or a slice of time is up, then again once the event loop has had its turn, so that the window
// repaints and takes input between slices. The engine is only ever called from that one thread.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class TTimeSlices : public QObject {
public:
    // How long one slice may hold the window, in milliseconds: two at work at once, a search and its count,
    // stay within a frame.
    static constexpr int SliceTime = 8;

    explicit TTimeSlices(QObject* Parent = nullptr);

    // Runs Step in slices from the event loop's next turn on, in place of any work before; Step returns
    // false once the work is done.
    void Start(std::function<bool()> Step);
    void Stop();
    bool Running() const { return FTimer.isActive(); }
    // Runs a slice now, as the timer would.
    void RunSlice();

    // Raised after every slice, the last one too (Running is false then).
    std::function<void()> OnSlice;
    // Raised when a step fails; the work stops there.
    std::function<void(const QString& Message)> OnError;

private:
    QTimer FTimer;
    std::function<bool()> FStep;
};
