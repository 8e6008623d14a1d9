#include "app/printing/CupsDestination.h"

#include "app/printing/DestinationOptions.h"
#include "app/printing/EPrinter.h"
#include "app/printing/Lpoptions.h"

#include <QStringList>

#include <cstdlib>
#include <iterator>

namespace {

constexpr int ConnectTimeoutMs = 30000;
constexpr int DeviceTimeoutMs = 5000;

// A length in hundredths of millimetres, in pixels at Dpi.
int toPixels(int hundredthsOfMm, int dpi) {
    return static_cast<int>((static_cast<long long>(hundredthsOfMm) * dpi + 1270) / 2540);
}

QString attributeText(ipp_attribute_t* attribute) {
    if (!attribute)
        return QStringLiteral("nothing of the kind");
    QByteArray text(4096, '\0');
    ippAttributeString(attribute, text.data(), size_t(text.size()));
    text.truncate(qstrlen(text.constData()));
    QStringList values = QString::fromUtf8(text).split(u',');
    constexpr int Shown = 12;
    if (values.size() > Shown)
        values = values.mid(0, Shown) << QStringLiteral("... (%1 in all)").arg(values.size());
    return values.join(QStringLiteral(", "));
}

} // namespace

int ResolutionDpi(ipp_attribute_t* Attribute, int Index) {
    ipp_res_t units = IPP_RES_PER_INCH;
    int vertical = 0;
    const int horizontal = ippGetResolution(Attribute, Index, &vertical, &units);
    return units == IPP_RES_PER_CM ? static_cast<int>(horizontal * 2.54 + 0.5) : horizontal;
}

TCupsDestination::TCupsDestination(const QString& Name) : FName(Name) {
    // A CUPS instance, "Queue/instance", is its queue with the instance's options.
    const qsizetype slash = Name.indexOf(u'/');
    FQueue = slash < 0 ? Name : Name.first(slash);
    FInstance = slash >= 0 ? Name.mid(slash + 1) : QString();
    FConnection = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                               ConnectTimeoutMs, nullptr);
    if (!FConnection)
        return;
    const QByteArray queue = FQueue.toUtf8();
    const QByteArray instance = FInstance.toUtf8();
    FDest = cupsGetNamedDest(FConnection, queue.constData(), slash >= 0 ? instance.constData() : nullptr);
    if (FDest)
        FInfo = cupsCopyDestInfo(FConnection, FDest);
}

TCupsDestination::~TCupsDestination() {
    if (FInfo)
        cupsFreeDestInfo(FInfo);
    if (FDest)
        cupsFreeDests(1, FDest);
    if (FConnection)
        httpClose(FConnection);
}

bool TCupsDestination::TakesFormat(const char* Format) const {
    return Found() && cupsCheckDestSupported(FConnection, FDest, FInfo, "document-format", Format) != 0;
}

bool TCupsDestination::TakesPwgRaster() const {
    return TakesFormat("image/pwg-raster");
}

QByteArray TCupsDestination::Uri() const {
    return FDest ? QByteArray(cupsGetOption("printer-uri-supported", FDest->num_options, FDest->options))
                 : QByteArray();
}

TOptionValues TCupsDestination::destinationOptions() const {
    TOptionValues destination;
    for (int i = 0; FDest && i < FDest->num_options; ++i)
        destination.insert(FDest->options[i].name, FDest->options[i].value);
    return destination;
}

TOptionValues TCupsDestination::UnappliedOptions() const {
    return ::UnappliedOptions(destinationOptions());
}

TOptionValues TCupsDestination::UserOptions() const {
    const TOptionValues chosen = LpoptionsOptions(FQueue, FInstance);
    if (!FDest)
        return chosen;
    TOptionValues destination = destinationOptions();
    // The print system reports a default for the sides only where one was set for it; the PPD's own default
    // is what its filters print with.
    if (!destination.contains("sides") && !destination.contains("Duplex"))
        if (const TQueuePpd* ppd = markedPpd({}))
            if (const QByteArray duplex = ppd->MarkedChoice("Duplex"); !duplex.isEmpty())
                destination.insert("Duplex", duplex);
    return DestinationOptions(destination, chosen, !FInstance.isEmpty());
}

