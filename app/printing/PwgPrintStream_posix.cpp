#include "app/printing/PwgPrintStream.h"

#include "app/log/RunLog.h"
#include "app/printing/EPrinter.h"
#include "app/printing/GrayImage.h"
#include "app/printing/PagePipeline.h"
#include "app/printing/PlacedPdf.h"
#include "app/printing/PwgPageWriter.h"
#include "pdf/Pdf.h"

#include <QBuffer>
#include <QFile>

#include <QImage>
#include <QThread>

#include <algorithm>

namespace {

// Encoders for pages of BytesPerPixel: one a processor, while the page images alive, one more than the
// encoders, fit in the memory of two 32-bit page bitmaps.
int encoderCount(int BytesPerPixel) {
    return std::clamp(2 * 4 / BytesPerPixel - 1, 1, QThread::idealThreadCount());
}

// The document format of Setup's raster pages.
const char* rasterFormat(const TPwgPageSetup& Setup) {
    return Setup.CupsRaster() ? "application/vnd.cups-raster" : "image/pwg-raster";
}

// The document open in Pdf saved whole, with what was typed into its form.
QByteArray SavedDocument(PDFium::TPdf& Pdf) {
    QBuffer saved;
    saved.open(QIODevice::WriteOnly);
    Pdf.SaveAs(saved, PDFium::saNoIncremental, PDFium::pvUnknown);
    return saved.buffer();
}

// The document's own bytes: its file as it is, or, for one opened from memory, the document saved whole.
QByteArray DocumentBytes(PDFium::TPdf& Pdf) {
    if (QFile file(Pdf.FileName()); !Pdf.FileName().isEmpty() && file.open(QIODevice::ReadOnly))
        return file.readAll();
    return SavedDocument(Pdf);
}

} // namespace

TPwgPrintStream::TPwgPrintStream(std::unique_ptr<TCupsDestination> Destination,
                                 const TOptionValues& LinkOptions)
    : FDestination(std::move(Destination)), FJob(*FDestination) {
    FOptions = FDestination->JobOptions(MergeOptions(FDestination->UserOptions(), LinkOptions));
    // A destination that cannot be found refuses the job at its beginning, in the print system's words.
    if (FDestination->Found()) {
        FDestination->CheckSupported(FOptions);
        FStream = FDestination->Stream(FOptions);
        const TOptionValues unapplied = FDestination->UnappliedOptions();
        for (auto option = unapplied.constBegin(); option != unapplied.constEnd(); ++option)
            WriteLog(QStringLiteral("The print option %1=%2 of the printer \"%3\" is not applied by Kestrova")
                         .arg(QString::fromUtf8(option.key()), QString::fromUtf8(option.value()),
                              FDestination->Name()));
        const bool raster = FStream == TQueueStream::PwgRaster || FStream == TQueueStream::CupsRaster;
        FViaFilter = raster && FDestination->TakesFormat(FilterJobFormat);
        // A PDF's pages are put in the printer's order by the queue's own filters, as lp's are.
        FReverse = raster && FDestination->ReverseOrder(FOptions);
    }
    FSetup = FDestination->PageSetup(FOptions);
    // A raster driver makes the copies its page header asks for; a PDF's are made by the queue's filters.
    FPrinterCopies = FOptions.Copies > 1 &&
                     (FSetup.CupsRaster() ||
                      (FStream == TQueueStream::Pdf ? FDestination->QueueCopies()
                                                    : FDestination->PrinterCopies()) >= FOptions.Copies);
}

TPwgPrintStream::~TPwgPrintStream() {
    if (FPipeline)
        Abort();
}

TOptionValues TPwgPrintStream::jobAttributes() const {
    TOptionValues attributes;
    for (const QByteArray& option : PrinterOptionNames())
        if (FOptions.Given.contains(option))
            attributes.insert(option, FOptions.Given.value(option));
    if (FPrinterCopies && !FSetup.CupsRaster())
        attributes.insert("copies", QByteArray::number(FOptions.Copies));
    return attributes;
}

TFilterJob TPwgPrintStream::filterJob(const QList<int>& Pages) const {
    TFilterJob job;
    job.Setup = FSetup;
    job.Pages = Pages;
    job.Copies = CopiesToSend();
    job.BlankBack = FOptions.BlankBack(Pages.size());
    job.Reverse = FReverse;
    job.Scaling = FOptions.Scaling;
    job.Orientation = FOptions.Orientation;
    job.Color = FOptions.Color;
    return job;
}

