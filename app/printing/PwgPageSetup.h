// The sheets of a PWG raster document: the paper by its PWG name, the resolution, the colour space, and the
// sheet and its margins in device pixels. PWG raster pages are the whole sheet; what is printed sits inside
// the margins, the printable area.
#pragma once

#include <QByteArray>

struct TPwgPageSetup {
    QByteArray Media = "na_letter_8.5x11in"; // PWG self-describing media name
    int Resolution = 300;                    // dots per inch, both ways
    QByteArray Type = "sgray_8";             // "sgray_8", or "black_1" for printers that take no gray
    int SheetWidth = 2550;                   // the whole sheet, in device pixels
    int SheetHeight = 3300;
    int Left = 0; // margins, in device pixels
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int PrintableWidth() const { return SheetWidth - Left - Right; }
    int PrintableHeight() const { return SheetHeight - Top - Bottom; }
};
