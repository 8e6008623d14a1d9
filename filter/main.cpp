// kestrova-pdftoraster: Kestrova's renderer as a CUPS filter. It takes a PDF sent as the document format
// application/vnd.kestrova-pdf and writes PWG raster, each page rendered and encoded as the program's own
// page loop does it, with every decision (the sheets, the pages in order, how many times they are sent, the
// blank backs, placement and colour) read from the job's kestrova-... attributes: it decides nothing itself.
// Run as CUPS runs its filters:
//
//   kestrova-pdftoraster job-id user title copies options [file]
//
// the PDF from File or from standard input, the raster on standard output, what the print system is to know
// on standard error. Two processes render side by side, each every second page, while this one writes the
// pages in order (one where there is one processor; KESTROVA_FILTER_WORKERS sets how many). Exit code 0 when
// every page is written; 1 after an ERROR: line.
#include "DocumentFile.h"
#include "FilterMessages.h"
#include "OrderedRaster.h"
#include "PageWorkers.h"
#include "ShareRendering.h"
#include "app/printing/FilterJob.h"

#include <cups/cups.h>

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <exception>
#include <unistd.h>

namespace {

// The job's attributes as CUPS hands them to its filters, in one string.
TOptionValues jobAttributes(const char* options) {
    cups_option_t* parsed = nullptr;
    const int count = cupsParseOptions(options, 0, &parsed);
    TOptionValues attributes;
    for (int index = 0; index < count; ++index)
        attributes.insert(parsed[index].name, parsed[index].value);
    cupsFreeOptions(count, parsed);
    return attributes;
}

// One process a processor, at most two: this process writing the pages takes little of a third.
int workerCount(int pages) {
    bool given = false;
    const int asked = qEnvironmentVariableIntValue("KESTROVA_FILTER_WORKERS", &given);
    const int workers = given && asked > 0 ? asked : std::min(2, QThread::idealThreadCount());
    return std::max(1, std::min(workers, pages));
}

int runFilter(int& argc, char** argv) {
    const TFilterJob job = ReadFilterJob(jobAttributes(argv[5]));
    const TDocumentFile document(argc == 7 ? argv[6] : nullptr);
    // A pipe or an output that the print system has closed is an error to report, not a signal to die of.
    std::signal(SIGPIPE, SIG_IGN);
    const int workers = workerCount(job.SentCount());
    Tell("DEBUG", QStringLiteral("kestrova-pdftoraster: %1 pages in %2 rendering processes")
                      .arg(job.SentCount())
                      .arg(workers));
    // The workers are forked before this process has loaded the engine or made an application object: each
    // loads its own.
    TPageWorkers processes(workers, [&](int worker, int count, int pipe) {
        QCoreApplication application(argc, argv);
        return RenderShare(document.Path(), job, worker, count, pipe);
    });
    return WritePagesInOrder(job, processes, STDOUT_FILENO);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6 || argc > 7) {
        std::fprintf(stderr, "Usage: %s job-id user title copies options [file]\n", argv[0]);
        return 1;
    }
    try {
        return runFilter(argc, argv);
    } catch (const std::exception& error) {
        TellError(QString::fromUtf8(error.what()));
        return 1;
    }
}
