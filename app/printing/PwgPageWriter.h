// Page images written as PWG raster pages into a libcups raster stream: each page the whole sheet, white,
// with the image one to one at the top-left corner of the printable area, in 8-bit gray or, for printers that
// take nothing else, in 1-bit black with an ordered dither.
#pragma once

#include "app/printing/PwgPageSetup.h"

#include <cups/raster.h>

#include <QByteArray>
#include <QImage>

// The PWG page header of Setup's sheets; false when libcups knows neither its media name nor its type.
bool InitPwgHeader(const TPwgPageSetup& Setup, cups_page_header2_t& Header);

class TPwgPageWriter {
public:
    // Raster is a stream opened for writing in PWG mode; it stays the caller's.
    TPwgPageWriter(cups_raster_t* Raster, const TPwgPageSetup& Setup);

    // Writes one page holding Bitmap; a null image gives a blank page. Raises EPrinter "Printer is not
    // currently printing" when the stream does not take it.
    void WritePage(const QImage& Bitmap);

private:
    void writeLine();

    cups_raster_t* FRaster;
    TPwgPageSetup FSetup;
    cups_page_header2_t FHeader{};
    QImage FPage;     // the page image in 8-bit gray
    QByteArray FGray; // one line of the sheet in 8-bit gray
    QByteArray FLine; // that line as the stream takes it
    int FRow = 0;
};
