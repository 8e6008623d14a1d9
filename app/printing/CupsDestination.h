// A CUPS destination as libcups sees it, on a connection of its own to the print system: a queue, or a CUPS
// instance "Queue/instance" with the instance's options. Which stream its driver takes, whether it takes PWG
// raster (natively or through a CUPS filter), the print options its user chose (lpoptions), whether it
// supports a job's options, the PWG page setup it prints a job on, and its state.
#pragma once

#include "app/options/PrintOptions.h"
#include "app/printing/PwgPageSetup.h"
#include "app/printing/QueuePpd.h"

#include <cups/cups.h>

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class TCupsDestination {
public:
    explicit TCupsDestination(const QString& Name);
    ~TCupsDestination();
    TCupsDestination(const TCupsDestination&) = delete;
    TCupsDestination& operator=(const TCupsDestination&) = delete;

    const QString& Name() const { return FName; }
    // False when the print system does not know the destination, or cannot be reached.
    bool Found() const { return FInfo != nullptr; }
    // Whether the print system takes a document of the MIME type Format for the destination.
    bool TakesFormat(const char* Format) const;
    bool TakesPwgRaster() const;

    // The print options the destination gives a job (DestinationOptions.h): the queue's defaults, the user's
    // lpoptions and the instance's.
    TOptionValues UserOptions() const;
    // The destination's options that Kestrova does not carry out (UnappliedOptions).
    TOptionValues UnappliedOptions() const;
    // Options read from Given (ReadPrintOptions), with print-color-mode auto and bi-level settled for this
    // printer: auto prints in colour where the printer prints colour pages; the printer is sent a mode that
    // it lists, the one Kestrova prints in, where it lists neither of these.
    TPrintOptions JobOptions(const TOptionValues& Given) const;
    // Raises EPrinter for the first option given in Options that the destination does not support, naming
    // the option, the value and what it supports.
    void CheckSupported(const TPrintOptions& Options) const;
    // Whether the printer stacks its sheets face up, so that a job's pages go last first, as CUPS decides it
    // for lp: the OutputOrder, output-order or page-delivery the destination's options give, else its PPD's
    // output order for Options (TQueuePpd::ReverseOrder).
    bool ReverseOrder(const TPrintOptions& Options) const;
    // The stream the destination's driver takes for a job with Options (QueuePpd.h).
    TQueueStream Stream(const TPrintOptions& Options) const;
    // The sheets of a job with Options: the chosen paper or the default one with its margins, the tray, the
    // sides with the turn the printer wants of back sides; 8-bit gray unless the printer takes only 1-bit
    // black, or colour where it is asked for. A driverless printer's default resolution is, of those listed
    // for PWG raster, the one nearest to it; a PPD driver's sheet and resolution are its PPD's, and a raster
    // driver's pages take the page header its PPD gives.
    TPwgPageSetup PageSetup(const TPrintOptions& Options = {}) const;
    // How many copies of a document the printer makes itself, at most: those of the printer the queue hands
    // the raster to unchanged (an IPP Everywhere queue), else those of the queue, whose filters make them.
    int PrinterCopies() const;
    // How many copies of a document the queue takes at most.
    int QueueCopies() const;

    http_t* Connection() const { return FConnection; }
    cups_dest_t* Dest() const { return FDest; }
    cups_dinfo_t* Info() const { return FInfo; }
    // The destination's URI for IPP requests to the print system.
    QByteArray Uri() const;

private:
    // What the printer behind an IPP Everywhere queue says of itself: its copies and its back sides.
    struct TDevice {
        int Copies = 1;
        QByteArray SheetBack = "normal";
    };
    const TDevice* device() const;
    // Whether the printer takes colour pages: print-color-mode color, and sRGB where it takes PWG raster.
    bool printsColour() const;
    // The destination's options as libcups gives them, every one.
    TOptionValues destinationOptions() const;
    // The PPD with the defaults and Options marked; none for a queue without one.
    const TQueuePpd* markedPpd(const TPrintOptions& Options) const;
    TPwgPageSetup driverSetup(const TQueuePpd& Ppd, const TPrintOptions& Options) const;

    QString FName;
    QString FQueue;
    QString FInstance;
    http_t* FConnection = nullptr;
    cups_dest_t* FDest = nullptr;
    cups_dinfo_t* FInfo = nullptr;
    mutable std::optional<std::optional<TDevice>> FDevice; // asked once; none when it cannot be asked
    mutable std::unique_ptr<TQueuePpd> FPpd;               // fetched once
};

// The dots per inch of the value at Index of a resolution attribute, whatever unit it is given in.
int ResolutionDpi(ipp_attribute_t* Attribute, int Index);
