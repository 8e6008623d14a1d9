// What a printing action raises: the message of its EPrinter, or nothing when it succeeds.
#pragma once

#include "app/printing/EPrinter.h"

#include <QString>

#include <functional>
#include <optional>

inline std::optional<QString> failure(const std::function<void()>& action) {
    try {
        action();
    } catch (const EPrinter& error) {
        return error.Message();
    }
    return std::nullopt;
}
