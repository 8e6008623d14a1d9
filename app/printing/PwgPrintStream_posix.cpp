#include "app/printing/PwgPrintStream.h"

#include "app/printing/EPrinter.h"
#include "app/printing/GrayImage.h"
#include "app/printing/PageWorker.h"
#include "app/printing/PwgPageWriter.h"

#include <QImage>

TPwgPrintStream::TPwgPrintStream(std::unique_ptr<TCupsDestination> Destination)
    : FDestination(std::move(Destination)), FSetup(FDestination->PageSetup()), FJob(*FDestination) {}

TPwgPrintStream::~TPwgPrintStream() {
    if (FWorker)
        Abort();
}

bool TPwgPrintStream::Begin(const QString& Title) {
    if (!FJob.Start(Title))
        return false;
    FWriter = std::make_unique<TPwgPageWriter>(FJob.Raster(), FSetup);
    FWorker = std::make_unique<TPageWorker>([this](const QImage& page) { FWriter->WritePage(page); });
    FPageDrawn = false;
    return true;
}

// The page goes on in 8-bit gray, converted here while the worker sends the page before: that balances the
// two threads, and the caller keeps its bitmap to render the next page into.
void TPwgPrintStream::Draw(const QImage& Bitmap) {
    if (FPageDrawn)
        throw EPrinter(QStringLiteral("A page takes one image"));
    ToGrayscale(Bitmap, FGray);
    FWorker->Submit(FGray);
    FPageDrawn = true;
}

// A page on which nothing was drawn is printed blank.
void TPwgPrintStream::endPage() {
    if (!FPageDrawn) {
        QImage blank;
        FWorker->Submit(blank);
    }
    FPageDrawn = false;
}

void TPwgPrintStream::NewPage() {
    endPage();
}

void TPwgPrintStream::End() {
    try {
        endPage();
        FWorker->Finish();
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
