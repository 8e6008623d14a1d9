// The print stream of our own on CUPS: each page image goes to the print system as a PWG raster page while
// the next page is rendered, in one job on the destination. The job's options are the destination's own
// (a CUPS instance's, the user's lpoptions) with the link's over them, checked against what the destination
// supports; they make the page setup, and those the printer does itself go with the job. Without options the
// pages go on the destination's default paper, one-sided, in gray. Driverless printers take the raster as it
// is; CUPS converts it for every other queue.
#pragma once

#include "app/printing/CupsDestination.h"
#include "app/printing/CupsJob.h"
#include "app/printing/PrintStream.h"
#include "app/printing/PwgPageSetup.h"

#include <QImage>

#include <memory>

class TPageWorker;
class TPwgPageWriter;

class TPwgPrintStream : public TPrintStream {
public:
    TPwgPrintStream(std::unique_ptr<TCupsDestination> Destination, const TOptionValues& LinkOptions = {});
    // Cancels a document that was begun and not ended.
    ~TPwgPrintStream() override;

    int PageWidth() override { return FSetup.PrintableWidth(); }
    int PageHeight() override { return FSetup.PrintableHeight(); }
    int Resolution() override { return FSetup.Resolution; }

    int CopiesToSend() const override { return FPrinterCopies ? 1 : FOptions.Copies; }

    bool Begin(const QString& Title) override;
    void Draw(const QImage& Bitmap) override;
    void NewPage() override;
    void End() override;
    void Abort() override;
    QString Refusal() const override { return FJob.Refusal(); }

private:
    void endPage();
    void close();

    std::unique_ptr<TCupsDestination> FDestination;
    TPwgPageSetup FSetup;
    TCupsJob FJob;
    std::unique_ptr<TPwgPageWriter> FWriter;
    std::unique_ptr<TPageWorker> FWorker;
    QImage FPage; // the page as the raster takes it; the worker hands back the one it has sent
    bool FPageDrawn = false;
    bool FPrinterCopies = false; // the printer makes the copies itself
};
