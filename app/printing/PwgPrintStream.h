// The print stream of our own on CUPS: each page image goes to the print system as a PWG raster page while
// the next page is rendered, in one job on the destination, with the page setup the destination prints by
// default. Driverless printers take it as it is; CUPS converts it for every other queue.
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
    explicit TPwgPrintStream(std::unique_ptr<TCupsDestination> Destination);
    // Cancels a document that was begun and not ended.
    ~TPwgPrintStream() override;

    int PageWidth() override { return FSetup.PrintableWidth(); }
    int PageHeight() override { return FSetup.PrintableHeight(); }
    int Resolution() override { return FSetup.Resolution; }

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
    QImage FGray; // the page in 8-bit gray; the worker hands back the one it has sent
    bool FPageDrawn = false;
};
