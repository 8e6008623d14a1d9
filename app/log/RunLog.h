// The run log: one time-stamped line per print-mode start in the day's file log/YYYYMMDD.log in the
// program's data folder. Writing it never fails for the caller: a line that cannot be written is lost.
// Control characters of the message are written as %XX, so that every message stays one line.
#pragma once

#include <QString>

void WriteLog(const QString& Message) noexcept;
