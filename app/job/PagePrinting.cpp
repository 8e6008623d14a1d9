#include "app/job/PagePrinting.h"

#include "app/job/PageRendering.h"
#include "app/options/PageSelection.h"
#include "app/printing/Printer.h"
#include "pdf/Pdf.h"

#include <QCoreApplication>

namespace {

// Closes the document when printing ends, however it ends.
class ClosesDocument {
public:
    explicit ClosesDocument(PDFium::TPdf& Pdf) : FPdf(Pdf) {}
    ~ClosesDocument() {
        try {
            FPdf.SetActive(false);
        } catch (...) {
            // Closing raises only what an event handler of the component raised; the job's own outcome
            // is what gets reported.
        }
    }
    ClosesDocument(const ClosesDocument&) = delete;
    ClosesDocument& operator=(const ClosesDocument&) = delete;

private:
    PDFium::TPdf& FPdf;
};

// Renders the page into Bitmap and hands its pixels to the printer, which gives back a bitmap of a page sent
// before to render the next page into; one that the printer gives back white is drawn on without clearing it
// first. Without print options, the page is rendered as wide as the printable area and placed at its
// top-left corner.
void PrintPage(PDFium::TPdf& Pdf, TPrinter& Printer, int PageNumber, TPageBitmap& Bitmap) {
    const TPrintOptions& options = Printer.Options();
    RenderPlacedPage(Pdf, PageNumber,
                     {Printer.PageWidth(), Printer.PageHeight(), Printer.Resolution(), options.Scaling,
                      options.Orientation, options.Color, Printer.Margins()},
                     Bitmap);
    Bitmap.White = Printer.DrawTaking(Bitmap.Image);
}

} // namespace

void printPDf(PDFium::TPdf& Pdf, TPrinter& Printer, const QString& PrinterName, const QString& FileName,
              const QString& Caption, const TOptionValues& LinkOptions) {
    Pdf.SetActive(false);
    Pdf.SetFileName(FileName);
    Pdf.SetPageNumber(0);
    ClosesDocument closes(Pdf);
    Pdf.SetActive(true);
    PrintDocument(Pdf, Printer, PrinterName, Caption, LinkOptions);
}

void PrintDocument(PDFium::TPdf& Pdf, TPrinter& Printer, const QString& PrinterName, const QString& Caption,
                   const TOptionValues& Options, const TPageProgress& OnPage) {
    const int pageCount = Pdf.PageCount();
    Printer.SetPrinterIndex(FindJobPrinter(Printer.Printers(), PrinterName));
    Printer.SetOptions(Options);
    const QList<int> pages = PagesToPrint(Printer.Options().PageRanges, pageCount);
    const bool blankBack = Printer.Options().BlankBack(pages.size());
    const bool reverse = Printer.ReverseOrder();
    const int copies = Printer.CopiesToSend();
    const QString title = Pdf.Title();
    Printer.SetTitle(title.isEmpty() ? Caption : title);
    if (Printer.TakesDocument()) {
        Printer.PrintDocument(Pdf, pages);
        if (OnPage)
            OnPage(copies * int(pages.size()), copies * int(pages.size()));
        return;
    }
    Printer.BeginDoc();
    TPageBitmap bitmap;
    int drawn = 0;
    int begun = 0;
    try {
        for (int copy = 1; copy <= copies; ++copy) {
            for (qsizetype side = 0; side < SidesPerCopy(pages, blankBack); ++side) {
                if (begun++ > 0)
                    Printer.NewPage();
                // A blank back is a page begun and left empty.
                const int pageNumber = SideOfCopy(pages, blankBack, reverse, side);
                if (pageNumber == 0)
                    continue;
                QCoreApplication::processEvents();
                PrintPage(Pdf, Printer, pageNumber, bitmap);
                ++drawn;
                if (OnPage)
                    OnPage(drawn, copies * int(pages.size()));
            }
        }
    } catch (...) {
        // The pages drawn so far are printed; with none drawn, the job is cancelled rather than a blank
        // sheet printed. The error on its way is the one to report.
        try {
            if (drawn > 0)
                Printer.EndDoc();
            else
                Printer.Abort();
        } catch (...) {
        }
        throw;
    }
    Printer.EndDoc();
}
