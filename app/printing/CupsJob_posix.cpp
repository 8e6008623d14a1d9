#include "app/printing/CupsJob.h"

#include "app/printing/EPrinter.h"
#include "app/printing/LeftJobs.h"
#include "app/printing/PrintSystemReach.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <iterator>

namespace {

// The job is asked after every poll interval, which grows from the first to the last, so that a short job is
// seen done at once and a long one is not asked twice every 20 ms.
constexpr int FirstPollMs = 20;
constexpr int LastPollMs = 250;

// The state of a printer or a job as the print system reports it, with its message.
struct TCupsState {
    ipp_status_t Status = IPP_STATUS_OK;
    bool Found = false;
    int State = 0;
    QString Message;
    int Completed = 0; // the sheets and impressions that a job reports done
    // A printer's: its reasons tell of nothing wrong, such as a paper jam; and whether the print system
    // waits for it to finish a job that it holds whole.
    bool Untroubled = false;
    bool HoldsJob = false;
    QString Error; // the print system's words when the query failed

    bool operator==(const TCupsState&) const = default;
};

QString lastCupsError() {
    return QString::fromUtf8(cupsLastErrorString());
}

// Whether the printer state reasons tell of nothing that keeps the printer from printing.
bool untroubled(ipp_attribute_t* reasons) {
    for (int i = 0; i < ippGetCount(reasons); ++i) {
        const QLatin1StringView reason(ippGetString(reasons, i, nullptr));
        if (reason.endsWith(QLatin1StringView("-error")) ||
            reason == QLatin1StringView("connecting-to-device") ||
            reason == QLatin1StringView("offline-report"))
            return false;
    }
    return true;
}

TCupsState queryState(http_t* connection, ipp_op_t operation, const QByteArray& printerUri, int jobId) {
    const bool ofJob = jobId > 0;
    const char* stateName = ofJob ? "job-state" : "printer-state";
    const char* messageName = ofJob ? "job-printer-state-message" : "printer-state-message";
    const char* const jobWanted[] = {stateName, messageName, "job-impressions-completed",
                                     "job-media-sheets-completed"};
    const char* const printerWanted[] = {stateName, messageName, "printer-state-reasons"};

    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri.constData());
    if (ofJob)
        ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", jobId);
    if (ofJob)
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      std::size(jobWanted), nullptr, jobWanted);
    else
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      std::size(printerWanted), nullptr, printerWanted);
    ipp_t* response = cupsDoRequest(connection, request, ofJob ? "/jobs/" : "/");

    TCupsState state;
    state.Status = cupsLastError();
    state.Error = lastCupsError();
    if (response && ippGetStatusCode(response) <= IPP_STATUS_OK_EVENTS_COMPLETE) {
        if (ipp_attribute_t* value = ippFindAttribute(response, stateName, IPP_TAG_ENUM)) {
            state.Found = true;
            state.State = ippGetInteger(value, 0);
        }
        if (ipp_attribute_t* value = ippFindAttribute(response, messageName, IPP_TAG_TEXT))
            state.Message = QString::fromUtf8(ippGetString(value, 0, nullptr));
        for (const char* counter : {"job-impressions-completed", "job-media-sheets-completed"})
            if (ipp_attribute_t* value = ippFindAttribute(response, counter, IPP_TAG_INTEGER))
                state.Completed += ippGetInteger(value, 0);
        if (ipp_attribute_t* reasons = ippFindAttribute(response, "printer-state-reasons", IPP_TAG_KEYWORD)) {
            state.Untroubled = untroubled(reasons);
            state.HoldsJob = ippContainsString(reasons, "cups-waiting-for-job-completed");
        }
    }
    ippDelete(response);
    return state;
}

QString withReason(const QString& what, const QString& reason) {
    return reason.isEmpty() ? what : what + QStringLiteral(": ") + reason;
}

QString stoppedMessage(const QString& printer, const QString& reason) {
    return withReason(QStringLiteral("Printer \"%1\" is stopped").arg(printer), reason);
}

} // namespace

TCupsJob::TCupsJob(TCupsDestination& Destination) : FDestination(Destination) {}

