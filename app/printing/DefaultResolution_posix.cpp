#include "app/printing/DefaultResolution.h"

#include "app/printing/CupsDestination.h"

int DefaultResolution(const QString& PrinterName) {
    const TCupsDestination destination(PrinterName);
    if (!destination.Found())
        return 0;
    ipp_attribute_t* resolution = cupsFindDestDefault(destination.Connection(), destination.Dest(),
                                                      destination.Info(), "printer-resolution");
    return resolution ? ResolutionDpi(resolution, 0) : 0;
}
