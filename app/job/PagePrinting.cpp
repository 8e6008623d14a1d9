#include "app/job/PagePrinting.h"

#include "app/options/PageSelection.h"
#include "app/printing/PagePlacement.h"
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

// The options of a colour page: all thirteen but gray.
constexpr PDFium::TRenderOptions ColorRenderOptions{
    PDFium::reAnnotations,      PDFium::reLcd,          PDFium::reNoNativeText,  PDFium::reDebugInfo,
    PDFium::reNoCatchException, PDFium::reLimitCache,   PDFium::reHalftone,      PDFium::rePrinting,
    PDFium::reReverseByteOrder, PDFium::reNoSmoothText, PDFium::reNoSmoothImage, PDFium::reNoSmoothPath};

// A bitmap to render pages into, and whether it is white already.
struct TPageBitmap {
    QImage Image;
    bool White = false;
};

// Renders the page into Bitmap and hands its pixels to the printer, which gives back a bitmap of a page sent
// before to render the next page into: a fresh bitmap of a page's size for each page would cost more than
// the rendering itself, and one that the printer gives back white is drawn on without clearing it first.
// Without print options, the page is rendered as wide as the printable area and placed at its top-left
// corner; straight into the pixels that the print stream sends, 8-bit gray or RGB for colour.
void PrintPage(PDFium::TPdf& Pdf, TPrinter& Printer, int PageNumber, TPageBitmap& Bitmap) {
    Pdf.SetPageNumber(PageNumber);
    const TPrintOptions& options = Printer.Options();
    const TPagePlacement place =
        PlacePage(Printer.PageWidth(), Printer.PageHeight(), Printer.Resolution(), Pdf.PageWidth(),
                  Pdf.PageHeight(), options.Scaling, options.Orientation);
    const QImage::Format format = options.Color ? QImage::Format_RGB888 : QImage::Format_Grayscale8;
    QImage& image = Bitmap.Image;
    if (image.format() != format) {
        image = QImage(place.Width, place.Height, format);
        Bitmap.White = false;
    }
    Pdf.RenderPage(&image, 0, 0, place.Width, place.Height, place.Rotation,
                   options.Color ? ColorRenderOptions : PDFium::AllRenderOptions,
                   Bitmap.White ? PDFium::clNone : PDFium::clWhite);
    image.setOffset(QPoint(place.X, place.Y));
    Bitmap.White = Printer.DrawTaking(image);
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
    // On two sides, every copy starts on a sheet of its own: an odd page count gets a blank back.
    const bool blankBack = Printer.Options().TwoSided() && pages.size() % 2 == 1;
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
    try {
        for (int copy = 1; copy <= copies; ++copy) {
            for (const int pageNumber : pages) {
                if (drawn > 0)
                    Printer.NewPage();
                QCoreApplication::processEvents();
                PrintPage(Pdf, Printer, pageNumber, bitmap);
                ++drawn;
                if (OnPage)
                    OnPage(drawn, copies * int(pages.size()));
            }
            if (blankBack)
                Printer.NewPage();
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
