// The run log: one time-stamped line per print-mode start in the day's file log/YYYYMMDD.log beside the
// executable. Writing it never fails for the caller: a line that cannot be written is lost.
#pragma once

#include <QString>

void WriteLog(const QString& Message) noexcept;
