// One print document on one printer, as the printing interface drives it: the options it prints with, the
// page geometry in device pixels, and the document begun, its pages handed over one image each, and ended or
// abandoned.
//
// A stream does not raise when the print system refuses the document at its beginning: Begin() says whether
// it began, and Refusal() keeps the print system's words for the error that the next page or the end raises.
#pragma once

#include "app/options/PrintOptions.h"

#include <QMargins>
#include <QString>

class QImage;
namespace PDFium {
class TPdf;
}

class TPrintStream {
public:
    virtual ~TPrintStream() = default;

    // The options the document prints with, as they apply on this printer.
    const TPrintOptions& Options() const { return FOptions; }
    // How many times the document's pages are to be sent: the copies that the printer does not make itself.
    virtual int CopiesToSend() const { return FOptions.Copies; }
    // Whether each copy goes last page first: the printer stacks its sheets face up and nothing after
    // Kestrova puts them in order.
    virtual bool ReverseOrder() const { return false; }

    // The printable area of the document's paper at Resolution(), in device pixels.
    virtual int PageWidth() = 0;
    virtual int PageHeight() = 0;
    virtual int Resolution() = 0;
    // The printable area's margins on the sheet, in device pixels.
    virtual QMargins Margins() = 0;

    // Begins the document titled Title, with its first page; false when the print system refused it.
    virtual bool Begin(const QString& Title) = 0;
    // Places Bitmap one to one in the printable area of the current page, its top-left corner at the image's
    // offset() from the area's top-left corner; what falls outside the area is cut.
    virtual void Draw(const QImage& Bitmap) = 0;
    // Draws Bitmap as Draw() does, where the stream can take its pixels rather than copy them; Bitmap is
    // then left holding pixels to draw the next page into, or null. True when those pixels are all white, so
    // that the next page needs no clearing.
    virtual bool DrawTaking(QImage& Bitmap) {
        Draw(Bitmap);
        return false;
    }
    // Ends the current page and starts the next.
    virtual void NewPage() = 0;
    // Ends the last page and hands the document over; raises EPrinter when the print system does not take it.
    virtual void End() = 0;
    // Abandons the document so that nothing of it is printed.
    virtual void Abort() = 0;

    // Whether the stream takes the document itself, placed on the sheets as a PDF or as it is, rather than
    // page images.
    virtual bool TakesDocument() const { return false; }
    // Prints Pages of the document open in Pdf, in that order, as one job titled Title, where the stream
    // takes the document; raises EPrinter when the print system does not take it.
    virtual void PrintDocument(PDFium::TPdf& Pdf, const QList<int>& Pages, const QString& Title);

    // Why the print system refused the document, in its own words; empty when it did not say.
    virtual QString Refusal() const = 0;

protected:
    TPrintOptions FOptions;
};