TCupsJob::~TCupsJob() {
    if (FOpen)
        Cancel();
}

bool TCupsJob::Start(const QString& Title, const TOptionValues& Attributes, const char* Format) {
    if (!FDestination.Found()) {
        const QString unreachable = PrintSystemUnreachable();
        FRefusal = unreachable.isEmpty() ? lastCupsError() : unreachable;
        return false;
    }
    const TCupsState printer =
        queryState(FDestination.Connection(), IPP_OP_GET_PRINTER_ATTRIBUTES, FDestination.Uri(), 0);
    if (printer.State == IPP_PSTATE_STOPPED) {
        FRefusal = stoppedMessage(FDestination.Name(), printer.Message);
        return false;
    }

    http_t* connection = FDestination.Connection();
    CancelJobsOfEndedRuns(connection);
    const QByteArray title = Title.toUtf8();
    cups_option_t* options = nullptr;
    int count = cupsAddOption(RunAttributeName, ThisRun().constData(), 0, &options);
    for (auto attribute = Attributes.constBegin(); attribute != Attributes.constEnd(); ++attribute)
        count = cupsAddOption(attribute.key().constData(), attribute.value().constData(), count, &options);
    const ipp_status_t created = cupsCreateDestJob(connection, FDestination.Dest(), FDestination.Info(),
                                                   &FJobId, title.constData(), count, options);
    cupsFreeOptions(count, options);
    if (created > IPP_STATUS_OK_EVENTS_COMPLETE) {
        FRefusal = lastCupsError();
        return false;
    }
    FOpen = true;
    FSending = std::make_unique<TTerminationCleanup>(
        [this] { cupsCancelDestJob(CUPS_HTTP_DEFAULT, FDestination.Dest(), FJobId); });
    if (cupsStartDestDocument(connection, FDestination.Dest(), FDestination.Info(), FJobId, title.constData(),
                              Format, 0, nullptr, 1) != HTTP_STATUS_CONTINUE) {
        FRefusal = lastCupsError();
        Cancel();
        return false;
    }
    return true;
}

void TCupsJob::Write(const QByteArray& Bytes) {
    // A print system that takes no more of the document (its spool full, the document larger than it takes)
    // answers the request early; its answer is the reason.
    http_t* connection = FDestination.Connection();
    if (cupsWriteRequestData(connection, Bytes.constData(), size_t(Bytes.size())) == HTTP_STATUS_CONTINUE)
        return;
    http_status_t status = HTTP_STATUS_CONTINUE;
    while (status == HTTP_STATUS_CONTINUE)
        status = httpUpdate(connection);
    if (status >= HTTP_STATUS_BAD_REQUEST)
        throw EPrinter(QString::fromUtf8(httpStatus(status)));
    const QString error = lastCupsError();
    throw EPrinter(error.isEmpty() || cupsLastError() == IPP_STATUS_OK
                       ? QStringLiteral("Printer is not currently printing")
                       : error);
}

void TCupsJob::Finish(int Pages) {
    FOpen = false;
    FSending.reset();
    FPages = Pages;
    // A document that the print system did not take whole leaves no job waiting for the rest of it.
    if (cupsFinishDestDocument(FDestination.Connection(), FDestination.Dest(), FDestination.Info()) >
        IPP_STATUS_OK_EVENTS_COMPLETE) {
        const QString failure = Failure(lastCupsError());
        Cancel();
        throw EPrinter(failure);
    }
    waitForJob();
}

// A job that the print system lost with its destination is told as the destination gone, and one that it lost
// with itself as the print system gone.
QString TCupsJob::Failure(const QString& Text) const {
    if (const QString unreachable = PrintSystemUnreachable(); !unreachable.isEmpty())
        return unreachable;
    const TCupsState printer =
        queryState(FDestination.Connection(), IPP_OP_GET_PRINTER_ATTRIBUTES, FDestination.Uri(), 0);
    return printer.Found ? Text : printer.Error;
}

