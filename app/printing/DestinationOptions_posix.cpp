#include "app/printing/DestinationOptions.h"

#include <cups/cups.h>

#include <QByteArrayList>

#include <cctype>
#include <utility>

namespace {

// A PPD choice name as a PWG keyword, as CUPS names its trays: "Tray2" is "tray-2", "LargeCapacity"
// "large-capacity".
QByteArray pwgKeyword(const QByteArray& ppdName) {
    QByteArray keyword;
    for (qsizetype i = 0; i < ppdName.size(); ++i) {
        const char c = ppdName[i];
        const char before = i > 0 ? ppdName[i - 1] : '\0';
        const bool newWord = i > 0 && ((std::isupper(uchar(c)) && std::islower(uchar(before))) ||
                                       (std::isdigit(uchar(c)) && std::isalpha(uchar(before))));
        if (newWord)
            keyword += '-';
        keyword += char(std::tolower(uchar(c)));
    }
    return keyword;
}

// The IPP option a PPD option stands for, and its value; an empty name for one that stands for none.
std::pair<QByteArray, QByteArray> ippOption(const QByteArray& name, const QByteArray& value) {
    if (name == "Duplex") {
        if (value == "DuplexNoTumble")
            return {"sides", "two-sided-long-edge"};
        if (value == "DuplexTumble")
            return {"sides", "two-sided-short-edge"};
        return {"sides", "one-sided"};
    }
    if (name == "PageSize" || name == "PageRegion") {
        pwg_media_t* media = pwgMediaForPPD(value.constData());
        return media ? std::pair<QByteArray, QByteArray>{"media", media->pwg}
                     : std::pair<QByteArray, QByteArray>{};
    }
    if (name == "InputSlot")
        return {"media-source", pwgKeyword(value)};
    return {};
}

} // namespace

TOptionValues DestinationOptions(const TOptionValues& Destination, const TOptionValues& Chosen,
                                 bool Instance) {
    TOptionValues options;
    for (const QByteArray& name : PrintOptionNames())
        if (Destination.contains(name))
            options.insert(name, Destination.value(name));
    // A PPD name in lpoptions goes over the queue's default, not over the IPP name the lpoptions give too.
    for (auto option = Destination.constBegin(); option != Destination.constEnd(); ++option)
        if (const auto [name, value] = ippOption(option.key(), option.value());
            !name.isEmpty() && !Chosen.contains(name))
            options.insert(name, value);
    if (!Instance && !Chosen.contains("print-color-mode"))
        options.remove("print-color-mode");
    // What changes nothing is no option.
    if (options.value("sides") == "one-sided")
        options.remove("sides");
    if (options.value("copies") == "1")
        options.remove("copies");
    if (options.value("print-color-mode") == "monochrome")
        options.remove("print-color-mode");
    return options;
}

TOptionValues UnappliedOptions(const TOptionValues& Destination) {
    // Options that lp's filters carry out, with the value that leaves the sheets as they are.
    static const QList<std::pair<QByteArray, QByteArray>> neutral{
        {"number-up", "1"},       {"page-set", "all"}, {"number-up-layout", "lrtb"},
        {"page-border", "none"},  {"mirror", "false"}, {"output-order", "normal"},
        {"fit-to-page", "false"}, {"page-left", "0"},  {"page-right", "0"},
        {"page-top", "0"},        {"page-bottom", "0"}};
    TOptionValues unapplied;
    for (const auto& [name, value] : neutral)
        if (Destination.contains(name) && Destination.value(name) != value)
            unapplied.insert(name, Destination.value(name));
    return unapplied;
}
