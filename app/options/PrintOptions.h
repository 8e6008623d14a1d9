// The print options of a job, named as the IPP job attributes that lp -o also takes: copies, sides, media,
// media-source, page-ranges, print-color-mode, print-scaling and orientation-requested. They come as text
// (from a link's query, from a CUPS instance or the user's lpoptions) and are read into their values here;
// a malformed value raises EPrinter naming the option, the value and the form it takes. What a printer
// supports is checked where the printer is known.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>

#include <optional>
#include <utility>

// Option values by option name, as given; only the names in PrintOptionNames count.
using TOptionValues = QMap<QByteArray, QByteArray>;

// The option names, in the order the options are checked and reported.
const QList<QByteArray>& PrintOptionNames();

// The options that the printer itself carries out, as job attributes: sides, paper, tray and colour. The
// others Kestrova does in the pages it sends (copies only where the printer makes none).
const QList<QByteArray>& PrinterOptionNames();

// Over's values replace Base's.
TOptionValues MergeOptions(TOptionValues Base, const TOptionValues& Over);

enum class TScaling { Specified, Auto, Fit, Fill, None };

struct TPrintOptions {
    TOptionValues Given; // the options given, as text, for checking them against the printer

    int Copies = 1;
    QByteArray Sides;                      // empty: one-sided, as the document is printed without options
    QByteArray Media;                      // empty: the printer's default paper
    QByteArray MediaSource;                // empty: the printer's choice
    QList<std::pair<int, int>> PageRanges; // first and last page of each range, ascending; empty: every page
    bool Color = false;
    // print-color-mode auto (the printer's choice: colour where it prints colour) and bi-level (black and
    // white, no grays), settled against the printer by TCupsDestination::JobOptions.
    bool AutoColor = false;
    bool BiLevel = false;
    // Specified: stretched to the printable width at the top-left corner, never turned, as without options;
    // the others as IPP's print-scaling defines them.
    TScaling Scaling = TScaling::Specified;
    std::optional<int> Orientation; // IPP's orientation-requested: 3 portrait to 6 reverse-portrait

    bool TwoSided() const { return !Sides.isEmpty() && Sides != "one-sided"; }
    // Whether each copy of PageCount pages ends with a blank back: on two sides, every copy starts on a sheet
    // of its own.
    bool BlankBack(qsizetype PageCount) const { return TwoSided() && PageCount % 2 == 1; }
};

// Reads Values; raises EPrinter on a malformed value.
TPrintOptions ReadPrintOptions(const TOptionValues& Values);
