#include "app/printing/FilterJob.h"

#include "app/options/PageSelection.h"
#include "app/printing/EPrinter.h"

#include <cstring>
#include <optional>

namespace {

constexpr char MediaName[] = "kestrova-media";
constexpr char MediaPositionName[] = "kestrova-media-position";
constexpr char ResolutionName[] = "kestrova-resolution";
constexpr char TypeName[] = "kestrova-raster-type";
constexpr char SidesName[] = "kestrova-sides";
constexpr char SheetBackName[] = "kestrova-sheet-back";
constexpr char SheetName[] = "kestrova-sheet";
constexpr char MarginsName[] = "kestrova-margins";
constexpr char PagesName[] = "kestrova-pages";
constexpr char CopiesName[] = "kestrova-copies";
constexpr char BlankBackName[] = "kestrova-blank-back";
constexpr char ReverseName[] = "kestrova-reverse";
constexpr char ScalingName[] = "kestrova-scaling";
constexpr char OrientationName[] = "kestrova-orientation";
constexpr char ColorName[] = "kestrova-color";
constexpr char DriverHeaderName[] = "kestrova-driver-header";

// The bounds that keep every count of sent pages within an int: CUPS's own default limit on copies, and a
// hundred thousand pages a round.
constexpr int MaxCopies = 9999;
constexpr int MaxPages = 100000;

// TScaling's values by their order.
const QList<QByteArray> ScalingNames{"specified", "auto", "fit", "fill", "none"};

// A number written as decimal digits alone, within an int.
std::optional<int> wholeNumber(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 9)
        return {};
    for (const char digit : text)
        if (digit < '0' || digit > '9')
            return {};
    return text.toInt();
}

// Whole numbers joined by Separator.
std::optional<QList<int>> wholeNumbers(const QByteArray& text, char separator) {
    QList<int> numbers;
    for (const QByteArray& part : text.split(separator)) {
        const std::optional<int> number = wholeNumber(part);
        if (!number)
            return {};
        numbers.append(*number);
    }
    return numbers;
}

// "1-3,5,9": the pages in order, consecutive runs as ranges.
QByteArray pageList(const QList<int>& pages) {
    QList<QByteArray> runs;
    for (qsizetype first = 0; first < pages.size();) {
        qsizetype last = first;
        while (last + 1 < pages.size() && pages[last + 1] == pages[last] + 1)
            ++last;
        runs.append(last == first ? QByteArray::number(pages[first])
                                  : QByteArray::number(pages[first]) + '-' + QByteArray::number(pages[last]));
        first = last + 1;
    }
    return runs.join(',');
}

std::optional<QList<int>> readPageList(const QByteArray& text) {
    QList<int> pages;
    for (const QByteArray& run : text.split(',')) {
        const std::optional<QList<int>> ends = wholeNumbers(run, '-');
        if (!ends || ends->size() > 2 || ends->first() < 1 || ends->last() < ends->first() ||
            pages.size() + qsizetype(ends->last() - ends->first()) >= MaxPages)
            return {};
        for (int page = ends->first(); page <= ends->last(); ++page)
            pages.append(page);
    }
    return pages;
}

QByteArray flag(bool value) {
    return value ? "true" : "false";
}

// The attributes read one by one, each raising when it is missing or malformed.
class TAttributeReader {
public:
    explicit TAttributeReader(const TOptionValues& attributes) : FAttributes(attributes) {}

    QByteArray value(const char* name) const {
        const auto found = FAttributes.constFind(name);
        if (found == FAttributes.constEnd())
            throw EPrinter(QStringLiteral("The job attribute %1 is missing").arg(QLatin1String(name)));
        return *found;
    }

    [[noreturn]] void malformed(const char* name, const char* form) const {
        throw EPrinter(QStringLiteral("The job attribute %1 has a malformed value \"%2\": it takes %3")
                           .arg(QLatin1String(name), QString::fromUtf8(value(name)), QLatin1String(form)));
    }

    int number(const char* name, int lowest, int highest, const char* form) const {
        const std::optional<int> number = wholeNumber(value(name));
        if (!number || *number < lowest || *number > highest)
            malformed(name, form);
        return *number;
    }

    // One of Keywords, as its position among them.
    qsizetype keyword(const char* name, const QList<QByteArray>& keywords) const {
        const qsizetype index = keywords.indexOf(value(name));
        if (index < 0) {
            const QByteArray listed = keywords.join(", ");
            malformed(name, listed.constData());
        }
        return index;
    }

    bool truth(const char* name) const { return keyword(name, {"false", "true"}) == 1; }

    // Count whole numbers joined by Separator.
    QList<int> numbers(const char* name, char separator, qsizetype count, const char* form) const {
        const std::optional<QList<int>> numbers = wholeNumbers(value(name), separator);
        if (!numbers || numbers->size() != count)
            malformed(name, form);
        return *numbers;
    }

private:
    const TOptionValues& FAttributes;
};

