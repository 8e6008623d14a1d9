// PWG raster as a printer receives it, read back with libcups: each page's header and its pixels as 8-bit
// gray (1-bit black pages spread to 0 and 255).
#pragma once

#include <QImage>
#include <QList>
#include <QString>

struct PwgPage {
    int Resolution = 0; // dots per inch, across
    QString Media;      // the PWG media name of the page size
    int ColorSpace = 0; // cups_cspace_t
    int BitsPerPixel = 0;
    QImage Pixels; // the whole sheet, Format_Grayscale8
};

// The pages of a PWG raster file; none when it cannot be read.
QList<PwgPage> ReadPwgRaster(const QString& Path);
// The pages of PWG raster held in memory.
QList<PwgPage> ReadPwgRaster(const QByteArray& Data);