int TCupsDestination::QueueCopies() const {
    int upper = 1;
    if (ipp_attribute_t* copies = cupsFindDestSupported(FConnection, FDest, FInfo, "copies"))
        ippGetRange(copies, 0, &upper);
    return upper;
}

const TCupsDestination::TDevice* TCupsDestination::device() const {
    if (FDevice)
        return FDevice->has_value() ? &**FDevice : nullptr;
    FDevice.emplace();
    const char* model = cupsGetOption("printer-make-and-model", FDest->num_options, FDest->options);
    const char* uri = cupsGetOption("device-uri", FDest->num_options, FDest->options);
    if (!model || !uri || !QByteArray(model).contains("IPP Everywhere"))
        return nullptr;
    char scheme[32], user[256], host[256], resource[1024];
    int port = 0;
    if (httpSeparateURI(HTTP_URI_CODING_ALL, uri, scheme, sizeof scheme, user, sizeof user, host, sizeof host,
                        &port, resource, sizeof resource) < HTTP_URI_STATUS_OK ||
        (qstrcmp(scheme, "ipp") != 0 && qstrcmp(scheme, "ipps") != 0))
        return nullptr;
    http_t* connection =
        httpConnect2(host, port, nullptr, AF_UNSPEC,
                     qstrcmp(scheme, "ipps") == 0 ? HTTP_ENCRYPTION_ALWAYS : HTTP_ENCRYPTION_IF_REQUESTED, 1,
                     DeviceTimeoutMs, nullptr);
    if (!connection)
        return nullptr;
    const char* const wanted[] = {"copies-supported", "pwg-raster-document-sheet-back"};
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", std::size(wanted),
                  nullptr, wanted);
    ipp_t* response = cupsDoRequest(connection, request, resource);
    if (response && ippGetStatusCode(response) <= IPP_STATUS_OK_EVENTS_COMPLETE) {
        TDevice found;
        if (ipp_attribute_t* copies = ippFindAttribute(response, "copies-supported", IPP_TAG_RANGE))
            ippGetRange(copies, 0, &found.Copies);
        if (ipp_attribute_t* back =
                ippFindAttribute(response, "pwg-raster-document-sheet-back", IPP_TAG_KEYWORD))
            found.SheetBack = ippGetString(back, 0, nullptr);
        *FDevice = found;
    }
    ippDelete(response);
    httpClose(connection);
    return FDevice->has_value() ? &**FDevice : nullptr;
}

int TCupsDestination::PrinterCopies() const {
    const TDevice* printer = Found() ? device() : nullptr;
    return printer ? printer->Copies : QueueCopies();
}

void TCupsDestination::CheckSupported(const TPrintOptions& Options) const {
    const auto refuse = [this](const QByteArray& option, const QByteArray& value,
                               ipp_attribute_t* supported) {
        throw EPrinter(
            QStringLiteral("The printer \"%1\" does not support %2 \"%3\"; it supports %4")
                .arg(FName, QString::fromLatin1(option), QString::fromUtf8(value), attributeText(supported)));
    };
    for (auto given = Options.Given.constBegin(); given != Options.Given.constEnd(); ++given) {
        const QByteArray& option = given.key();
        // Page ranges, scaling and turns are Kestrova's own work: every printer takes their result.
        if (option == "page-ranges" || option == "print-scaling" || option == "orientation-requested")
            continue;
        ipp_attribute_t* supported = cupsFindDestSupported(FConnection, FDest, FInfo, option.constData());
        if (option == "copies") {
            if (Options.Copies > QueueCopies())
                refuse(option, given.value(), supported);
        } else if (!cupsCheckDestSupported(FConnection, FDest, FInfo, option.constData(),
                                           given.value().constData())) {
            refuse(option, given.value(), supported);
        }
    }
    if (Options.Color) {
        ipp_attribute_t* types = cupsFindDestSupported(FConnection, FDest, FInfo, "pwg-raster-document-type");
        if (!types || !ippContainsString(types, "srgb_8"))
            throw EPrinter(QStringLiteral("The printer \"%1\" takes no colour pages (srgb_8); it takes %2")
                               .arg(FName, attributeText(types)));
    }
}

