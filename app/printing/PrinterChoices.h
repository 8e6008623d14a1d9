// What a printer offers a person choosing the print options: the copies, the sides, the paper and whether it
// prints in colour, and what a job gets without options. Each choice is one that the print path takes on
// that printer, so a job with it is never refused for it; page ranges and scaling are Kestrova's own work
// and every printer takes them.
#pragma once

#include "app/options/PrintOptions.h"

#include <QList>
#include <QString>

#include <limits>

struct TPaper {
    QByteArray Name; // the PWG media name, as the media option takes it
    QString Text;    // as people call it
};

struct TPrinterChoices {
    // The most copies; unbounded where Kestrova sends the pages again itself.
    int Copies = std::numeric_limits<int>::max();
    // The sides values it takes ("one-sided", "two-sided-long-edge", ...); none, as paper and colour, where
    // the printer takes none of its own options from Kestrova (a queue without PWG raster).
    QList<QByteArray> Sides;
    QList<TPaper> Papers;
    bool Color = false;
    // What a job without options gets, by option name: the user's options for the queue (lpoptions, the
    // instance), else one copy, one-sided, in gray, on the printer's default paper, placed as specified.
    TOptionValues Defaults;
};

// Raises EPrinter when the user's options for the printer are malformed.
TPrinterChoices ReadPrinterChoices(const QString& PrinterName);
