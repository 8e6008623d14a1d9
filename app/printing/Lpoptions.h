// The user's own CUPS settings in the lpoptions files (the system's in CUPS_SERVERROOT, then the user's in
// ~/.cups, which wins): the default printer they name, and the options they give a queue or an instance.
// CUPS merges these into a destination together with the printer's own defaults; read here apart, they are
// the settings a person chose, which a job takes as its options.
#pragma once

#include "app/options/PrintOptions.h"

#include <QString>

struct TNamedDefault {
    QString Printer; // "Queue" or "Queue/instance"; empty when no file names one
    QString Where;   // the file that names it, as the user knows it
};

// The default printer that an lpoptions file names, the user's file first.
TNamedDefault LpoptionsDefault();

// The print options the lpoptions files give Queue, and Instance (which takes its queue's first) when it is
// not empty.
TOptionValues LpoptionsOptions(const QString& Queue, const QString& Instance);
