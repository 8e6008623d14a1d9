#include "app/printing/PrinterChoices.h"

#include "app/options/PrintOptions.h"
#include "app/printing/CupsDestination.h"
#include "app/printing/EPrinter.h"

#include <algorithm>

TPrinterChoices ReadPrinterChoices(const QString& PrinterName) {
    TPrinterChoices choices;
    const TCupsDestination destination(PrinterName);
    choices.Defaults =
        MergeOptions({{"copies", "1"}, {"sides", "one-sided"}, {"print-color-mode", "monochrome"}},
                     destination.UserOptions());
    ReadPrintOptions(choices.Defaults);
    // Qt's print stream takes copies, ranges and scaling, and the rest of a job's options not at all.
    if (!destination.TakesPwgRaster())
        return choices;
    // Asked as the print stream asks before a job, so that what is offered is what a job takes.
    const auto takes = [&destination](const QByteArray& option, const QByteArray& value) {
        try {
            destination.CheckSupported(destination.JobOptions({{option, value}}));
            return true;
        } catch (const EPrinter&) {
            return false;
        }
    };
    choices.Copies = destination.QueueCopies();
    for (const QByteArray sides : {"one-sided", "two-sided-long-edge", "two-sided-short-edge"}) {
        if (takes("sides", sides))
            choices.Sides.append(sides);
    }
    choices.Color = takes("print-color-mode", "color");

    http_t* connection = destination.Connection();
    cups_dest_t* dest = destination.Dest();
    cups_dinfo_t* info = destination.Info();
    cups_size_t size{};
    const int count = cupsGetDestMediaCount(connection, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
    for (int i = 0; i < count; ++i) {
        if (!cupsGetDestMediaByIndex(connection, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size))
            continue;
        // A paper is listed once for each set of margins it has.
        const QByteArray name(size.media);
        const auto listed = [&name](const TPaper& paper) {
            return paper.Name == name;
        };
        if (std::any_of(choices.Papers.cbegin(), choices.Papers.cend(), listed) || !takes("media", name))
            continue;
        const char* text = cupsLocalizeDestMedia(connection, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size);
        choices.Papers.append({name, QString::fromUtf8(text ? text : size.media)});
    }
    if (!choices.Defaults.contains("media") &&
        cupsGetDestMediaDefault(connection, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size))
        choices.Defaults.insert("media", size.media);
    return choices;
}
