// The resolution a printer prints at when nobody asks for another, as the print system reports it.
#pragma once

#include <QString>

// The printer's default resolution in dots per inch; 0 when the print system does not say.
int DefaultResolution(const QString& PrinterName);
