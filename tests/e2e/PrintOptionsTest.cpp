// Print options end to end: a link's options, a CUPS instance's and their refusals, run in the real main form
// against the private print system, and read back from the PWG raster the driverless printers received: the
// page headers (sides, paper, tray, colour), which source page each side holds, turned back as the printer
// turned it, and where a page lands. The two-sided colour printer takes no copies itself and turns back sides
// ("rotated").
#include "JobHarness.h"

#include "app/options/PrintOptions.h"
#include "app/printing/CupsDestination.h"
#include "app/printing/PageFit.h"
#include "support/PdfFixtures.h"
#include "support/PrintSystem.h"
#include "support/PrintedSheets.h"
#include "support/PwgRaster.h"
#include "support/TestData.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cups/raster.h>

namespace {

constexpr int CompareDpi = 50;

const QByteArray Square =
    "<< /Type /Annot /Subtype /Square /Rect [380 560 560 740] /C [0.8 0 0] /IC [0.9 0.1 0.1] "
    "/F 4 >>";
// Three Letter pages that tell themselves apart, the first with a red square.
const FixtureDocument ThreePages{{{{612, 792}, "I", 0, {}, {Square}},
                                  {{612, 792}, "IIII IIII IIII"},
                                  {{612, 792}, "MMMMMMMMMMMMMMMMMMMMMMMM"}},
                                 "Three pages"};

// A page covered in black, so that where it lands shows. It is drawn by the page's content, which every
// reader draws, lp's filters among them.
FixtureDocument BlackPage(double width, double height) {
    return {
        {{.Size = {width, height},
          .Content = "0 g 0 0 " + QByteArray::number(width) + ' ' + QByteArray::number(height) + " re f"}}};
}

// A receipt, 80 by 200 mm, covered in black.
const FixtureDocument Receipt = BlackPage(80 / 25.4 * 72, 200 / 25.4 * 72);

QString OptionsLink(const QString& module, const QString& url, const QString& options) {
    return JobLink(module, url) + (options.isEmpty() ? QString() : u'&' + options);
}

// The sheet as the page was drawn on it: a back side turned back as the printer turns it.
QImage Unturned(const PwgPage& sheet) {
    return sheet.Pixels.mirrored(sheet.Mirrored, sheet.UpsideDown);
}

// Which page of Source a side holds: 0 for a blank side, -1 for none.
int PageOf(const PwgPage& sheet, const TPwgPageSetup& setup, const QString& source, int pages) {
    const QImage side = Unturned(sheet);
    if (MeanLevel(side, side.rect()) > 254.9)
        return 0;
    const TPageFit fit = FitPage(setup.PrintableWidth(), setup.PrintableHeight(), 612, 792);
    const double factor = double(CompareDpi) / setup.Resolution;
    const QSize size(qRound(fit.Width * factor), qRound(fit.Height * factor));
    const QImage printed = side.copy(setup.Left, setup.Top, fit.Width, fit.Height)
                               .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int best = -1;
    double bestDifference = 10;
    for (int page = 1; page <= pages; ++page) {
        const double difference = MeanDifference(printed, PopplerPage(source, page, 0, size));
        if (difference < bestDifference) {
            best = page;
            bestDifference = difference;
        }
    }
    return best;
}

class PrintOptions : public FormJob {
protected:
    void SetUp() override {
        FormJob::SetUp();
        if (IsSkipped())
            return;
        Duplex = PrintSystem::Shared().DuplexPrinter();
        Driverless = PrintSystem::Shared().DriverlessPrinter();
        if (Duplex.isEmpty())
            GTEST_SKIP() << "no driverless printers: "
                         << PrintSystem::Shared().DriverlessError().toStdString();
    }

    // Prints Document on Printer (a queue or an instance) with the link's Options; what the queue's printer
    // received.
    QString PrintedBy(const QString& printer, const FixtureDocument& document, const QString& options) {
        WriteTable(Folder.path(), {{"Desk", "Desk", printer}});
        Server.On("GET", "/options.pdf", HttpResponse{200, {}, MakePdf(document)});
        EXPECT_TRUE(RunJob(OptionsLink("Desk", Server.Url("/options.pdf"), options)));
        EXPECT_EQ(Boxes, QStringList());
        const QString printed = Printed(printer.section(u'/', 0, 0));
        EXPECT_FALSE(printed.isEmpty()) << "nothing printed on " << printer.toStdString();
        return printed;
    }

