// The print stream of our own on CUPS, in the stream the queue's driver takes. Page images are encoded as PWG
// raster pages for a driverless printer, or as CUPS raster pages for a raster driver at its own resolution,
// on worker threads, side by side, while the next page is rendered, and go to the print system in order, in
// one job on the destination. Where the print system has Kestrova's own filter, a driverless printer's job
// takes the document instead, with every decision as job attributes, and the filter renders it inside the
// print system, its raster streaming to the printer while later pages render. A PostScript or PDF queue takes
// the document itself, its pages placed on the sheets as a PDF; a raw queue takes the document as it is. The
// job's options are the destination's own (the queue's defaults, a CUPS instance's, the user's lpoptions)
// with the link's over them, checked against what the destination supports; they make the page setup, and
// those the printer does itself go with the job. Without options the pages go on the destination's default
// paper, one-sided, in gray.
#pragma once

#include "app/printing/CupsDestination.h"
#include "app/printing/CupsJob.h"
#include "app/printing/FilterJob.h"
#include "app/printing/PrintStream.h"
#include "app/printing/PwgPageSetup.h"

#include <QImage>

#include <memory>

class TPagePipeline;

class TPwgPrintStream : public TPrintStream {
public:
    TPwgPrintStream(std::unique_ptr<TCupsDestination> Destination, const TOptionValues& LinkOptions = {});
    // Cancels a document that was begun and not ended.
    ~TPwgPrintStream() override;

    int PageWidth() override { return FSetup.PrintableWidth(); }
    int PageHeight() override { return FSetup.PrintableHeight(); }
    int Resolution() override { return FSetup.Resolution; }
    QMargins Margins() override { return FSetup.Margins(); }

    int CopiesToSend() const override { return FPrinterCopies ? 1 : FOptions.Copies; }
    bool ReverseOrder() const override { return FReverse; }

    bool TakesDocument() const override {
        return FViaFilter || FStream == TQueueStream::Pdf || FStream == TQueueStream::Raw;
    }
    void PrintDocument(PDFium::TPdf& Pdf, const QList<int>& Pages, const QString& Title) override;

    bool Begin(const QString& Title) override;
    void Draw(const QImage& Bitmap) override;
    bool DrawTaking(QImage& Bitmap) override;
    void NewPage() override;
    void End() override;
    void Abort() override;
    QString Refusal() const override { return FJob.Refusal(); }

private:
    // What the printer does itself, as job attributes: the options it carries out and the copies it makes.
    TOptionValues jobAttributes() const;
    // The decisions Kestrova's filter renders Pages by.
    TFilterJob filterJob(const QList<int>& Pages) const;
    void endPage();
    // Hands Page to the encoders; a page the print system did not take is told as the job says.
    void submit(QImage& Page);
    void close();

    std::unique_ptr<TCupsDestination> FDestination;
    TQueueStream FStream = TQueueStream::PwgRaster;
    bool FViaFilter = false; // the PWG raster is made by Kestrova's filter in the print system
    TPwgPageSetup FSetup;
    TCupsJob FJob;
    std::unique_ptr<TPagePipeline> FPipeline;
    QImage FPage; // the page as the raster takes it; the encoders hand back one they have encoded
    bool FPageDrawn = false;
    int FPagesSent = 0;
    bool FPrinterCopies = false; // the printer makes the copies itself
    bool FReverse = false;       // each copy goes last page first
};
