#include "app/job/PagePrinting.h"

#include "app/printing/PageFit.h"
#include "app/printing/Printer.h"
#include "pdf/Pdf.h"

#include <QCoreApplication>
#include <QImage>

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

// Renders the page into Bitmap, which serves every page of the job: a fresh bitmap of a page's size for each
// page would cost more than the rendering itself. The page is rendered in grayscale, so the print stream
// sends it as 8-bit gray pixels, a quarter of the 32 bits rendered.
void PrintPage(PDFium::TPdf& Pdf, TPrinter& Printer, int PageNumber, QImage& Bitmap) {
    Pdf.SetPageNumber(PageNumber);
    const TPageFit fit =
        FitPage(Printer.PageWidth(), Printer.PageHeight(), Pdf.PageWidth(), Pdf.PageHeight());
    Pdf.RenderPage(&Bitmap, 0, 0, fit.Width, fit.Height, PDFium::ro0, PDFium::AllRenderOptions,
                   PDFium::clWhite);
    PrintBitmap(Printer, Bitmap);
}

} // namespace

void printPDf(PDFium::TPdf& Pdf, TPrinter& Printer, const QString& PrinterName, const QString& FileName,
              const QString& Caption) {
    Pdf.SetActive(false);
    Pdf.SetFileName(FileName);
    Pdf.SetPageNumber(0);
    ClosesDocument closes(Pdf);
    Pdf.SetActive(true);

    const int pageCount = Pdf.PageCount();
    Printer.SetPrinterIndex(FindPrinter(Printer.Printers(), PrinterName));
    const QString title = Pdf.Title();
    Printer.SetTitle(title.isEmpty() ? Caption : title);
    Printer.BeginDoc();
    QImage bitmap;
    int drawn = 0;
    try {
        for (int pageNumber = 1; pageNumber <= pageCount; ++pageNumber) {
            if (pageNumber > 1)
                Printer.NewPage();
            QCoreApplication::processEvents();
            PrintPage(Pdf, Printer, pageNumber, bitmap);
            ++drawn;
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
