// Page images written as raster pages, in bytes as libcups' raster writer writes them: each page the whole
// sheet, white, with the image one to one in the printable area at the image's offset (QImage::offset(), from
// the area's top-left corner; what falls outside the sheet is cut), in 8-bit gray, in 8-bit sRGB for colour,
// or, for printers that take nothing else, in 1-bit black with an ordered dither. On two sides, every second
// page is a back side, turned as the printer asks (pwg-raster-document-sheet-back) and marked so in its
// header. A raster driver's pages are CUPS raster with its own page header, in the colour space and bits it
// names.
#pragma once

#include "app/printing/PwgPageSetup.h"
#include "app/printing/RasterEncoder.h"

#include <cups/raster.h>

#include <QByteArray>
#include <QImage>

// The PWG page header of Setup's front sides, or of its back sides; false when libcups knows neither its
// media name nor its type.
bool InitPwgHeader(const TPwgPageSetup& Setup, cups_page_header2_t& Header, bool BackSide = false);
// The stream Setup's pages go in: PWG raster, or compressed CUPS raster for a raster driver.
TRasterKind RasterKind(const TPwgPageSetup& Setup);

class TPwgPageWriter {
public:
    // Pages are appended to Out, a stream of Setup's RasterKind() begun with PwgStreamStart(Setup), which
    // must outlive the writer. The first page written is the document's FirstPage-th, from 0.
    TPwgPageWriter(QByteArray& Out, const TPwgPageSetup& Setup, int FirstPage = 0);

    // Writes one page holding Bitmap, in gray, or in colour for a colour setup; a null image gives a blank
    // page.
    void WritePage(const QImage& Bitmap);

private:
    // Writes the sheet's line Row, white all across where White says so.
    void writeLine(TRasterPageEncoder& encoder, const cups_page_header2_t& header, int row, bool white);

    QByteArray& FOut;
    TPwgPageSetup FSetup;
    cups_page_header2_t FFront{};
    cups_page_header2_t FBack{};
    bool FBackUpsideDown = false; // how back sides are turned
    bool FBackMirrored = false;
    int FPages = 0;
    QImage FPage;           // the page image as the sheet takes it: 8-bit gray or RGB888
    QByteArray FSheetLine;  // one line of the sheet, 8-bit gray or RGB
    QByteArray FLine;       // that line as the stream takes it
    QByteArray FThresholds; // the 1-bit dither's thresholds, eight rows of the sheet's width
};

// What a stream of Setup's pages starts with, before its first page.
QByteArray PwgStreamStart(const TPwgPageSetup& Setup = {});
// The document's Index-th page (from 0) holding Bitmap, as TPwgPageWriter writes it, on its own: the bytes
// that follow the stream's start, or those of the page before.
QByteArray EncodePwgPage(const TPwgPageSetup& Setup, const QImage& Bitmap, int Index);
