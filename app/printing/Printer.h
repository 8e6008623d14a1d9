// The printing interface: the system's printers, the choice of one, and one print document at a time on it.
//
// The list of printers comes from the print system (ReadPrinterList), read once, when the interface is made,
// in the system's order; positions refer to it. Until a printer is chosen, the current one is the system's
// default printer. Pages
// go to the printer through its print stream (OpenPrintStream): on its default paper, at its own default
// resolution as the print system reports it, not at Qt's fixed 1200 dpi.
//
// Beginning a document starts its first page; a new page ends the current one and starts the next; ending
// the document ends the last page and hands the document to the print system. When the print system refuses
// the document (its printer has gone or is stopped, it takes no jobs) beginning does not say so: the pages
// drawn go nowhere, and the next new page or the end raises the print system's reason, or "Printer is not
// currently printing" where it gives none.
#pragma once

#include "app/options/PrintOptions.h"
#include "app/printing/PrinterList.h"

#include <QMargins>
#include <QString>
#include <QStringList>

#include <memory>

class QImage;
class TPrintStream;
namespace PDFium {
class TPdf;
}

class TPrinter {
public:
    TPrinter();
    // Abandons a document that is still open.
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The names of the system's printers, in the system's order.
    const QStringList& Printers() const { return FPrinters.Names; }

    // The position of the current printer in Printers(). Raises EPrinter when none was chosen and the
    // system has no default printer: "There is no default printer currently selected", or what is missing
    // (the print system, or the printer that the user's default names).
    int PrinterIndex() const;
    // Chooses the printer at Index; -1 chooses the system's default printer and raises as PrinterIndex()
    // when there is none. Raises "Printer index out of range" for any other position outside the list.
    void SetPrinterIndex(int Index);

    // The print options a link gives the document, over the printer's own; they take effect with the next
    // use of the printer, which raises EPrinter for one that is malformed or that the printer does not
    // support.
    void SetOptions(const TOptionValues& LinkOptions);
    // The options the document prints with on the current printer.
    const TPrintOptions& Options();
    // How many times the document's pages are to be sent: the copies that the printer does not make itself.
    int CopiesToSend();
    // Whether each copy goes last page first (TPrintStream).
    bool ReverseOrder();

    // The document name that the print queue shows.
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& Title) { FTitle = Title; }

    // Whether the current printer takes the document itself rather than page images (TPrintStream).
    bool TakesDocument();
    // Prints Pages of the document open in Pdf as one job titled Title(), where the printer takes the
    // document; raises "Printing in progress" when a document of page images is open.
    void PrintDocument(PDFium::TPdf& Pdf, const QList<int>& Pages);

    bool Printing() const { return FPrinting; }
    // Raises "Printing in progress" when a document is already open.
    void BeginDoc();
    // Both raise "Printer is not currently printing" when no document is open.
    void NewPage();
    void EndDoc();
    // Abandons the open document, so that nothing of it is printed; nothing happens when none is open.
    void Abort();

    // The printable area of the current printer's page, in device pixels, and its resolution in dots per
    // inch.
    int PageWidth();
    int PageHeight();
    int Resolution();
    // The printable area's margins on the current printer's sheet, in device pixels.
    QMargins Margins();

    // Places Bitmap one to one in the printable area of the current page, at the image's offset() from the
    // area's top-left corner. Nothing is drawn while the printer is not printing.
    void Draw(const QImage& Bitmap);
    // Draws Bitmap as Draw() does, taking its pixels where the print stream can; Bitmap is then left holding
    // pixels to draw the next page into, or null. True when those pixels are all white.
    bool DrawTaking(QImage& Bitmap);

private:
    int defaultIndex() const;
    TPrintStream& stream();
    [[noreturn]] void notPrinting() const;

    TPrinterList FPrinters;
    int FPrinterIndex = -1;
    QString FTitle;
    TOptionValues FLinkOptions;
    std::unique_ptr<TPrintStream> FStream;
    bool FPrinting = false;
};

// The position of the first printer whose name has the length of Name and equals it without regard to case,
// by the rules of the user's locale; -1 when there is none.
int FindPrinter(const QStringList& Printers, const QString& Name);
// The printer a job for Name goes to, as lp -d takes it: Name's position, or, for a CUPS instance
// "Queue/instance" that does not exist, its queue's, with the queue's own options; -1 when there is neither.
int FindJobPrinter(const QStringList& Printers, const QString& Name);

// Draws Bitmap one to one at the top-left corner of the current page (TPrinter::Draw).
void PrintBitmap(TPrinter& Printer, const QImage& Bitmap);
