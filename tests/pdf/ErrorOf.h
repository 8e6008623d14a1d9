// Runs an action and tells which EPdfError it raised, so that tables of cases can compare messages.
#pragma once

#include "pdf/PdfError.h"

#include <QString>

// The message of the EPdfError that Action raised, or "<none>" when it raised nothing.
template <typename Action> QString ErrorOf(Action action) {
    try {
        action();
    } catch (const PDFium::EPdfError& error) {
        return error.Message();
    }
    return QStringLiteral("<none>");
}
