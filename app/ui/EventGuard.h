// The one guard between Qt's event loop and the program: every entry from the loop (the form's creation, a
// click, the timer) runs through it, and an error that leaves the handler is shown in the standard error box
// instead of crossing the loop.
#pragma once

#include "app/ui/MessageBoxes.h"
#include "pdf/Exception.h"

#include <exception>
#include <utility>

namespace EventGuard {

namespace Detail {

inline void Report(const QString& message) noexcept {
    try {
        MessageBoxes::ShowError(message);
    } catch (...) {
        // Nothing is left to report with.
    }
}

} // namespace Detail

// Runs Handler; returns false when it raised an error, which has then been shown.
template <class Handler> bool Run(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const Exception& error) {
        Detail::Report(error.Message());
    } catch (const std::exception& error) {
        Detail::Report(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        Detail::Report(QStringLiteral("Unknown error"));
    }
    return false;
}

} // namespace EventGuard
