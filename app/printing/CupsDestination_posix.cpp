#include "app/printing/CupsDestination.h"

#include <cstdlib>

namespace {

constexpr int ConnectTimeoutMs = 30000;

// A length in hundredths of millimetres, in pixels at Dpi.
int toPixels(int hundredthsOfMm, int dpi) {
    return static_cast<int>((static_cast<long long>(hundredthsOfMm) * dpi + 1270) / 2540);
}

} // namespace

int ResolutionDpi(ipp_attribute_t* Attribute, int Index) {
    ipp_res_t units = IPP_RES_PER_INCH;
    int vertical = 0;
    const int horizontal = ippGetResolution(Attribute, Index, &vertical, &units);
    return units == IPP_RES_PER_CM ? static_cast<int>(horizontal * 2.54 + 0.5) : horizontal;
}

TCupsDestination::TCupsDestination(const QString& Name) : FName(Name) {
    FConnection = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                               ConnectTimeoutMs, nullptr);
    if (!FConnection)
        return;
    // A CUPS instance, "Queue/instance", is its queue with the instance's options.
    const qsizetype slash = Name.indexOf(u'/');
    const QByteArray queue = Name.left(slash).toUtf8();
    const QByteArray instance = slash >= 0 ? Name.mid(slash + 1).toUtf8() : QByteArray();
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

bool TCupsDestination::TakesPwgRaster() const {
    return Found() &&
           cupsCheckDestSupported(FConnection, FDest, FInfo, "document-format", "image/pwg-raster") != 0;
}

QByteArray TCupsDestination::Uri() const {
    return FDest ? QByteArray(cupsGetOption("printer-uri-supported", FDest->num_options, FDest->options))
                 : QByteArray();
}

TPwgPageSetup TCupsDestination::PageSetup() const {
    TPwgPageSetup setup;
    if (!Found())
        return setup;

    if (ipp_attribute_t* resolution = cupsFindDestDefault(FConnection, FDest, FInfo, "printer-resolution"))
        setup.Resolution = ResolutionDpi(resolution, 0);
    if (ipp_attribute_t* listed =
            cupsFindDestSupported(FConnection, FDest, FInfo, "pwg-raster-document-resolution-supported")) {
        int best = 0;
        for (int i = 0; i < ippGetCount(listed); ++i) {
            const int dpi = ResolutionDpi(listed, i);
            if (best == 0 || std::abs(dpi - setup.Resolution) < std::abs(best - setup.Resolution))
                best = dpi;
        }
        if (best > 0)
            setup.Resolution = best;
    }

    if (ipp_attribute_t* types =
            cupsFindDestSupported(FConnection, FDest, FInfo, "pwg-raster-document-type-supported")) {
        if (!ippContainsString(types, "sgray_8") && ippContainsString(types, "black_1"))
            setup.Type = "black_1";
    }

    cups_size_t size{};
    if (cupsGetDestMediaDefault(FConnection, FDest, FInfo, CUPS_MEDIA_FLAGS_DEFAULT, &size)) {
        setup.Media = size.media;
        setup.SheetWidth = toPixels(size.width, setup.Resolution);
        setup.SheetHeight = toPixels(size.length, setup.Resolution);
        setup.Left = toPixels(size.left, setup.Resolution);
        setup.Right = toPixels(size.right, setup.Resolution);
        setup.Top = toPixels(size.top, setup.Resolution);
        setup.Bottom = toPixels(size.bottom, setup.Resolution);
    } else {
        setup.SheetWidth = toPixels(21590, setup.Resolution);
        setup.SheetHeight = toPixels(27940, setup.Resolution);
    }
    return setup;
}
