// Jobs that a Kestrova run killed outright left in the print system. A job whose document was on its way
// when its run died stays "job-incoming" until the print system gives up on it, minutes later, holding up
// its queue meanwhile. Each job names its run (the machine and the process) in its kestrova-run attribute;
// the next run cancels the user's incoming jobs whose run no longer exists.
#pragma once

#include <cups/cups.h>

#include <QByteArray>

// The kestrova-run attribute's name, and its value for this process.
inline constexpr char RunAttributeName[] = "kestrova-run";
QByteArray ThisRun();

// Cancels, on Connection, the user's jobs that are still waiting for their document and whose run, on
// this machine, has ended.
void CancelJobsOfEndedRuns(http_t* Connection);