bool TCupsDestination::printsColour() const {
    ipp_attribute_t* modes = cupsFindDestSupported(FConnection, FDest, FInfo, "print-color-mode");
    ipp_attribute_t* types = cupsFindDestSupported(FConnection, FDest, FInfo, "pwg-raster-document-type");
    return modes && ippContainsString(modes, "color") && types && ippContainsString(types, "srgb_8");
}

TPrintOptions TCupsDestination::JobOptions(const TOptionValues& Given) const {
    TPrintOptions options = ReadPrintOptions(Given);
    if (!options.AutoColor && !options.BiLevel)
        return options;
    options.Color = options.AutoColor && printsColour();
    const QByteArray mode = options.Given.value("print-color-mode");
    ipp_attribute_t* modes = cupsFindDestSupported(FConnection, FDest, FInfo, "print-color-mode");
    if (!modes || !ippContainsString(modes, mode.constData()))
        options.Given.insert("print-color-mode", options.Color ? "color" : "monochrome");
    return options;
}

const TQueuePpd* TCupsDestination::markedPpd(const TPrintOptions& Options) const {
    if (!Found())
        return nullptr;
    if (!FPpd)
        FPpd = std::make_unique<TQueuePpd>(FConnection, FQueue.toUtf8());
    if (!FPpd->Found())
        return nullptr;
    FPpd->Mark(Options.Given);
    return FPpd.get();
}

bool TCupsDestination::ReverseOrder(const TPrintOptions& Options) const {
    const TOptionValues given = MergeOptions(destinationOptions(), LpoptionsOptions(FQueue, FInstance));
    for (const char* name : {"OutputOrder", "output-order", "page-delivery"})
        if (given.contains(name))
            return IsReverseOrder(given.value(name));
    const TQueuePpd* ppd = markedPpd(Options);
    return ppd && ppd->ReverseOrder();
}

TQueueStream TCupsDestination::Stream(const TPrintOptions& Options) const {
    const TQueuePpd* ppd = markedPpd(Options);
    const TQueueStream stream = ppd ? ppd->Stream() : Found() ? TQueueStream::Raw : TQueueStream::PwgRaster;
    // A queue that the print system cannot hand a PDF takes PWG raster where it can, as CUPS converts it.
    if ((stream == TQueueStream::Pdf || stream == TQueueStream::Raw) && !TakesFormat("application/pdf") &&
        TakesPwgRaster())
        return TQueueStream::PwgRaster;
    return stream;
}

// A PPD driver's sheet at its own resolution; for a raster driver, the imageable area that its page header
// covers, in the pixels it names.
TPwgPageSetup TCupsDestination::driverSetup(const TQueuePpd& Ppd, const TPrintOptions& Options) const {
    TPwgPageSetup setup;
    if (Options.TwoSided()) {
        setup.Sides = Options.Sides;
        setup.SheetBack = Ppd.BackSide();
    }
    if (Ppd.Stream() == TQueueStream::CupsRaster) {
        setup.DriverHeader = Ppd.RasterHeader();
        const cups_page_header2_t* header = &*setup.DriverHeader;
        // The driver makes the copies, as it does for lp's raster.
        setup.DriverHeader->NumCopies = unsigned(Options.Copies);
        setup.Resolution = int(header->HWResolution[0]);
        setup.Type = header->cupsColorSpace == CUPS_CSPACE_RGB || header->cupsColorSpace == CUPS_CSPACE_SRGB
                         ? "srgb_8"
                     : header->cupsBitsPerColor == 1 ? "black_1"
                                                     : "sgray_8";
        setup.SheetWidth = int(header->cupsWidth);
        setup.SheetHeight = int(header->cupsHeight);
        return setup;
    }
    if (Options.Color)
        setup.Type = "srgb_8";
    if (const int dpi = Ppd.Resolution())
        setup.Resolution = dpi;
    const auto pixels = [&setup](double points) {
        return int(points * setup.Resolution / 72.0 + 0.5);
    };
    if (const std::optional<TPpdSheet> sheet = Ppd.Sheet()) {
        if (pwg_media_t* media =
                pwgMediaForSize(int(sheet->Width * 2540 / 72 + 0.5), int(sheet->Length * 2540 / 72 + 0.5)))
            setup.Media = media->pwg;
        setup.SheetWidth = pixels(sheet->Width);
        setup.SheetHeight = pixels(sheet->Length);
        setup.Left = pixels(sheet->Left);
        setup.Bottom = pixels(sheet->Bottom);
        setup.Right = setup.SheetWidth - pixels(sheet->Right);
        setup.Top = setup.SheetHeight - pixels(sheet->Top);
    } else {
        setup.SheetWidth = pixels(612);
        setup.SheetHeight = pixels(792);
    }
    return setup;
}

