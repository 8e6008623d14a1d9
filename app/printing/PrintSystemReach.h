// Whether the print system answers at all, so that a failure says which part failed: the print system, or the
// printer and its job.
#pragma once

#include <QString>

// "The print system cannot be reached at "SERVER"" when no connection to it can be made; empty when it
// answers.
QString PrintSystemUnreachable();
