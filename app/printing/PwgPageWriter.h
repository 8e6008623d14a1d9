// Page images written as PWG raster pages into a libcups raster stream: each page the whole sheet, white,
// with the image one to one in the printable area at the image's offset (QImage::offset(), from the area's
// top-left corner; what falls outside the sheet is cut), in 8-bit gray, in 8-bit sRGB for colour, or, for
// printers that take nothing else, in 1-bit black with an ordered dither. On two sides, every second page is
// a back side, turned as the printer asks (pwg-raster-document-sheet-back) and marked so in its header.
#pragma once

#include "app/printing/PwgPageSetup.h"

#include <cups/raster.h>

#include <QByteArray>
#include <QImage>

// The PWG page header of Setup's front sides, or of its back sides; false when libcups knows neither its
// media name nor its type.
bool InitPwgHeader(const TPwgPageSetup& Setup, cups_page_header2_t& Header, bool BackSide = false);

class TPwgPageWriter {
public:
    // Raster is a stream opened for writing in PWG mode; it stays the caller's. The first page written is
    // the document's FirstPage-th, from 0.
    TPwgPageWriter(cups_raster_t* Raster, const TPwgPageSetup& Setup, int FirstPage = 0);

    // Writes one page holding Bitmap, in gray, or in colour for a colour setup; a null image gives a blank
    // page. Raises EPrinter "Printer is not currently printing" when the stream does not take it.
    void WritePage(const QImage& Bitmap);

private:
    void writeLine(const cups_page_header2_t& header, int row);

    cups_raster_t* FRaster;
    TPwgPageSetup FSetup;
    cups_page_header2_t FFront{};
    cups_page_header2_t FBack{};
    int FPages = 0;
    QImage FPage;          // the page image as the sheet takes it: 8-bit gray or RGB888
    QByteArray FSheetLine; // one line of the sheet, 8-bit gray or RGB
    QByteArray FLine;      // that line as the stream takes it
};

// What libcups writes at the start of a PWG raster stream, before its first page.
QByteArray PwgStreamStart();
// The document's Index-th page (from 0) holding Bitmap, as TPwgPageWriter writes it, on its own: the bytes
// that follow the stream's start, or those of the page before.
QByteArray EncodePwgPage(const TPwgPageSetup& Setup, const QImage& Bitmap, int Index);
