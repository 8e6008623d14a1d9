// The print stream for a printer: PWG raster straight to CUPS where the printer takes it, natively or through
// a CUPS filter; Qt's print stream elsewhere, and on Windows.
#pragma once

#include "app/printing/PrintStream.h"

#include <memory>

std::unique_ptr<TPrintStream> OpenPrintStream(const QString& PrinterName);
