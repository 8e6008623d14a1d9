#include "app/printing/DefaultResolution.h"

#include <cups/cups.h>

int DefaultResolution(const QString& PrinterName) {
    const QByteArray name = PrinterName.toUtf8();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        return 0;
    int resolution = 0;
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        if (ipp_attribute_t* attribute =
                cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution")) {
            ipp_res_t units = IPP_RES_PER_INCH;
            int vertical = 0;
            const int horizontal = ippGetResolution(attribute, 0, &vertical, &units);
            resolution = units == IPP_RES_PER_CM ? static_cast<int>(horizontal * 2.54 + 0.5) : horizontal;
        }
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return resolution;
}
