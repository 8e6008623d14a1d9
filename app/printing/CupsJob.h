// One print job on a CUPS destination that holds one document (PWG or CUPS raster, or a PDF), streamed to the
// print system as it is written, and followed until the print system has done with it.
//
// What the print system says is seen: a job it refuses to create, a document it refuses at the hand-over, a
// destination that is stopped or has gone, a job that ends aborted or canceled. Each is told in the print
// system's own words.
#pragma once

#include "app/job/Termination.h"
#include "app/options/PrintOptions.h"
#include "app/printing/CupsDestination.h"

#include <QString>

#include <memory>

class TCupsJob {
public:
    explicit TCupsJob(TCupsDestination& Destination);
    // Cancels a job that was started and neither finished nor cancelled.
    ~TCupsJob();
    TCupsJob(const TCupsJob&) = delete;
    TCupsJob& operator=(const TCupsJob&) = delete;

    // Creates the job titled Title with the job attributes Attributes (sides, media, copies, ...) and starts
    // its document, of the MIME type Format; false, with Refusal() saying why, when the print system refuses
    // either or the destination is stopped.
    bool Start(const QString& Title, const TOptionValues& Attributes = {},
               const char* Format = "image/pwg-raster");
    const QString& Refusal() const { return FRefusal; }

    // Sends the document's next bytes, between Start() and Finish(); raises EPrinter "Printer is not
    // currently printing" when the print system does not take them.
    void Write(const QByteArray& Bytes);

    // Ends the document, which holds Pages pages, and waits until the print system has done with the job.
    // Raises EPrinter when the document is refused, the job ends aborted or canceled or is held, the
    // destination stops or goes away, or the job stands still for StallSeconds, or for QuietSeconds while
    // the queue's filters have not counted every page or the printer holds the whole job (the job then stays
    // in the print queue).
    void Finish(int Pages);
    // Cancels the job, so that nothing of it is printed.
    void Cancel();

    // What to say of a failure whose own words are Text: that the print system cannot be reached, that the
    // destination has gone, or Text.
    QString Failure(const QString& Text) const;

    static constexpr int StallSeconds = 20;
    static constexpr int QuietSeconds = 120;

private:
    void waitForJob();

    TCupsDestination& FDestination;
    int FJobId = 0;
    QString FRefusal;
    int FPages = 0;     // of the document, once it is ended
    bool FOpen = false; // started, neither finished nor cancelled
    // While the document is on its way, a run ended by a signal cancels the job, which would otherwise
    // wait in the queue for the rest of a document that never comes.
    std::unique_ptr<TTerminationCleanup> FSending;
};
