#include "app/printing/PwgPrintStream.h"

#include "app/printing/EPrinter.h"
#include "app/printing/GrayImage.h"
#include "app/printing/PageWorker.h"
#include "app/printing/PwgPageWriter.h"

#include <QImage>

TPwgPrintStream::TPwgPrintStream(std::unique_ptr<TCupsDestination> Destination,
                                 const TOptionValues& LinkOptions)
    : FDestination(std::move(Destination)), FJob(*FDestination) {
    FOptions = ReadPrintOptions(MergeOptions(FDestination->UserOptions(), LinkOptions));
    // A destination that cannot be found refuses the job at its beginning, in the print system's words.
    if (FDestination->Found())
        FDestination->CheckSupported(FOptions);
    FSetup = FDestination->PageSetup(FOptions);
    FPrinterCopies = FOptions.Copies > 1 && FDestination->PrinterCopies() >= FOptions.Copies;
}

TPwgPrintStream::~TPwgPrintStream() {
    if (FWorker)
        Abort();
}

bool TPwgPrintStream::Begin(const QString& Title) {
    // What the printer does itself goes with the job; the pages carry the rest.
    TOptionValues attributes;
    for (const QByteArray& option : PrinterOptionNames())
        if (FOptions.Given.contains(option))
            attributes.insert(option, FOptions.Given.value(option));
    if (FPrinterCopies)
        attributes.insert("copies", QByteArray::number(FOptions.Copies));
    if (!FJob.Start(Title, attributes))
        return false;
    FWriter = std::make_unique<TPwgPageWriter>(FJob.Raster(), FSetup);
    FWorker = std::make_unique<TPageWorker>([this](const QImage& page) { FWriter->WritePage(page); });
    FPageDrawn = false;
    return true;
}

// The page goes on in 8-bit gray, or RGB for colour, converted here while the worker sends the page before:
// that balances the two threads, and the caller keeps its bitmap to render the next page into.
void TPwgPrintStream::Draw(const QImage& Bitmap) {
    if (FPageDrawn)
        throw EPrinter(QStringLiteral("A page takes one image"));
    if (FSetup.Color())
        FPage = Bitmap.format() == QImage::Format_RGB888 ? Bitmap.copy()
                                                         : Bitmap.convertToFormat(QImage::Format_RGB888);
    else
        ToGrayscale(Bitmap, FPage);
    FPage.setOffset(Bitmap.offset());
    submit(FPage);
    FPageDrawn = true;
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
    try {
        FWorker->Submit(Page);
    } catch (const EPrinter& error) {
        throw EPrinter(FJob.Failure(error.Message()));
    }
}

void TPwgPrintStream::NewPage() {
    endPage();
}

void TPwgPrintStream::End() {
    try {
        endPage();
        FWorker->Finish();
    } catch (const EPrinter& error) {
        Abort();
        throw EPrinter(FJob.Failure(error.Message()));
    } catch (...) {
        Abort();
        throw;
    }
    close();
    FJob.Finish();
}

void TPwgPrintStream::Abort() {
    close();
    FJob.Cancel();
}

void TPwgPrintStream::close() {
    FWorker.reset();
    FWriter.reset();
}
