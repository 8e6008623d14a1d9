// The print stream for a printer, with the print options a link gives: our own stream on CUPS, in what the
// queue's driver takes, wherever the print system takes PWG raster or a PDF for it; Qt's print stream
// elsewhere, and on Windows. Raises EPrinter for an option that is malformed or that the printer does not
// support.
#pragma once

#include "app/printing/PrintStream.h"

#include <memory>

std::unique_ptr<TPrintStream> OpenPrintStream(const QString& PrinterName,
                                              const TOptionValues& LinkOptions = {});
