#include "app/job/Termination.h"

// A Windows process is ended without a signal to catch; its download is removed by the next run.
void EndCleanlyOnTermination() {}
