// The decisions a print job hands Kestrova's CUPS filter as job attributes: the sheets, the pages in the
// order they print, how many times they are sent, the blank back that ends each round of an odd page count on
// two sides, and how each page is placed and in what colours. The program takes every decision; the filter
// reads them here and carries them out, so that its raster is the program's own. The attributes are short
// text, as `lp -o` and a job's attributes carry them through the print system to the filter: a page list
// goes as ranges ("1-36"), whatever the document's length.
#pragma once

#include "app/options/PrintOptions.h"
#include "app/printing/PwgPageSetup.h"

#include <QList>

#include <optional>

// The document format that names a PDF for the filter: no content matches it, so only a job that asks for
// it by name gets the filter.
inline constexpr char FilterJobFormat[] = "application/vnd.kestrova-pdf";

struct TFilterJob {
    TPwgPageSetup Setup;    // with a raster driver's page header, the pages go as CUPS raster
    QList<int> Pages;       // page numbers from 1, in the order they print
    int Copies = 1;         // how many times the pages are sent: the copies that the printer does not make
    bool BlankBack = false; // each time, the pages are followed by a blank page
    bool Reverse = false;   // each time, last side first, for a printer that stacks face up
    TScaling Scaling = TScaling::Specified;
    std::optional<int> Orientation; // IPP's orientation-requested, 3 to 6
    bool Color = false;             // pages rendered in RGB rather than 8-bit gray

    // How many pages the job sends in all, blank backs among them.
    int SentCount() const;
    // The page sent as the Index-th (from 0): its page number, or 0 for a blank back.
    int SentPage(int Index) const;
};

// Job's decisions as job attributes, each named "kestrova-...".
TOptionValues FilterJobAttributes(const TFilterJob& Job);
// The decisions that Attributes carry; other attributes are passed over. Raises EPrinter naming the
// attribute that is missing, or the one whose value is malformed and the form it takes.
TFilterJob ReadFilterJob(const TOptionValues& Attributes);
