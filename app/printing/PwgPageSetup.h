// The sheets of a raster document: the paper by its PWG name and the tray it comes from, the resolution,
// the colour space, the sides printed with the turn the printer wants of back sides, and the sheet and its
// margins in device pixels. PWG raster pages are the whole sheet; what is printed sits inside the margins,
// the printable area. A raster driver's pages are CUPS raster with the page header its PPD gives, and cover
// only its imageable area: the sheet here is that area, without margins.
#pragma once

#include <cups/raster.h>

#include <QByteArray>
#include <QMargins>
#include <QRect>

#include <optional>

struct TPwgPageSetup {
    QByteArray Media = "na_letter_8.5x11in"; // PWG self-describing media name
    int MediaPosition = 0;                   // the tray as PWG numbers it; 0 for the printer's choice
    int Resolution = 300;                    // dots per inch, both ways
    // "sgray_8", "black_1" for printers that take no gray, or "srgb_8" for colour
    QByteArray Type = "sgray_8";
    QByteArray Sides = "one-sided";  // or "two-sided-long-edge", "two-sided-short-edge"
    QByteArray SheetBack = "normal"; // the printer's pwg-raster-document-sheet-back
    int SheetWidth = 2550;           // the whole sheet, in device pixels
    int SheetHeight = 3300;
    int Left = 0; // margins, in device pixels
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    // A raster driver's page header (cupsRasterInterpretPPD), whose colour space and bits the pages take;
    // none for PWG raster.
    std::optional<cups_page_header2_t> DriverHeader;

    QMargins Margins() const { return {Left, Top, Right, Bottom}; }
    int PrintableWidth() const { return SheetWidth - Left - Right; }
    int PrintableHeight() const { return SheetHeight - Top - Bottom; }
    // The printable area on the sheet, in device pixels from the sheet's top-left corner: where a page is
    // drawn, and cut.
    QRect Printable() const {
        return QRect(0, 0, SheetWidth, SheetHeight)
            .intersected({Left, Top, PrintableWidth(), PrintableHeight()});
    }
    bool Color() const { return Type == "srgb_8"; }
    // Whether the pages go as CUPS raster to a raster driver rather than as PWG raster.
    bool CupsRaster() const { return DriverHeader.has_value(); }
};

// The MediaPosition of a media-source keyword, as PWG 5102.4 numbers the trays; 0 for one it does not name.
int PwgMediaPosition(const QByteArray& MediaSource);
