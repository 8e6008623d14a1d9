#include "app/job/PagePrinting.h"

#include "app/printing/PageFit.h"
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

// Ends the print document when the page loop ends, however it ends, so the pages drawn so far print.
class EndsDocument {
public:
    explicit EndsDocument(TPrinter& Printer) : FPrinter(Printer) {}
    ~EndsDocument() noexcept(false) {
        if (std::uncaught_exceptions() > 0) {
            try {
                FPrinter.EndDoc();
            } catch (...) {
                // The error already on its way is the one to report.
            }
        } else {
            FPrinter.EndDoc();
        }
    }
    EndsDocument(const EndsDocument&) = delete;
    EndsDocument& operator=(const EndsDocument&) = delete;

private:
    TPrinter& FPrinter;
};

void PrintPage(PDFium::TPdf& Pdf, TPrinter& Printer, int PageNumber) {
    Pdf.SetPageNumber(PageNumber);
    const TPageFit fit =
        FitPage(Printer.PageWidth(), Printer.PageHeight(), Pdf.PageWidth(), Pdf.PageHeight());
    // Rendered in grayscale, so the print system gets one byte a pixel instead of four.
    const QImage page =
        Pdf.RenderPage(0, 0, fit.Width, fit.Height, PDFium::ro0, PDFium::AllRenderOptions, PDFium::clWhite)
            .convertToFormat(QImage::Format_Grayscale8);
    PrintBitmap(Printer, page);
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
    EndsDocument ends(Printer);
    for (int pageNumber = 1; pageNumber <= pageCount; ++pageNumber) {
        if (pageNumber > 1)
            Printer.NewPage();
        QCoreApplication::processEvents();
        PrintPage(Pdf, Printer, pageNumber);
    }
}
