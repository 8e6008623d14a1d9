#include "app/printing/QueuePpd.h"

// The PPD interface is the only way to a PPD driver's own settings; libcups marks it deprecated in favour of
// the IPP view, which does not carry them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>

#include <QByteArrayList>
#include <QFile>

#include <algorithm>

namespace {

// The larger of the two numbers of a PPD resolution such as "300dpi" or "600x300dpi"; 0 for none.
int resolutionDpi(QByteArray text) {
    if (!text.endsWith("dpi"))
        return 0;
    text.chop(3);
    int dpi = 0;
    for (const QByteArray& part : text.split('x'))
        dpi = std::max(dpi, part.toInt());
    return dpi;
}

bool writablePixels(const cups_page_header2_t& header) {
    if (header.cupsColorOrder != CUPS_ORDER_CHUNKED || header.HWResolution[0] != header.HWResolution[1] ||
        header.cupsWidth == 0 || header.cupsHeight == 0)
        return false;
    switch (header.cupsColorSpace) {
    case CUPS_CSPACE_W:
    case CUPS_CSPACE_SW:
    case CUPS_CSPACE_K:
        return header.cupsBitsPerColor == 1 || header.cupsBitsPerColor == 8;
    case CUPS_CSPACE_RGB:
    case CUPS_CSPACE_SRGB:
        return header.cupsBitsPerColor == 8;
    default:
        return false;
    }
}

} // namespace

TQueuePpd::TQueuePpd(http_t* Connection, const QByteArray& Queue) {
    char path[1024] = "";
    time_t modified = 0;
    if (cupsGetPPD3(Connection, Queue.constData(), &modified, path, sizeof path) != HTTP_STATUS_OK)
        return;
    FPath = path;
    FPpd = ppdOpenFile(path);
    if (FPpd)
        ppdMarkDefaults(FPpd);
}

TQueuePpd::~TQueuePpd() {
    if (FPpd)
        ppdClose(FPpd);
    if (!FPath.isEmpty())
        QFile::remove(QString::fromLocal8Bit(FPath));
}

void TQueuePpd::Mark(const TOptionValues& Options) {
    if (!FPpd)
        return;
    FMarked = Options;
    ppdMarkDefaults(FPpd);
    cups_option_t* options = nullptr;
    int count = 0;
    for (auto option = Options.constBegin(); option != Options.constEnd(); ++option)
        count = cupsAddOption(option.key().constData(), option.value().constData(), count, &options);
    cupsMarkOptions(FPpd, count, options);
    cupsFreeOptions(count, options);
}

bool TQueuePpd::takesFrom(const char* Format) const {
    const QByteArray format(Format);
    // cupsFilter2 lines name the source, the destination, the cost and the program; cupsFilter lines, which
    // count only where there is no cupsFilter2, the source, the cost and the program.
    bool newStyle = false;
    for (ppd_attr_t* filter = ppdFindAttr(FPpd, "cupsFilter2", nullptr); filter;
         filter = ppdFindNextAttr(FPpd, "cupsFilter2", nullptr)) {
        newStyle = true;
        if (filter->value && QByteArray(filter->value).simplified().split(' ').value(0) == format)
            return true;
    }
    if (newStyle)
        return false;
    for (int i = 0; i < FPpd->num_filters; ++i)
        if (QByteArray(FPpd->filters[i]).simplified().split(' ').value(0) == format)
            return true;
    return false;
}

TQueueStream TQueuePpd::Stream() const {
    if (!FPpd)
        return TQueueStream::Raw;
    if (takesFrom("image/pwg-raster"))
        return TQueueStream::PwgRaster;
    if (takesFrom("application/vnd.cups-raster") && RasterHeader())
        return TQueueStream::CupsRaster;
    return TQueueStream::Pdf;
}

int TQueuePpd::Resolution() const {
    if (!FPpd)
        return 0;
    for (const char* option : {"Resolution", "cupsResolution"})
        if (const int dpi = resolutionDpi(MarkedChoice(option)))
            return dpi;
    ppd_attr_t* fallback = ppdFindAttr(FPpd, "DefaultResolution", nullptr);
    return fallback && fallback->value ? resolutionDpi(fallback->value) : 0;
}

std::optional<TPpdSheet> TQueuePpd::Sheet() const {
    ppd_size_t* size = FPpd ? ppdPageSize(FPpd, nullptr) : nullptr;
    if (!size || size->width <= 0 || size->length <= 0)
        return std::nullopt;
    return TPpdSheet{size->width, size->length, size->left, size->bottom, size->right, size->top};
}

std::optional<cups_page_header2_t> TQueuePpd::RasterHeader() const {
    if (!FPpd)
        return std::nullopt;
    cups_option_t* options = nullptr;
    int count = 0;
    for (auto option = FMarked.constBegin(); option != FMarked.constEnd(); ++option)
        count = cupsAddOption(option.key().constData(), option.value().constData(), count, &options);
    cups_page_header2_t header{};
    const bool made = cupsRasterInterpretPPD(&header, FPpd, count, options, nullptr) == 0;
    cupsFreeOptions(count, options);
    if (!made || !writablePixels(header))
        return std::nullopt;
    return header;
}

QByteArray TQueuePpd::MarkedChoice(const char* Option) const {
    ppd_choice_t* marked = FPpd ? ppdFindMarkedChoice(FPpd, Option) : nullptr;
    return marked ? QByteArray(marked->choice) : QByteArray();
}

bool IsReverseOrder(const QByteArray& Order) {
    const QByteArray order = Order.trimmed().toLower();
    return order == "reverse" || order == "reverse-order";
}

bool TQueuePpd::ReverseOrder() const {
    const auto attribute = [this](const char* name, const char* spec) {
        ppd_attr_t* found = FPpd ? ppdFindAttr(FPpd, name, spec) : nullptr;
        return found && found->value ? QByteArray(found->value) : QByteArray();
    };
    QByteArray order = MarkedChoice("OutputOrder");
    if (const QByteArray bin = MarkedChoice("OutputBin"); order.isEmpty() && !bin.isEmpty())
        order = attribute("PageStackOrder", bin.constData());
    if (order.isEmpty())
        order = attribute("DefaultOutputOrder", nullptr);
    return IsReverseOrder(order);
}

QByteArray TQueuePpd::BackSide() const {
    ppd_attr_t* back = FPpd ? ppdFindAttr(FPpd, "cupsBackSide", nullptr) : nullptr;
    if (!back || !back->value)
        return "normal";
    const QByteArray value = QByteArray(back->value).toLower();
    return value == "manualtumble" ? QByteArray("manual-tumble") : value;
}

#pragma GCC diagnostic pop
