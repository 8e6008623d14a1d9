// A CUPS destination as libcups sees it, on a connection of its own to the print system: whether it takes
// PWG raster (natively or through a CUPS filter), the PWG page setup it prints by default, and its state.
#pragma once

#include "app/printing/PwgPageSetup.h"

#include <cups/cups.h>

#include <QByteArray>
#include <QString>

class TCupsDestination {
public:
    explicit TCupsDestination(const QString& Name);
    ~TCupsDestination();
    TCupsDestination(const TCupsDestination&) = delete;
    TCupsDestination& operator=(const TCupsDestination&) = delete;

    const QString& Name() const { return FName; }
    // False when the print system does not know the destination, or cannot be reached.
    bool Found() const { return FInfo != nullptr; }
    bool TakesPwgRaster() const;
    // Its default paper with its margins, its default resolution (of those it lists for PWG raster, the one
    // nearest to it), and 8-bit gray unless it takes only 1-bit black.
    TPwgPageSetup PageSetup() const;

    http_t* Connection() const { return FConnection; }
    cups_dest_t* Dest() const { return FDest; }
    cups_dinfo_t* Info() const { return FInfo; }
    // The destination's URI for IPP requests to the print system.
    QByteArray Uri() const;

private:
    QString FName;
    http_t* FConnection = nullptr;
    cups_dest_t* FDest = nullptr;
    cups_dinfo_t* FInfo = nullptr;
};

// The dots per inch of the value at Index of a resolution attribute, whatever unit it is given in.
int ResolutionDpi(ipp_attribute_t* Attribute, int Index);
