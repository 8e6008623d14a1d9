// Raster pages encoded in memory, byte for byte as libcups' raster writer writes them, but faster: PWG
// raster for driverless printers, and CUPS raster, plain or compressed, for raster drivers. libcups compares
// every pixel through a call to memcmp; this encoder compares eight bytes at a time.
#pragma once

#include <cups/raster.h>

#include <QByteArray>

// The streams libcups writes, by the mode it is opened with.
enum class TRasterKind {
    Pwg,           // CUPS_RASTER_WRITE_PWG: "RaS2", the PWG header in big-endian order, compressed lines
    Cups,          // CUPS_RASTER_WRITE: "RaS3" in this machine's order, its header as it stands, plain lines
    CupsCompressed // CUPS_RASTER_WRITE_COMPRESSED: "RaS2" in this machine's order, compressed lines
};

// The sync word a stream of Kind starts with, before its first page.
QByteArray RasterStreamStart(TRasterKind Kind);

class TRasterPageEncoder {
public:
    // Appends the page's header to Out, which must outlive the encoder. Raises EPrinter for a header libcups
    // refuses or whose lines cannot be what its sizes say (widths, bits and line lengths that disagree).
    TRasterPageEncoder(TRasterKind Kind, const cups_page_header2_t& Header, QByteArray& Out);

    // Appends the page's next line of cupsBytesPerLine bytes (planar pages take each colour's lines in turn).
    // A compressed line is held until the line after it differs, so that repeats make one record; the last
    // line ends the page, and a page left short of it lacks the lines held, as libcups' does. Raises
    // EPrinter when every line of the page is written already.
    void WriteLine(const uchar* Line);
    // The lines the page still takes.
    unsigned LinesLeft() const { return FLinesLeft; }

private:
    void flush();

    QByteArray& FOut;
    bool FCompressed;
    bool FSwapped;     // 16-bit samples go out in big-endian order (PWG)
    unsigned FBpp;     // bytes per pixel, as runs count them
    qsizetype FLength; // bytes per line
    unsigned FLinesLeft;
    unsigned FRepeats = 0; // lines held in FLine, all the same
    QByteArray FLine;
    QByteArray FSwappedLine;
};