// A PWG media name: lower-case letters, digits and ". _ -".
bool isMediaName(const QByteArray& name) {
    if (name.isEmpty())
        return false;
    for (const char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-'))
            return false;
    return true;
}

TPwgPageSetup readSetup(const TAttributeReader& read) {
    TPwgPageSetup setup;
    setup.Media = read.value(MediaName);
    if (!isMediaName(setup.Media))
        read.malformed(MediaName, "a PWG paper name such as iso_a4_210x297mm");
    setup.MediaPosition = read.number(MediaPositionName, 0, 49, "a tray as PWG numbers them, 0 to 49");
    setup.Resolution = read.number(ResolutionName, 1, 9600, "dots per inch, 1 to 9600");
    const QList<QByteArray> types{"sgray_8", "black_1", "srgb_8"};
    setup.Type = types[read.keyword(TypeName, types)];
    const QList<QByteArray> sides{"one-sided", "two-sided-long-edge", "two-sided-short-edge"};
    setup.Sides = sides[read.keyword(SidesName, sides)];
    const QList<QByteArray> backs{"normal", "flipped", "rotated", "manual-tumble"};
    setup.SheetBack = backs[read.keyword(SheetBackName, backs)];
    const char* sheetForm = "the sheet's width and height in device pixels, such as 5100x6600";
    const QList<int> sheet = read.numbers(SheetName, 'x', 2, sheetForm);
    if (sheet[0] < 1 || sheet[1] < 1)
        read.malformed(SheetName, sheetForm);
    setup.SheetWidth = sheet[0];
    setup.SheetHeight = sheet[1];
    const char* marginsForm =
        "the left, top, right and bottom margins in device pixels, such as 100,100,100,100, "
        "that leave a printable area";
    const QList<int> margins = read.numbers(MarginsName, ',', 4, marginsForm);
    setup.Left = margins[0];
    setup.Top = margins[1];
    setup.Right = margins[2];
    setup.Bottom = margins[3];
    if (setup.PrintableWidth() < 1 || setup.PrintableHeight() < 1)
        read.malformed(MarginsName, marginsForm);
    return setup;
}

} // namespace

int TFilterJob::SentCount() const {
    return Copies * int(SidesPerCopy(Pages, BlankBack));
}

int TFilterJob::SentPage(int Index) const {
    return SideOfCopy(Pages, BlankBack, Reverse, Index % SidesPerCopy(Pages, BlankBack));
}

namespace {

// A raster driver's page header as short text: its bytes, mostly zeros, compressed and in base64url.
QByteArray headerText(const cups_page_header2_t& header) {
    return qCompress(QByteArray(reinterpret_cast<const char*>(&header), sizeof header))
        .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

std::optional<cups_page_header2_t> readHeader(const QByteArray& text) {
    const QByteArray bytes = qUncompress(
        QByteArray::fromBase64(text, QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
    if (bytes.size() != qsizetype(sizeof(cups_page_header2_t)))
        return std::nullopt;
    cups_page_header2_t header;
    std::memcpy(&header, bytes.constData(), sizeof header);
    return header;
}

} // namespace

TOptionValues FilterJobAttributes(const TFilterJob& Job) {
    const TPwgPageSetup& setup = Job.Setup;
    TOptionValues attributes{
        {MediaName, setup.Media},
        {MediaPositionName, QByteArray::number(setup.MediaPosition)},
        {ResolutionName, QByteArray::number(setup.Resolution)},
        {TypeName, setup.Type},
        {SidesName, setup.Sides},
        {SheetBackName, setup.SheetBack},
        {SheetName, QByteArray::number(setup.SheetWidth) + 'x' + QByteArray::number(setup.SheetHeight)},
        {MarginsName, QByteArray::number(setup.Left) + ',' + QByteArray::number(setup.Top) + ',' +
                          QByteArray::number(setup.Right) + ',' + QByteArray::number(setup.Bottom)},
        {PagesName, pageList(Job.Pages)},
        {CopiesName, QByteArray::number(Job.Copies)},
        {BlankBackName, flag(Job.BlankBack)},
        {ReverseName, flag(Job.Reverse)},
        {ScalingName, ScalingNames[int(Job.Scaling)]},
        {OrientationName, Job.Orientation ? QByteArray::number(*Job.Orientation) : QByteArray("none")},
        {ColorName, flag(Job.Color)}};
    if (setup.DriverHeader)
        attributes.insert(DriverHeaderName, headerText(*setup.DriverHeader));
    return attributes;
}

TFilterJob ReadFilterJob(const TOptionValues& Attributes) {
    const TAttributeReader read(Attributes);
    TFilterJob job;
    job.Setup = readSetup(read);
    const std::optional<QList<int>> pages = readPageList(read.value(PagesName));
    if (!pages)
        read.malformed(PagesName,
                       "page numbers from 1 and ranges of them in the order they print, such as 1-36 "
                       "or 1-3,5, at most 100000 pages");
    job.Pages = *pages;
    job.Copies = read.number(CopiesName, 1, MaxCopies, "a whole number from 1 to 9999");
    job.BlankBack = read.truth(BlankBackName);
    job.Reverse = read.truth(ReverseName);
    job.Scaling = TScaling(read.keyword(ScalingName, ScalingNames));
    const QList<QByteArray> orientations{"none", "3", "4", "5", "6"};
    if (const qsizetype orientation = read.keyword(OrientationName, orientations); orientation > 0)
        job.Orientation = orientation + 2;
    job.Color = read.truth(ColorName);
    if (const QByteArray header = Attributes.value(DriverHeaderName); !header.isEmpty()) {
        job.Setup.DriverHeader = readHeader(header);
        if (!job.Setup.DriverHeader)
            read.malformed(DriverHeaderName, "a raster driver's page header as Kestrova writes it");
    }
    return job;
}