TPwgPageSetup TCupsDestination::PageSetup(const TPrintOptions& Options) const {
    TPwgPageSetup setup;
    if (!Found())
        return setup;
    if (const TQueuePpd* ppd = markedPpd(Options); ppd && ppd->Stream() != TQueueStream::PwgRaster)
        return driverSetup(*ppd, Options);

    if (ipp_attribute_t* resolution = cupsFindDestDefault(FConnection, FDest, FInfo, "printer-resolution"))
        setup.Resolution = ResolutionDpi(resolution, 0);
    if (ipp_attribute_t* listed =
            cupsFindDestSupported(FConnection, FDest, FInfo, "pwg-raster-document-resolution")) {
        int best = 0;
        for (int i = 0; i < ippGetCount(listed); ++i) {
            const int dpi = ResolutionDpi(listed, i);
            if (best == 0 || std::abs(dpi - setup.Resolution) < std::abs(best - setup.Resolution))
                best = dpi;
        }
        if (best > 0)
            setup.Resolution = best;
    }

    if (Options.Color) {
        setup.Type = "srgb_8";
    } else if (ipp_attribute_t* types =
                   cupsFindDestSupported(FConnection, FDest, FInfo, "pwg-raster-document-type")) {
        // Bi-level pages go as 1-bit black where the printer takes it; 8-bit gray only where it takes nothing
        // else.
        if (ippContainsString(types, "black_1") && (Options.BiLevel || !ippContainsString(types, "sgray_8")))
            setup.Type = "black_1";
    }

    if (Options.TwoSided()) {
        setup.Sides = Options.Sides;
        // Behind a queue whose filters make the printer's own pages of the raster, back sides are theirs.
        if (const TDevice* printer = device())
            setup.SheetBack = printer->SheetBack;
    }
    setup.MediaPosition = PwgMediaPosition(Options.MediaSource);

    cups_size_t size{};
    const bool found =
        Options.Media.isEmpty()
            ? cupsGetDestMediaDefault(FConnection, FDest, FInfo, CUPS_MEDIA_FLAGS_DEFAULT, &size)
            : cupsGetDestMediaByName(FConnection, FDest, FInfo, Options.Media.constData(),
                                     CUPS_MEDIA_FLAGS_DEFAULT, &size);
    if (found) {
        setup.Media = size.media;
        setup.SheetWidth = toPixels(size.width, setup.Resolution);
        setup.SheetHeight = toPixels(size.length, setup.Resolution);
        setup.Left = toPixels(size.left, setup.Resolution);
        setup.Right = toPixels(size.right, setup.Resolution);
        setup.Top = toPixels(size.top, setup.Resolution);
        setup.Bottom = toPixels(size.bottom, setup.Resolution);
    } else if (!Options.Media.isEmpty()) {
        throw EPrinter(QStringLiteral("The printer \"%1\" has no paper \"%2\"")
                           .arg(FName, QString::fromUtf8(Options.Media)));
    } else {
        setup.SheetWidth = toPixels(21590, setup.Resolution);
        setup.SheetHeight = toPixels(27940, setup.Resolution);
    }
    return setup;
}
