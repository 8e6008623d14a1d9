// A CUPS queue's PPD, read as CUPS's own filters read it: which stream its driver takes from Kestrova, its
// default resolution, its sheet, and a raster driver's page header for a job's options.
//
// The stream follows the driver: a driverless printer's queue passes PWG raster on as it is; a raster driver
// (rastertolabel, rastertohp, hpcups, gutenprint...) takes CUPS raster at its own resolution and raster type,
// so that only the driver runs; every other driver (PostScript, PDF, a raster driver whose pixels Kestrova
// does not write) takes the PDF, placed on its sheets as a PDF, and converts it as it converts `lp`'s; a
// queue without a PPD is raw and takes the PDF as it is.
#pragma once

#include "app/options/PrintOptions.h"

#include <cups/cups.h>
#include <cups/raster.h>

#include <QByteArray>

#include <optional>

typedef struct ppd_file_s ppd_file_t;

enum class TQueueStream { PwgRaster, CupsRaster, Pdf, Raw };

// A sheet as a PPD gives it, in points: its size and the imageable area's edges from its lower-left corner.
struct TPpdSheet {
    double Width = 0;
    double Length = 0;
    double Left = 0;
    double Bottom = 0;
    double Right = 0;
    double Top = 0;
};

// Whether an output order as CUPS names it ("Reverse", "reverse-order"; "Normal", "same-order") is reversed.
bool IsReverseOrder(const QByteArray& Order);

class TQueuePpd {
public:
    // Fetches the PPD of Queue from the print system on Connection; a queue without one has none.
    TQueuePpd(http_t* Connection, const QByteArray& Queue);
    ~TQueuePpd();
    TQueuePpd(const TQueuePpd&) = delete;
    TQueuePpd& operator=(const TQueuePpd&) = delete;

    bool Found() const { return FPpd != nullptr; }

    // Marks the PPD's defaults, then Options over them: IPP names (media, sides, print-color-mode,
    // printer-resolution...) are mapped to the PPD's own as libcups maps them, and PPD names (PageSize,
    // Duplex, InputSlot...) are taken as they are.
    void Mark(const TOptionValues& Options);

    // The stream the queue's driver takes, for the options marked last.
    TQueueStream Stream() const;
    // The marked resolution in dots per inch (the larger of two that differ), or the PPD's
    // DefaultResolution; 0 when it names none.
    int Resolution() const;
    // The marked sheet; none when the PPD gives no size.
    std::optional<TPpdSheet> Sheet() const;
    // A raster driver's page header for the options marked last, as its filters would make it
    // (cupsRasterInterpretPPD); none when the PPD's code does not make one that Kestrova writes: 1-bit or
    // 8-bit gray or black, or 8-bit RGB, chunky, at the same resolution both ways.
    std::optional<cups_page_header2_t> RasterHeader() const;
    // The marked choice of the PPD option Option; empty where the PPD has no such option.
    QByteArray MarkedChoice(const char* Option) const;
    // How the driver wants the back side of a two-sided sheet turned, as PWG names it ("normal", "flipped",
    // "rotated", "manual-tumble"), from the PPD's cupsBackSide.
    QByteArray BackSide() const;
    // Whether the driver's printer stacks its sheets face up, for the options marked last, as CUPS's pdftopdf
    // reads it: the marked OutputOrder, else the PageStackOrder of the marked OutputBin, else the PPD's
    // DefaultOutputOrder.
    bool ReverseOrder() const;

private:
    bool takesFrom(const char* Format) const;

    QByteArray FPath;
    ppd_file_t* FPpd = nullptr;
    TOptionValues FMarked;
};
