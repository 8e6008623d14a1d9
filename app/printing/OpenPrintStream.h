// The print stream for a printer, with the print options a link gives: PWG raster straight to CUPS where the
// printer takes it, natively or through a CUPS filter; Qt's print stream elsewhere, and on Windows. Raises
// EPrinter for an option that is malformed or that the printer does not support.
#pragma once

#include "app/printing/PrintStream.h"

#include <memory>

std::unique_ptr<TPrintStream> OpenPrintStream(const QString& PrinterName,
                                              const TOptionValues& LinkOptions = {});
