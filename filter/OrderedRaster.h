// The filter's output: the pages its workers render, copied to standard output strictly in the job's page
// order, each as it arrives, with the stream's start before the first; the print system is told of every page
// written. A page that failed, or a worker that ended before its pages, ends the output with the reason: no
// later page is written.
#pragma once

struct TFilterJob;
class TPageWorkers;

// Writes the job's pages into Out and returns the filter's exit code: 0 once every page is written and every
// worker has ended well, 1 after an ERROR: line.
int WritePagesInOrder(const TFilterJob& Job, TPageWorkers& Workers, int Out);
