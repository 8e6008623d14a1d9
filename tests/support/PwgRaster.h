// PWG raster as a printer receives it, read back with libcups: each page's header and its pixels as 8-bit
// gray (1-bit black pages spread to 0 and 255, colour pages by their luminance).
#pragma once

#include <QImage>
#include <QList>
#include <QString>

struct PwgPage {
    int Resolution = 0; // dots per inch, across
    QString Media;      // the PWG media name of the page size
    int ColorSpace = 0; // cups_cspace_t
    int BitsPerPixel = 0;
    bool Duplex = false;
    bool Tumble = false;
    int MediaPosition = 0;
    bool Mirrored = false;   // a back side whose pixels run right to left (CrossFeedTransform -1)
    bool UpsideDown = false; // a back side whose lines run bottom to top (FeedTransform -1)
    bool Colored = false;    // some pixel of a colour page is not gray
    QImage Pixels;           // the whole sheet, Format_Grayscale8, as it arrived
};

// The pages of a PWG raster file; none when it cannot be read.
QList<PwgPage> ReadPwgRaster(const QString& Path);
// The pages of PWG raster held in memory.
QList<PwgPage> ReadPwgRaster(const QByteArray& Data);
