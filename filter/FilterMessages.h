// What the filter tells the print system: one line on standard error a message, opened by its kind as CUPS
// reads them (ERROR, INFO, PAGE, DEBUG).
#pragma once

#include <QString>

void Tell(const char* Kind, const QString& Text);
inline void TellError(const QString& Text) {
    Tell("ERROR", Text);
}