    // Prints Document with lp -d Printer, each of Options (a&b) as an -o; what the queue's printer received.
    QString PrintedByLp(const QString& printer, const FixtureDocument& document, const QString& options) {
        QTemporaryDir sources;
        QStringList arguments{"-d", printer};
        for (const QString& option : options.split(u'&', Qt::SkipEmptyParts))
            arguments << "-o" << option;
        EXPECT_TRUE(PrintSystem::Administer("lp", arguments << WritePdf(sources.path(), "lp.pdf", document)));
        const QString printed = Printed(printer.section(u'/', 0, 0));
        EXPECT_FALSE(printed.isEmpty()) << "nothing printed on " << printer.toStdString() << " by lp";
        return printed;
    }

    // Prints Document on Printer with the link's Options, and reads back what the printer received.
    QList<PwgPage> PrintOn(const QString& printer, const FixtureDocument& document, const QString& options) {
        return ReadPwgRaster(PrintedBy(printer, document, options));
    }

    QString Duplex;
    QString Driverless;
};

struct OptionsCase {
    const char* Name;
    QString Options;     // the link's, as they follow pdfurl
    QList<int> Sides;    // the source page each side holds, 0 for a blank one
    bool Duplex = false; // on two sides
    bool Tumble = false;
    QString Media = "na_letter_8.5x11in";
    int MediaPosition = 0;
    bool Color = false;
};

void PrintTo(const OptionsCase& c, std::ostream* os) {
    *os << c.Name;
}

class PrintOptionsOnTheDuplexPrinter : public PrintOptions,
                                       public testing::WithParamInterface<OptionsCase> {};

TEST_P(PrintOptionsOnTheDuplexPrinter, ReachThePrinterInTheRaster) {
    const OptionsCase& expected = GetParam();
    QTemporaryDir sources;
    const QString source = WritePdf(sources.path(), "three.pdf", ThreePages);
    const QList<PwgPage> sheets = PrintOn(Duplex, ThreePages, expected.Options);
    TOptionValues options;
    for (const QString& pair : expected.Options.split(u'&', Qt::SkipEmptyParts))
        options.insert(pair.section(u'=', 0, 0).toLatin1(), pair.section(u'=', 1).toLatin1());
    const TCupsDestination destination(Duplex);
    const TPwgPageSetup setup = destination.PageSetup(destination.JobOptions(options));

    QList<int> sides;
    for (int i = 0; i < sheets.size(); ++i) {
        const PwgPage& sheet = sheets[i];
        sides.append(PageOf(sheet, setup, source, 3));
        EXPECT_EQ(sheet.Duplex, expected.Duplex) << "side " << i;
        EXPECT_EQ(sheet.Tumble, expected.Tumble) << "side " << i;
        EXPECT_EQ(sheet.Media, expected.Media) << "side " << i;
        EXPECT_EQ(sheet.MediaPosition, expected.MediaPosition) << "side " << i;
        EXPECT_EQ(sheet.ColorSpace, expected.Color ? CUPS_CSPACE_SRGB : CUPS_CSPACE_SW) << "side " << i;
        EXPECT_EQ(sheet.BitsPerPixel, expected.Color ? 24 : 8) << "side " << i;
        EXPECT_EQ(sheet.Colored, expected.Color && sides.last() == 1) << "side " << i;
        // This printer wants long-edge back sides turned upside down, and short-edge ones as they are.
        const bool turned = expected.Duplex && !expected.Tumble && i % 2 == 1;
        EXPECT_EQ(sheet.Mirrored, turned) << "side " << i;
        EXPECT_EQ(sheet.UpsideDown, turned) << "side " << i;
    }
    EXPECT_EQ(sides, expected.Sides);
}

// The printer stacks its sheets face up (its output bin, as its PPD says), so each copy goes last page first,
// as lp's does there.
INSTANTIATE_TEST_SUITE_P(
    Options, PrintOptionsOnTheDuplexPrinter,
    testing::Values(
        OptionsCase{"None", "", {3, 2, 1}},
        OptionsCase{"TwoSidedLongEdge", "sides=two-sided-long-edge", {0, 3, 2, 1}, true},
        OptionsCase{"TwoSidedShortEdge", "sides=two-sided-short-edge", {0, 3, 2, 1}, true, true},
        OptionsCase{"PaperAndTray",
                    "media=iso_a4_210x297mm&media-source=photo",
                    {3, 2, 1},
                    false,
                    false,
                    "iso_a4_210x297mm",
                    7},
        OptionsCase{
            "Colour", "print-color-mode=color", {3, 2, 1}, false, false, "na_letter_8.5x11in", 0, true},
        OptionsCase{"Monochrome", "print-color-mode=monochrome", {3, 2, 1}},
        // The printer's choice on a colour printer is colour.
        OptionsCase{"ColourModeAuto",
                    "print-color-mode=auto",
                    {3, 2, 1},
                    false,
                    false,
                    "na_letter_8.5x11in",
                    0,
                    true},
        OptionsCase{"CopiesCollated", "copies=2", {3, 2, 1, 3, 2, 1}},
        OptionsCase{"CopiesOnTwoSidesEachOnSheetsOfItsOwn",
                    "copies=2&sides=two-sided-long-edge",
                    {0, 3, 2, 1, 0, 3, 2, 1},
                    true},
        OptionsCase{"PageRanges", "page-ranges=2-3", {3, 2}},
        OptionsCase{"PageRangesBeyondTheDocument", "page-ranges=1,3-9", {3, 1}}),
    [](const auto& info) { return std::string(info.param.Name); });

// print-color-mode=auto on a gray printer prints gray, and bi-level black and white: 1-bit black where the
// printer takes it. Neither mode is one the printer lists, so it is sent the mode the pages are in.
TEST_F(PrintOptions, ColourModesTheGrayPrinterDoesNotListPrintAsItsOwn) {
    for (const auto& [mode, bits] : {std::pair{"auto", 8}, std::pair{"bi-level", 1}}) {
        const QList<PwgPage> sheets =
            PrintOn(Driverless, ThreePages, QStringLiteral("print-color-mode=") + mode);
        ASSERT_EQ(sheets.size(), 3) << mode;
        for (const PwgPage& sheet : sheets) {
            EXPECT_EQ(sheet.BitsPerPixel, bits) << mode;
            EXPECT_EQ(sheet.ColorSpace, bits == 1 ? CUPS_CSPACE_K : CUPS_CSPACE_SW) << mode;
        }
    }
}

// Where a page lands with print-scaling, as lp puts it: a landscape page fitted on the portrait sheet is
// turned, fills the printable area's width and lies in the area's middle; a receipt at its own size sits in
// the sheet's middle, though the printer's margins differ at the top and the foot.
TEST_F(PrintOptions, ScalingKeepsProportionsAndCentres) {
    const TPwgPageSetup setup = TCupsDestination(Duplex).PageSetup();
    const QRect printable(setup.Left, setup.Top, setup.PrintableWidth(), setup.PrintableHeight());

    QList<PwgPage> sheets = PrintOn(Duplex, BlackPage(792, 612), "print-scaling=fit");
    ASSERT_EQ(sheets.size(), 1);
    QRect dark = DarkArea(sheets[0].Pixels);
    EXPECT_NEAR(dark.left(), printable.left(), 2);
    EXPECT_NEAR(dark.right(), printable.right(), 2);
    EXPECT_NEAR(dark.height(), dark.width() * 792.0 / 612.0, 3);
    EXPECT_GE(dark.top(), printable.top() - 1);
    EXPECT_LE(dark.bottom(), printable.bottom() + 1);
    EXPECT_NEAR(dark.top() + dark.bottom(), printable.top() + printable.bottom(), 3);

    sheets = PrintOn(Duplex, Receipt, "print-scaling=none");
    ASSERT_EQ(sheets.size(), 1);
    dark = DarkArea(sheets[0].Pixels);
    EXPECT_NEAR(dark.width(), 80 / 25.4 * setup.Resolution, 2);
    EXPECT_NEAR(dark.height(), 200 / 25.4 * setup.Resolution, 2);
    EXPECT_NEAR(dark.center().x(), setup.SheetWidth / 2, 2);
    EXPECT_NEAR(dark.center().y(), setup.SheetHeight / 2, 2);
}

// A CUPS instance named in the table prints with its options on its queue, through the PWG stream, as lp -d
// prints it: with the queue's own defaults (this printer's is colour, which lpoptions leaves out of an
// instance that asks for it) and the instance's over them; the link's options go over the instance's.
TEST_F(PrintOptions, AnInstancePrintsWithItsOptionsAndTheLinksGoOverThem) {
    ASSERT_TRUE(PrintSystem::Administer("lpoptions",
                                        {"-p", Duplex + "/a4duplex", "-o", "sides=two-sided-long-edge", "-o",
                                         "media=iso_a4_210x297mm", "-o", "print-color-mode=color"}));
    const QString instance = Duplex + "/a4duplex";
    QList<PwgPage> sheets = PrintOn(instance, ThreePages, "");
    ASSERT_EQ(sheets.size(), 4);
    for (const PwgPage& sheet : sheets) {
        EXPECT_TRUE(sheet.Duplex);
        EXPECT_EQ(sheet.Media, "iso_a4_210x297mm");
        EXPECT_EQ(sheet.ColorSpace, CUPS_CSPACE_SRGB);
    }
    sheets = PrintOn(instance, ThreePages, "sides=one-sided");
    ASSERT_EQ(sheets.size(), 3);
    for (const PwgPage& sheet : sheets) {
        EXPECT_FALSE(sheet.Duplex);
        EXPECT_EQ(sheet.Media, "iso_a4_210x297mm");
    }
    PrintSystem::Administer("lpoptions", {"-x", instance});

    // PPD option names in an instance, as lpoptions takes them.
    ASSERT_TRUE(PrintSystem::Administer("lpoptions", {"-p", Duplex + "/ppd", "-o", "Duplex=DuplexTumble"}));
    sheets = PrintOn(Duplex + "/ppd", ThreePages, "");
    ASSERT_EQ(sheets.size(), 4);
    EXPECT_TRUE(sheets[0].Duplex && sheets[0].Tumble);
    PrintSystem::Administer("lpoptions", {"-x", Duplex + "/ppd"});
}

// Three Letter pages told apart by a black square in their middle, 1, 2 and 3 inches wide, so that which page
// a side holds shows however the page was placed, scaled to a printable area or turned.
FixturePage SquarePage(int inches) {
    const QByteArray side = QByteArray::number(72 * inches);
    return {.Size = {612, 792},
            .Content = "0 g " + QByteArray::number(306 - 36 * inches) + ' ' +
                       QByteArray::number(396 - 36 * inches) + ' ' + side + ' ' + side + " re f"};
}
const FixtureDocument Squares{{SquarePage(1), SquarePage(2), SquarePage(3)}, "Squares"};

// Which page of Squares a sheet at Dpi holds, by the width of its square in inches; 0 for a blank side.
int SquareOf(const QImage& sheet, int dpi) {
    const QRect dark = DarkArea(sheet);
    return dark.isEmpty() ? 0 : qRound(double(dark.width()) / dpi);
}

// A landscape page with a black block in its upper left quarter, so that how it was turned shows.
const FixtureDocument MarkedLandscape{{{.Size = {792, 612}, .Content = "0 g 72 396 288 144 re f"}}};

// A receipt and a square page with a black bar across their middle, so that where a page cut at its top and
// foot, or shorter than the printable area, was centred shows.
const FixtureDocument BarredReceipt{
    {{.Size = {80 / 25.4 * 72, 200 / 25.4 * 72}, .Content = "0 g 0 273.46 226.77 20 re f"}}};
const FixtureDocument BarredSquare{{{.Size = {612, 612}, .Content = "0 g 0 296 612 20 re f"}}};

// The same options through Kestrova and through lp -o, on the two-sided colour printer, and what each
// printer received: which page each side holds (the printer stacks face up, so each copy goes last page
// first), on which paper, on one or two sides, in colour or not. Where the two differ, Verdict says which is
// right and why.
struct BesideLp {
    const char* Name;
    QString Options;          // the link's, as a&b; lp gets each as -o
    QList<int> KestrovaPages; // which page of Document each side holds, 0 for a blank one
    QList<int> LpPages;
    bool KestrovaColour;
    bool LpColour;
    const char* Verdict;
    QString Instance = {};     // printed on this instance of the printer
    QStringList Chosen = {};   // the instance's lpoptions; none: the instance is missing
    QStringList Defaults = {}; // the queue's defaults set by lpadmin -p for the case, and what undoes them
    QStringList Undo = {};
    FixtureDocument Document = Squares;
    bool SameInk = false; // the ink of each side lies where lp's does
};

void PrintTo(const BesideLp& beside, std::ostream* out) {
    *out << beside.Name;
}

// A sheet's size in hundredths of an inch, whatever the name its paper goes by.
QSize SheetSize(const PwgPage& sheet) {
    return {qRound(100.0 * sheet.Pixels.width() / sheet.Resolution),
            qRound(100.0 * sheet.Pixels.height() / sheet.Resolution)};
}

// Whether two areas of a sheet lie within Tolerance pixels of each other, edge by edge.
bool NearlyEqual(const QRect& a, const QRect& b, int tolerance) {
    return std::abs(a.left() - b.left()) <= tolerance && std::abs(a.right() - b.right()) <= tolerance &&
           std::abs(a.top() - b.top()) <= tolerance && std::abs(a.bottom() - b.bottom()) <= tolerance;
}

// An area of a sheet as a failure message shows it: its left, top, right and bottom in pixels.
std::string Edges(const QRectF& area) {
    return QStringLiteral("[%1, %2, %3, %4]")
        .arg(area.left(), 0, 'f', 1)
        .arg(area.top(), 0, 'f', 1)
        .arg(area.right(), 0, 'f', 1)
        .arg(area.bottom(), 0, 'f', 1)
        .toStdString();
}

class PrintOptionsBesideLp : public PrintOptions, public testing::WithParamInterface<BesideLp> {};

TEST_P(PrintOptionsBesideLp, ReachThePrinterAsLpsDo) {
    const BesideLp& expected = GetParam();
    SCOPED_TRACE(expected.Verdict);
    const QString printer = expected.Instance.isEmpty() ? Duplex : Duplex + '/' + expected.Instance;
    if (!expected.Chosen.isEmpty()) {
        ASSERT_TRUE(PrintSystem::Administer("lpoptions", QStringList{"-p", printer} + expected.Chosen));
    }
    // A change to the queue restarts the jobs it still has, which the printer would then receive again.
    if (!expected.Defaults.isEmpty()) {
        ASSERT_TRUE(PrintSystem::WaitUntilIdle(Duplex));
        ASSERT_TRUE(PrintSystem::Administer("lpadmin", QStringList{"-p", Duplex} + expected.Defaults));
    }
    const QList<PwgPage> kestrova = ReadPwgRaster(PrintedBy(printer, expected.Document, expected.Options));
    const QList<PwgPage> lp = ReadPwgRaster(PrintedByLp(printer, expected.Document, expected.Options));
    if (!expected.Chosen.isEmpty())
        PrintSystem::Administer("lpoptions", {"-x", printer});
    if (!expected.Undo.isEmpty()) {
        EXPECT_TRUE(PrintSystem::WaitUntilIdle(Duplex));
        PrintSystem::Administer("lpadmin", QStringList{"-p", Duplex} + expected.Undo);
    }
    QList<int> kestrovaPages, lpPages;
    for (const PwgPage& side : kestrova)
        kestrovaPages.append(SquareOf(side.Pixels, side.Resolution));
    for (const PwgPage& side : lp)
        lpPages.append(SquareOf(side.Pixels, side.Resolution));
    EXPECT_EQ(kestrovaPages, expected.KestrovaPages);
    EXPECT_EQ(lpPages, expected.LpPages);
    for (int side = 0; side < std::min(kestrova.size(), lp.size()); ++side) {
        EXPECT_EQ(SheetSize(kestrova[side]), SheetSize(lp[side])) << "side " << side;
        EXPECT_EQ(kestrova[side].Duplex, lp[side].Duplex) << "side " << side;
        EXPECT_EQ(kestrova[side].Tumble, lp[side].Tumble) << "side " << side;
        EXPECT_EQ(kestrova[side].ColorSpace == CUPS_CSPACE_SRGB, expected.KestrovaColour) << "side " << side;
        EXPECT_EQ(lp[side].ColorSpace == CUPS_CSPACE_SRGB, expected.LpColour) << "side " << side;
        if (expected.SameInk) {
            const QRect ink = DarkArea(kestrova[side].Pixels), lpInk = DarkArea(lp[side].Pixels);
            EXPECT_TRUE(NearlyEqual(ink, lpInk, kestrova[side].Resolution / 100))
                << "side " << side << ": " << Edges(ink) << " where lp's is " << Edges(lpInk);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, PrintOptionsBesideLp,
    testing::Values(
        BesideLp{"None",
                 "",
                 {3, 2, 1},
                 {3, 2, 1},
                 false,
                 true,
                 "Kestrova is right by its own rule: without options a job prints in gray, whatever the "
                 "printer's default; lp takes the printer's colour. Both stack face up: last page first"},
        BesideLp{"TwoSided",
                 "sides=two-sided-long-edge",
                 {0, 3, 2, 1},
                 {0, 3, 2, 1},
                 false,
                 true,
                 "both print two sheets, last page first, the blank back of the odd page count leading"},
        BesideLp{"Colour", "print-color-mode=color", {3, 2, 1}, {3, 2, 1}, true, true, "both: colour pages"},
        BesideLp{"Paper", "media=iso_a4_210x297mm", {3, 2, 1}, {3, 2, 1}, false, true, "both: A4"},
        BesideLp{"Copies",
                 "copies=2",
                 {3, 2, 1, 3, 2, 1},
                 {3, 3, 2, 2, 1, 1},
                 false,
                 true,
                 "the printer makes no copies, so both send each; Kestrova is right by its own rule: it "
                 "collates them, each copy a whole document, where lp, not asked for collate=true, sends "
                 "each page twice in a row"},
        BesideLp{"CopiesOnTwoSides",
                 "copies=2&sides=two-sided-long-edge",
                 {0, 3, 2, 1, 0, 3, 2, 1},
                 {0, 3, 2, 1, 0, 3, 2, 1},
                 false,
                 true,
                 "both: each copy on sheets of its own, last page first"},
        // lp's sheets hold the pages at two thirds of their size: page 3 alone, its square 2 inches wide,
        // then pages 1 and 2, one above the other.
        BesideLp{"NumberUp",
                 "number-up=2",
                 {3, 2, 1},
                 {2, 1},
                 false,
                 true,
                 "lp is right: it puts two pages on a sheet; Kestrova ignores number-up in a link, as every "
                 "parameter it does not take, and prints each page on a sheet of its own"},
        BesideLp{"InstanceWithColourAndDuplex",
                 "",
                 {0, 3, 2, 1},
                 {0, 3, 2, 1},
                 true,
                 true,
                 "both take the instance's options, PPD names among them",
                 "colourduplex",
                 QStringList{"-o", "print-color-mode=color", "-o", "Duplex=DuplexNoTumble"}},
        BesideLp{"InstanceInOrder",
                 "copies=2&sides=two-sided-long-edge",
                 {1, 2, 3, 0, 1, 2, 3, 0},
                 {1, 2, 3, 0, 1, 2, 3, 0},
                 true,
                 true,
                 "both send the pages in order where the instance says OutputOrder=Normal, and in colour, "
                 "the queue's default that an instance takes",
                 "inorder",
                 QStringList{"-o", "OutputOrder=Normal"}},
        BesideLp{"MissingInstance",
                 "",
                 {3, 2, 1},
                 {3, 2, 1},
                 false,
                 true,
                 "both print on the queue with its own options, Kestrova in gray as without options",
                 "nosuch"},
        BesideLp{"QueueDefaultDuplex",
                 "",
                 {0, 3, 2, 1},
                 {0, 3, 2, 1},
                 false,
                 true,
                 "both print two-sided, as the administrator set the queue's PPD default",
                 {},
                 {},
                 QStringList{"-o", "Duplex=DuplexNoTumble"},
                 QStringList{"-o", "Duplex=None"}},
        BesideLp{"QueueDefaultSidesBesideItsPpd",
                 "",
                 {3, 2, 1},
                 {3, 2, 1},
                 false,
                 true,
                 "both print one-sided: the print system keeps no sides-default of its own for a queue "
                 "with a PPD, whose Duplex default stays None",
                 {},
                 {},
                 QStringList{"-o", "sides-default=two-sided-long-edge"},
                 QStringList{"-R", "sides-default"}},
        // The printer's margins differ at the top (1.0 mm) and the foot (11.7 mm).
        BesideLp{"AtItsOwnSizeBetweenUnevenMargins",
                 "print-scaling=none",
                 {3},
                 {3},
                 false,
                 true,
                 "both put the receipt in the middle of the sheet",
                 {},
                 {},
                 {},
                 {},
                 Receipt,
                 true},
        // Of a page other than the squares, the number of a side is the width of its ink in inches.
        BesideLp{"FittedBetweenUnevenMargins",
                 "print-scaling=fit",
                 {8},
                 {8},
                 false,
                 true,
                 "both put the square page in the middle of the printable area, as wide as it is",
                 {},
                 {},
                 {},
                 {},
                 BarredSquare,
                 true},
        BesideLp{"FilledBetweenUnevenMargins",
                 "print-scaling=fill",
                 {8},
                 {8},
                 false,
                 true,
                 "both cover the printable area with the receipt, centred on it and cut at its edges",
                 {},
                 {},
                 {},
                 {},
                 BarredReceipt,
                 true}),
    [](const auto& info) { return std::string(info.param.Name); });

// The same options through Kestrova and through lp -o on the queue of CUPS's generic PostScript driver, and
// the sheets its printer makes of what it received: which page each sheet holds, its size and where the ink
// lies. Where the two differ, Verdict says which is right and why.
struct PostScriptBesideLp {
    const char* Name;
    FixtureDocument Document;
    QString Options;
    QList<int> Pages; // which page of Document each sheet holds, for both
    // Kestrova draws the page across the width of the printable area from its top-left corner, where lp
    // draws it at its own size; else the ink of both lies in the same place.
    bool AcrossThePrintableArea;
    const char* Verdict;
};

void PrintTo(const PostScriptBesideLp& beside, std::ostream* out) {
    *out << beside.Name;
}

class PrintOptionsOnPostScriptBesideLp : public PrintOptions,
                                         public testing::WithParamInterface<PostScriptBesideLp> {};

TEST_P(PrintOptionsOnPostScriptBesideLp, MakeTheSheetsLpsMake) {
    const PostScriptBesideLp& expected = GetParam();
    // Fine enough that a page drawn 4 % smaller shows.
    constexpr int PostScriptDpi = 100;
    SCOPED_TRACE(expected.Verdict);
    const QString printer = PrintSystem::Shared().PostScriptPrinter();
    const QList<QImage> kestrova =
        PrintedSheets(PrintedBy(printer, expected.Document, expected.Options), PostScriptDpi);
    const QList<QImage> lp =
        PrintedSheets(PrintedByLp(printer, expected.Document, expected.Options), PostScriptDpi);
    QList<int> kestrovaPages, lpPages;
    for (const QImage& sheet : kestrova)
        kestrovaPages.append(SquareOf(sheet, PostScriptDpi));
    for (const QImage& sheet : lp)
        lpPages.append(SquareOf(sheet, PostScriptDpi));
    EXPECT_EQ(kestrovaPages, expected.Pages);
    EXPECT_EQ(lpPages, expected.Pages);

    // The printable area at PostScriptDpi, and how much smaller than the sheet a page drawn across it is.
    const TPwgPageSetup setup = TCupsDestination(printer).PageSetup();
    const double factor = double(PostScriptDpi) / setup.Resolution;
    const double scale = double(setup.PrintableWidth()) / setup.SheetWidth;
    for (int sheet = 0; sheet < std::min(kestrova.size(), lp.size()); ++sheet) {
        EXPECT_EQ(kestrova[sheet].size(), lp[sheet].size()) << "sheet " << sheet;
        QRectF where = DarkArea(lp[sheet]);
        if (expected.AcrossThePrintableArea)
            where =
                QRectF(setup.Left * factor + where.left() * scale, setup.Top * factor + where.top() * scale,
                       where.width() * scale, where.height() * scale);
        const QRect ink = DarkArea(kestrova[sheet]);
        EXPECT_TRUE(NearlyEqual(ink, where.toRect(), 2))
            << "sheet " << sheet << ": " << Edges(ink) << " where " << Edges(where) << " was expected";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, PrintOptionsOnPostScriptBesideLp,
    testing::Values(
        PostScriptBesideLp{"None",
                           Squares,
                           "",
                           {1, 2, 3},
                           true,
                           "Kestrova is right by its own rule: without options the page fills the width of "
                           "the printable area from its top-left corner, where lp prints it at its own size "
                           "and the printer leaves out what lies in its margins"},
        PostScriptBesideLp{"Copies",
                           Squares,
                           "copies=2",
                           {1, 1, 2, 2, 3, 3},
                           true,
                           "both ask the printer for two copies of each page"},
        PostScriptBesideLp{"LandscapeAtItsOwnSize",
                           MarkedLandscape,
                           "print-scaling=none",
                           {2},
                           false,
                           "both turn the landscape page onto the portrait sheet the same way, whole"}),
    [](const auto& info) { return std::string(info.param.Name); });

// A queue on a raster driver (CUPS's sample Zebra ZPL label driver) gets the options in the page header of
// the CUPS raster it takes: the paper the label is made for and the copies the driver asks the printer for;
// lp -o with the same options makes the same label.
TEST_F(PrintOptions, ALabelPrinterGetsThemInItsDriversRaster) {
    const QString label = PrintSystem::Shared().LabelPrinter();
    struct Label {
        QString Options;
        QByteArray Copies; // ZPL: ^PQ, the copies of the label, given only for more than one
        QByteArray Width;  // ^PW, the label's width in dots at 203 dpi
        QByteArray Image;  // ~DG, the label's image: its bytes and the bytes of a row
    };
    for (const Label& expected : {Label{"", "", "^PW812", "~DGR:CUPS.GRF,103530,102,"},
                                  Label{"copies=2&media=custom_2x4in_2x4in&print-scaling=fit", "^PQ2,",
                                        "^PW406", "~DGR:CUPS.GRF,41412,51,"}}) {
        // lp -o with the same options makes the same label: its size, copies and image size.
        for (const QString& path :
             {PrintedBy(label, Receipt, expected.Options), PrintedByLp(label, Receipt, expected.Options)}) {
            QFile printed(path);
            ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
            const QByteArray zpl = printed.readAll();
            for (const QByteArray& command : {expected.Copies, expected.Width, expected.Image})
                EXPECT_TRUE(zpl.contains(command))
                    << command.toStdString() << " in " << zpl.left(200).toStdString();
        }
    }
}

// A link without options gives the raster that Kestrova sent before print options existed, byte for byte:
// the SHA-256 of what each driverless printer received for the A4 test page then.
TEST_F(PrintOptions, WithoutOptionsTheRasterIsAsItWas) {
    const QString source = testDataPath("realworld/default-testpage.pdf");
    if (!QFile::exists(source))
        GTEST_SKIP() << "source document not found: " << source.toStdString();
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    Server.On("GET", "/testpage.pdf", HttpResponse{200, {}, file.readAll()});
    const QList<std::pair<QString, QByteArray>> printers{
        {Driverless, "16d60f7c2753e04b35614e9e256e08ce3fd67523f840fe8f9bf4f11fc40f4e8d"},
        {Duplex, "fc2ce0821a958b693a4f698e083f301d130f7baf620ef0a450ba36c918371ed5"}};
    for (const auto& [printer, sha256] : printers) {
        WriteTable(Folder.path(), {{"Desk", "Desk", printer}});
        ASSERT_TRUE(RunJob(JobLink("Desk", Server.Url("/testpage.pdf"))));
        QFile printed(Printed(printer));
        ASSERT_TRUE(printed.open(QIODevice::ReadOnly)) << printer.toStdString();
        EXPECT_EQ(QCryptographicHash::hash(printed.readAll(), QCryptographicHash::Sha256).toHex(), sha256)
            << printer.toStdString();
    }
}

// An option that is malformed, or that the printer does not support, ends the job before anything is
// downloaded, with a message that names the option, the value and what the printer takes.
struct RefusalCase {
    const char* Name;
    QString Printer; // "driverless" or "duplex"
    QString Options;
    QString Message; // a prefix of the message shown
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.Name;
}

class PrintOptionsRefused : public PrintOptions, public testing::WithParamInterface<RefusalCase> {};

TEST_P(PrintOptionsRefused, BeforeAnythingIsDownloaded) {
    const RefusalCase& refusal = GetParam();
    const QString printer = refusal.Printer == "duplex" ? Duplex : Driverless;
    WriteTable(Folder.path(), {{"Desk", "Desk", printer}});
    Server.On("GET", "/doc.pdf", HttpResponse{200, {}, MakePdf(ThreePages)});
    ASSERT_TRUE(RunJob(OptionsLink("Desk", Server.Url("/doc.pdf"), refusal.Options)));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes.first().startsWith(QString(refusal.Message).arg(printer)))
        << Boxes.first().toStdString();
    EXPECT_EQ(Server.Requests().size(), 0) << "the document was asked for";
    EXPECT_TRUE(NothingPrinted());
    EXPECT_EQ(Downloads(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintOptionsRefused,
    testing::Values(
        RefusalCase{"UnsupportedPaper", "duplex", "media=iso_a3_297x420mm",
                    "The printer \"%1\" does not support media \"iso_a3_297x420mm\"; it supports "},
        RefusalCase{
            "TwoSidesOnAOneSidedPrinter", "driverless", "sides=two-sided-long-edge",
            "The printer \"%1\" does not support sides \"two-sided-long-edge\"; it supports one-sided."},
        RefusalCase{"CopiesBeyondTheLimit", "duplex", "copies=10000",
                    "The printer \"%1\" does not support copies \"10000\"; it supports 1-9999."},
        RefusalCase{
            "ColourOnAGrayPrinter", "driverless", "print-color-mode=color",
            "The printer \"%1\" does not support print-color-mode \"color\"; it supports monochrome."},
        RefusalCase{
            "UnknownTray", "duplex", "media-source=tray-9",
            "The printer \"%1\" does not support media-source \"tray-9\"; it supports auto, main, photo."},
        RefusalCase{
            "MalformedPageRange", "duplex", "page-ranges=3-1",
            "The print option page-ranges has a malformed value \"3-1\": it takes ascending page ranges "
            "such as 1-3,5."},
        RefusalCase{"MalformedCopies", "duplex", "copies=-2",
                    "The print option copies has a malformed value \"-2\": it takes a whole number from 1."}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
