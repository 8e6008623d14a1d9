// The printing interface: the system's printers, the choice of one, and one print document at a time on it.
//
// It sits on QPrinter and QPrinterInfo (CUPS on Linux). The list is read once, when the interface is made, in
// the system's order; positions refer to it. Until a printer is chosen, the current one is the system's
// default printer. Pages are printed on the printer's default paper and at its own default resolution as the
// print system reports it (else the listed resolution closest to 300 dpi), not at Qt's fixed 1200 dpi.
//
// Beginning a document starts its first page; a new page ends the current one and starts the next; ending
// the document ends the last page and hands the document to the print system. The print system hears of
// the document only when its first page is drawn on (or it ends without a page), so that a document
// aborted before then never reaches the printer. When the print system refuses the document (its printer
// has gone, or no print file can be opened) nothing says so at once: the pages drawn go nowhere, and the
// next new page or the end raises "Printer is not currently printing".
#pragma once

#include <QPainter>
#include <QString>
#include <QStringList>

#include <memory>

class QImage;
class QPrinter;

class TPrinter {
public:
    TPrinter();
    // Ends a document that is still open, so that its pages are printed.
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The names of the system's printers, in the system's order.
    const QStringList& Printers() const { return FPrinters; }

    // The position of the current printer in Printers(). Raises EPrinter "There is no default printer
    // currently selected" when none was chosen and the system has no default printer.
    int PrinterIndex() const;
    // Chooses the printer at Index; -1 chooses the system's default printer and raises as PrinterIndex()
    // when there is none. Raises "Printer index out of range" for any other position outside the list.
    void SetPrinterIndex(int Index);

    // The document name that the print queue shows.
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& Title) { FTitle = Title; }

    bool Printing() const { return FPrinting; }
    // Raises "Printing in progress" when a document is already open.
    void BeginDoc();
    // Both raise "Printer is not currently printing" when no document is open.
    void NewPage();
    void EndDoc();
    // Cancels the open document. One on which nothing was drawn never reaches the printer; Qt's print
    // stream may still print pages already drawn. Raises as EndDoc when no document is open.
    void Abort();

    // The printable area of the current printer's page, in device pixels, and its resolution in dots per
    // inch.
    int PageWidth();
    int PageHeight();
    int Resolution();

    // The painter of the current page; its origin is the top-left corner of the printable area.
    QPainter& Canvas();

private:
    int defaultIndex() const;
    QPrinter& device();
    // Hands the open document to the print system when nothing has yet; false when no document is open.
    bool started();

    QStringList FPrinters;
    int FPrinterIndex = -1;
    QString FTitle;
    std::unique_ptr<QPrinter> FDevice;
    QPainter FCanvas;
    bool FPrinting = false;
};

// The position of the first printer whose name has the length of Name and equals it without regard to case,
// by the rules of the user's locale; -1 when there is none.
int FindPrinter(const QStringList& Printers, const QString& Name);

// Draws Bitmap one to one at the top-left corner of the current page. 8-bit grayscale bitmaps go to the print
// system as they are. Nothing is drawn while the printer is not printing.
void PrintBitmap(TPrinter& Printer, const QImage& Bitmap);