void TPwgPrintStream::PrintDocument(PDFium::TPdf& Pdf, const QList<int>& Pages, const QString& Title) {
    if (!TakesDocument())
        return TPrintStream::PrintDocument(Pdf, Pages, Title);
    QByteArray document;
    TOptionValues attributes;
    const char* format = "application/pdf";
    if (FViaFilter && Pages.isEmpty()) {
        // A document without pages prints one empty sheet, which needs no renderer.
        document = PwgStreamStart(FSetup) + EncodePwgPage(FSetup, QImage(), 0);
        attributes = jobAttributes();
        format = rasterFormat(FSetup);
    } else if (FViaFilter) {
        // The filter renders what was typed into the document's form too.
        document = SavedDocument(Pdf);
        attributes = MergeOptions(jobAttributes(), FilterJobAttributes(filterJob(Pages)));
        format = FilterJobFormat;
    } else if (FStream == TQueueStream::Raw) {
        // The device takes what it is sent, as from lp: the document as it is, with nothing of Kestrova's.
        WriteLog(QStringLiteral("The printer \"%1\" is a raw queue: the document goes to it as it is, its "
                                "placement and options left to the printer")
                     .arg(FDestination->Name()));
        document = DocumentBytes(Pdf);
        format = "application/octet-stream";
    } else {
        document = PlacePdfPages(Pdf, Pages, FSetup, FOptions);
        attributes = jobAttributes();
        // The sheets are the printer's own, placed already; pages in gray unless colour was asked for, as
        // the page images would be.
        attributes.insert("print-scaling", "none");
        if (!FOptions.Color)
            attributes.insert("print-color-mode", "monochrome");
    }
    if (!FJob.Start(Title, attributes, format))
        throw EPrinter(FJob.Refusal().isEmpty() ? QStringLiteral("Printer is not currently printing")
                                                : FJob.Refusal());
    try {
        FJob.Write(document);
    } catch (const EPrinter& error) {
        FJob.Cancel();
        throw EPrinter(FJob.Failure(error.Message()));
    }
    FJob.Finish(std::max(1, int(Pages.size())));
}

bool TPwgPrintStream::Begin(const QString& Title) {
    // What the printer does itself goes with the job; the pages carry the rest.
    if (!FJob.Start(Title, jobAttributes(), rasterFormat(FSetup)))
        return false;
    FPipeline = std::make_unique<TPagePipeline>(
        encoderCount(FSetup.Color() ? 3 : 1),
        [this](const QImage& page, int index) { return EncodePwgPage(FSetup, page, index); },
        [this](const QByteArray& bytes, int index) {
            if (index == 0)
                FJob.Write(PwgStreamStart(FSetup));
            FJob.Write(bytes);
        });
    FPageDrawn = false;
    FPagesSent = 0;
    return true;
}

// The page goes on in 8-bit gray, or RGB for colour, converted here while the encoders encode the pages
// before. A bitmap in those pixels already is shared with the caller, whose next drawing into it copies it.
void TPwgPrintStream::Draw(const QImage& Bitmap) {
    if (FSetup.Color())
        FPage = Bitmap.convertToFormat(QImage::Format_RGB888);
    else
        ToGrayscale(Bitmap, FPage);
    FPage.setOffset(Bitmap.offset());
    submit(FPage);
}

// A bitmap in the pixels that are sent goes to the encoders as it is, and the caller gets one of theirs back,
// white, to draw into: no page is copied or cleared on the caller's thread.
bool TPwgPrintStream::DrawTaking(QImage& Bitmap) {
    if (Bitmap.format() != (FSetup.Color() ? QImage::Format_RGB888 : QImage::Format_Grayscale8)) {
        Draw(Bitmap);
        return false;
    }
    submit(Bitmap);
    return !Bitmap.isNull();
}

// A page on which nothing was drawn is printed blank.
void TPwgPrintStream::endPage() {
    if (!FPageDrawn) {
        QImage blank;
        submit(blank);
    }
    FPageDrawn = false;
}

void TPwgPrintStream::submit(QImage& Page) {
    if (FPageDrawn)
        throw EPrinter(QStringLiteral("A page takes one image"));
    try {
        FPipeline->Submit(Page);
        ++FPagesSent;
    } catch (const EPrinter& error) {
        throw EPrinter(FJob.Failure(error.Message()));
    }
    FPageDrawn = true;
}

void TPwgPrintStream::NewPage() {
    endPage();
}

void TPwgPrintStream::End() {
    try {
        endPage();
        FPipeline->Finish();
    } catch (const EPrinter& error) {
        Abort();
        throw EPrinter(FJob.Failure(error.Message()));
    } catch (...) {
        Abort();
        throw;
    }
    close();
    FJob.Finish(FPagesSent);
}

void TPwgPrintStream::Abort() {
    close();
    FJob.Cancel();
}

void TPwgPrintStream::close() {
    FPipeline.reset();
}
