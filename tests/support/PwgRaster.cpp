#include "PwgRaster.h"
#include "MemoryRaster.h"

#include <QFile>

#include <cups/raster.h>

#include <cstdlib>

QList<PwgPage> ReadPwgRaster(const QString& Path) {
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? ReadPwgRaster(file.readAll()) : QList<PwgPage>();
}

QList<PwgPage> ReadPwgRaster(const QByteArray& Data) {
    const TRasterReader reader(Data);
    cups_raster_t* raster = reader.Raster();
    QList<PwgPage> pages;
    cups_page_header2_t header;
    while (raster && cupsRasterReadHeader2(raster, &header)) {
        PwgPage page;
        page.Resolution = static_cast<int>(header.HWResolution[0]);
        page.Media = QString::fromLatin1(header.cupsPageSizeName);
        page.ColorSpace = header.cupsColorSpace;
        page.BitsPerPixel = static_cast<int>(header.cupsBitsPerPixel);
        page.Duplex = header.Duplex != 0;
        page.Tumble = header.Tumble != 0;
        page.MediaPosition = static_cast<int>(header.MediaPosition);
        page.Mirrored = header.cupsInteger[CUPS_RASTER_PWG_CrossFeedTransform] == 0xFFFFFFFFU;
        page.UpsideDown = header.cupsInteger[CUPS_RASTER_PWG_FeedTransform] == 0xFFFFFFFFU;
        page.Pixels = QImage(int(header.cupsWidth), int(header.cupsHeight), QImage::Format_Grayscale8);
        QByteArray line(qsizetype(header.cupsBytesPerLine), '\0');
        auto* bytes = reinterpret_cast<unsigned char*>(line.data());
        for (int y = 0; y < int(header.cupsHeight); ++y) {
            if (cupsRasterReadPixels(raster, bytes, header.cupsBytesPerLine) != header.cupsBytesPerLine)
                break;
            uchar* out = page.Pixels.scanLine(y);
            for (int x = 0; x < int(header.cupsWidth); ++x) {
                if (page.BitsPerPixel == 24) {
                    const uchar* rgb = bytes + 3 * x;
                    out[x] = uchar(qGray(rgb[0], rgb[1], rgb[2]));
                    page.Colored =
                        page.Colored || std::abs(rgb[0] - rgb[1]) > 8 || std::abs(rgb[1] - rgb[2]) > 8;
                } else {
                    out[x] =
                        page.BitsPerPixel == 1 ? ((bytes[x >> 3] & (0x80 >> (x & 7))) ? 0 : 255) : bytes[x];
                }
            }
        }
        pages.append(page);
    }
    return pages;
}