void TCupsJob::Cancel() {
    FOpen = false;
    FSending.reset();
    if (FJobId <= 0)
        return;
    // The document's request may still be open on the destination's connection; the cancel goes on one of
    // its own, and the open request ends with the connection.
    cupsCancelDestJob(CUPS_HTTP_DEFAULT, FDestination.Dest(), FJobId);
    FJobId = 0;
}

void TCupsJob::waitForJob() {
    http_t* connection = FDestination.Connection();
    const QByteArray uri = FDestination.Uri();
    QDeadlineTimer stall(std::chrono::seconds{StallSeconds});
    QDeadlineTimer quiet(std::chrono::seconds{QuietSeconds});
    int pollMs = FirstPollMs;
    TCupsState lastJob, lastPrinter;
    for (;;) {
        const TCupsState job = queryState(connection, IPP_OP_GET_JOB_ATTRIBUTES, uri, FJobId);
        if (job.State == IPP_JSTATE_COMPLETED)
            return;
        // A job ended with its destination is told as the destination gone.
        const TCupsState printer = queryState(connection, IPP_OP_GET_PRINTER_ATTRIBUTES, uri, 0);
        if (!printer.Found)
            throw EPrinter(Failure(printer.Error));
        if (job.State == IPP_JSTATE_CANCELED)
            throw EPrinter(withReason(QStringLiteral("The print job was canceled"), job.Message));
        if (job.State == IPP_JSTATE_ABORTED)
            throw EPrinter(withReason(QStringLiteral("The print job was aborted"), job.Message));
        // A print system that keeps no history forgets a job as soon as it is done.
        if (!job.Found && job.Status == IPP_STATUS_ERROR_NOT_FOUND)
            return;
        if (!job.Found)
            throw EPrinter(job.Error);
        // A failure means that nothing more prints: a job on a printer stopped under it, which would print
        // in full once the printer is resumed, is cancelled, and the message says so.
        if (printer.State == IPP_PSTATE_STOPPED) {
            Cancel();
            throw EPrinter(stoppedMessage(FDestination.Name(), printer.Message) +
                           QStringLiteral("; the print job was cancelled"));
        }
        // A job stopped by the print system, as when a filter fails, would print when it is restarted: it is
        // cancelled, so that a failure means that nothing more prints.
        if (job.State == IPP_JSTATE_STOPPED) {
            Cancel();
            throw EPrinter(withReason(QStringLiteral("The print job was stopped and cancelled"),
                                      job.Message.isEmpty() ? printer.Message : job.Message));
        }
        if (job.State == IPP_JSTATE_HELD)
            throw EPrinter(
                withReason(QStringLiteral("The print job is held in the print queue"), job.Message));
        // A job that moves on is waited for as long as it takes, and so is one that a printer with nothing
        // wrong works on without a word, up to QuietSeconds: while its filters have not yet counted every
        // page (a driver converting a long document on a busy machine), or while the printer holds the whole
        // job and prints it. One that stands still for StallSeconds otherwise, as behind a printer that
        // cannot be reached or one with a paper jam, is reported and left in the print system's hands.
        const bool busy = job.State == IPP_JSTATE_PROCESSING && printer.State == IPP_PSTATE_PROCESSING &&
                          printer.Untroubled && (printer.HoldsJob || job.Completed < FPages);
        if (job != lastJob || printer != lastPrinter) {
            lastJob = job;
            lastPrinter = printer;
            stall.setRemainingTime(std::chrono::seconds{StallSeconds});
            quiet.setRemainingTime(std::chrono::seconds{QuietSeconds});
        } else if (busy && quiet.hasExpired()) {
            throw EPrinter(QStringLiteral("The print job is still in the print queue: the print system has "
                                          "reported no progress for %1 minutes")
                               .arg(QuietSeconds / 60));
        } else if (busy) {
            stall.setRemainingTime(std::chrono::seconds{StallSeconds});
        } else if (stall.hasExpired()) {
            throw EPrinter(withReason(QStringLiteral("The print job is still in the print queue"),
                                      printer.Message.isEmpty() ? job.Message : printer.Message));
        }
        QCoreApplication::processEvents();
        QThread::msleep(pollMs);
        pollMs = std::min(LastPollMs, pollMs * 3 / 2);
    }
}
