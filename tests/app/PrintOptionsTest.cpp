// The print options as a link carries them, as they are read, which pages they choose, and where they place a
// page in the printable area.
#include "app/options/PrintOptions.h"
#include "app/intake/LinkPrintOptions.h"
#include "app/options/PageSelection.h"
#include "app/printing/DestinationOptions.h"
#include "app/printing/EPrinter.h"
#include "app/printing/PagePlacement.h"

#include "PrinterFailure.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

TEST(LinkPrintOptions, AreTheQueryParametersNamedAsIppJobAttributes) {
    EXPECT_EQ(LinkPrintOptions("kestrova://print/?moduleaddress=a&pdfurl=http%3A%2F%2Fh%2Fd.pdf"),
              TOptionValues());
    const TOptionValues options = LinkPrintOptions(
        "kestrova://print/?moduleaddress=a&pdfurl=http%3A%2F%2Fh%2Fd.pdf&media=iso_a4_210x297mm"
        "&page-ranges=1-3%2C5&copies=2&COPIES=3&print-color-mode=&staple=yes");
    // Names as IPP spells them: "COPIES" is not the option.
    EXPECT_EQ(options, (TOptionValues{{"copies", "2"},
                                      {"media", "iso_a4_210x297mm"},
                                      {"page-ranges", "1-3,5"},
                                      {"print-color-mode", ""}}));
}

// What a link's print options cannot be, each refused naming the option.
TEST(LinkPrintOptions, RefuseBadEscapesRepeatsAndControlCharacters) {
    const QString link = "kestrova://print/?moduleaddress=a&pdfurl=x&";
    for (const auto& [query, message] :
         {std::pair{
              "copies=%G2",
              "The link's parameter \"copies\" is not well encoded: Invalid URL encoded character (%G2) at "
              "position 1"},
          std::pair{"copies=2&copies=3",
                    "The link gives the print option \"copies\" more than once, which is ambiguous"},
          std::pair{"sides=two-sided-long-edge&sides=sideways",
                    "The link gives the print option \"sides\" more than once, which is ambiguous"},
          std::pair{"media=a%00b", "The link's print option \"media\" holds a control character (%00)"}})
        try {
            LinkPrintOptions(link + query);
            ADD_FAILURE() << query << " was taken";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), message);
        }
}

struct MalformedCase {
    QByteArray Option;
    QByteArray Value;
    QString Takes; // what the message says the option takes
};

void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.Option.toStdString() << "=" << c.Value.toStdString();
}

class MalformedOption : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedOption, IsRefusedNamingTheOptionTheValueAndItsForm) {
    const MalformedCase& bad = GetParam();
    EXPECT_EQ(failure([&] {
                  ReadPrintOptions({{"copies", "2"}, {bad.Option, bad.Value}});
              }),
              QStringLiteral("The print option %1 has a malformed value \"%2\": it takes %3")
                  .arg(QString::fromLatin1(bad.Option), QString::fromUtf8(bad.Value), bad.Takes));
}

const QString Ranges = "ascending page ranges such as 1-3,5";

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedOption,
    testing::Values(MalformedCase{"copies", "0", "a whole number from 1"},
                    MalformedCase{"copies", "two", "a whole number from 1"},
                    MalformedCase{"copies", "", "a whole number from 1"},
                    MalformedCase{"sides", "duplex", "one-sided, two-sided-long-edge, two-sided-short-edge"},
                    MalformedCase{"media", "A4", "a PWG paper name such as iso_a4_210x297mm"},
                    MalformedCase{"media-source", "Tray 1", "a keyword"},
                    MalformedCase{"page-ranges", "3-1", Ranges},
                    MalformedCase{"page-ranges", "1-3,2", Ranges}, MalformedCase{"page-ranges", "0", Ranges},
                    MalformedCase{"page-ranges", "1-3,,5", Ranges},
                    MalformedCase{"page-ranges", "1-", Ranges},
                    MalformedCase{"page-ranges", "99999999999", Ranges},
                    MalformedCase{"print-color-mode", "grey", "monochrome, color, auto, bi-level"},
                    MalformedCase{"print-scaling", "stretch", "auto, fit, fill or none"},
                    MalformedCase{"orientation-requested", "7", "3 (portrait), 4 (landscape), 5 or 6"}));

TEST(PrintOptions, ReadTheirValuesAndLeaveTheRestAsWithoutOptions) {
    const TPrintOptions none = ReadPrintOptions({{"staple", "yes"}});
    EXPECT_EQ(none.Copies, 1);
    EXPECT_FALSE(none.TwoSided());
    EXPECT_FALSE(none.Color);
    EXPECT_EQ(none.Scaling, TScaling::Specified);
    EXPECT_TRUE(none.Given.isEmpty());

    const TPrintOptions given = ReadPrintOptions({{"copies", "3"},
                                                  {"sides", "two-sided-short-edge"},
                                                  {"page-ranges", "1-3, 5"},
                                                  {"print-color-mode", "color"},
                                                  {"print-scaling", "fill"}});
    EXPECT_EQ(given.Copies, 3);
    EXPECT_TRUE(given.TwoSided());
    EXPECT_EQ(given.PageRanges, (QList<std::pair<int, int>>{{1, 3}, {5, 5}}));
    EXPECT_TRUE(given.Color);
    EXPECT_EQ(given.Scaling, TScaling::Fill);

    // A turn alone places the page as IPP does.
    const TPrintOptions turned = ReadPrintOptions({{"orientation-requested", "landscape"}});
    EXPECT_EQ(turned.Orientation, 4);
    EXPECT_EQ(turned.Scaling, TScaling::Auto);
    // The link's values go over an instance's.
    EXPECT_EQ(MergeOptions({{"sides", "one-sided"}, {"media", "iso_a4_210x297mm"}},
                           {{"sides", "two-sided-long-edge"}}),
              (TOptionValues{{"sides", "two-sided-long-edge"}, {"media", "iso_a4_210x297mm"}}));
}

struct DestinationCase {
    const char* Name;
    TOptionValues Destination; // as libcups gives the destination's options
    TOptionValues Chosen;      // as the lpoptions files give them
    bool Instance;
    TOptionValues Expected;
};

void PrintTo(const DestinationCase& c, std::ostream* os) {
    *os << c.Name;
}

class DestinationOptionsTest : public testing::TestWithParam<DestinationCase> {};

TEST_P(DestinationOptionsTest, AreTakenAsCupsClientsTakeThem) {
    const DestinationCase& c = GetParam();
    EXPECT_EQ(DestinationOptions(c.Destination, c.Chosen, c.Instance), c.Expected);
}

// A queue's defaults as the print system reports them for a gray queue and for a colour one.
const TOptionValues GrayQueue{{"copies", "1"},
                              {"number-up", "1"},
                              {"print-color-mode", "monochrome"},
                              {"sides", "one-sided"},
                              {"job-sheets", "none,none"}};
const TOptionValues ColourQueue = MergeOptions(GrayQueue, {{"print-color-mode", "color"}});

INSTANTIATE_TEST_SUITE_P(
    Cases, DestinationOptionsTest,
    testing::Values(
        DestinationCase{"NothingAnywhereIsNoOption", GrayQueue, {}, false, {}},
        DestinationCase{"AColourQueuePrintsGrayByItself", ColourQueue, {}, false, {}},
        DestinationCase{"ItsInstanceTakesItsColour", ColourQueue, {}, true, {{"print-color-mode", "color"}}},
        DestinationCase{"LpoptionsAskForColour",
                        ColourQueue,
                        {{"print-color-mode", "color"}},
                        false,
                        {{"print-color-mode", "color"}}},
        DestinationCase{"TheQueuesTwoSidedDefault",
                        MergeOptions(GrayQueue, {{"sides", "two-sided-long-edge"}}),
                        {},
                        false,
                        {{"sides", "two-sided-long-edge"}}},
        DestinationCase{
            "PpdNamesOfAnInstance",
            MergeOptions(GrayQueue, {{"Duplex", "DuplexTumble"}, {"PageSize", "A4"}, {"InputSlot", "Tray2"}}),
            {},
            true,
            {{"sides", "two-sided-short-edge"}, {"media", "iso_a4_210x297mm"}, {"media-source", "tray-2"}}},
        DestinationCase{
            "IppNamesGoOverPpdNames",
            MergeOptions(GrayQueue, {{"Duplex", "DuplexTumble"}, {"sides", "two-sided-long-edge"}}),
            {{"sides", "two-sided-long-edge"}},
            false,
            {{"sides", "two-sided-long-edge"}}},
        DestinationCase{"CopiesAndRanges",
                        MergeOptions(GrayQueue, {{"copies", "3"}, {"page-ranges", "2-4"}}),
                        {},
                        false,
                        {{"copies", "3"}, {"page-ranges", "2-4"}}}),
    [](const auto& info) { return std::string(info.param.Name); });

// The options of lp's filters that Kestrova does not carry out are named where they would change the sheets.
TEST(DestinationOptions, NameWhatIsNotApplied) {
    EXPECT_EQ(UnappliedOptions(GrayQueue), TOptionValues());
    EXPECT_EQ(
        UnappliedOptions(MergeOptions(
            GrayQueue, {{"number-up", "2"}, {"page-set", "odd"}, {"page-border", "none"}, {"copies", "2"}})),
        (TOptionValues{{"number-up", "2"}, {"page-set", "odd"}}));
}

TEST(PageSelection, TakesTheRangesThatTheDocumentHas) {
    EXPECT_EQ(PagesToPrint({}, 3), (QList<int>{1, 2, 3}));
    EXPECT_EQ(PagesToPrint({}, 0), QList<int>());
    EXPECT_EQ(PagesToPrint({{2, 3}, {5, 5}}, 5), (QList<int>{2, 3, 5}));
    EXPECT_EQ(PagesToPrint({{2, 10}}, 4), (QList<int>{2, 3, 4}));
    EXPECT_EQ(failure([] {
                  PagesToPrint({{7, 9}, {12, 12}}, 4);
              }),
              "The page ranges 7-9,12 name no page of the document, which has 4 pages");
}

struct PlacementCase {
    const char* Name;
    double PageWidth; // points
    double PageHeight;
    TScaling Scaling;
    std::optional<int> Orientation;
    TPagePlacement Expected;
    QMargins Margins{}; // of the printable area on the sheet
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.Name;
}

class PagePlacementTest : public testing::TestWithParam<PlacementCase> {};

// A printable area of 4800 x 6300 pixels at 600 dpi: Letter with quarter-inch margins but at its foot.
TEST_P(PagePlacementTest, KeepsProportionsAndCentres) {
    const PlacementCase& c = GetParam();
    const TPagePlacement placed =
        PlacePage(4800, 6300, 600, c.PageWidth, c.PageHeight, c.Scaling, c.Orientation, c.Margins);
    EXPECT_EQ(placed.X, c.Expected.X);
    EXPECT_EQ(placed.Y, c.Expected.Y);
    EXPECT_EQ(placed.Width, c.Expected.Width);
    EXPECT_EQ(placed.Height, c.Expected.Height);
    EXPECT_EQ(placed.Rotation, c.Expected.Rotation);
}

using PDFium::ro0;
using PDFium::ro180;
using PDFium::ro270;
constexpr double ReceiptWidth = 80 / 25.4 * 72; // 80 x 200 mm
constexpr double ReceiptHeight = 200 / 25.4 * 72;

INSTANTIATE_TEST_SUITE_P(
    Cases, PagePlacementTest,
    testing::Values(
        // Without scaling: the full width at the top-left corner, as always.
        PlacementCase{"Specified", 612, 792, TScaling::Specified, {}, {0, 0, 4800, 6212, ro0}},
        PlacementCase{"SpecifiedReceiptSqueezed",
                      ReceiptWidth,
                      ReceiptHeight,
                      TScaling::Specified,
                      {},
                      {0, 0, 4800, 6300, ro0}},
        PlacementCase{"Fit", 612, 792, TScaling::Fit, {}, {0, 44, 4800, 6212, ro0}},
        PlacementCase{"FitTurnsALandscapePage", 792, 612, TScaling::Fit, {}, {0, 44, 4800, 6212, ro270}},
        PlacementCase{
            "FitReceipt", ReceiptWidth, ReceiptHeight, TScaling::Fit, {}, {1140, 0, 2520, 6300, ro0}},
        PlacementCase{
            "NoneAtItsSize", ReceiptWidth, ReceiptHeight, TScaling::None, {}, {1455, 788, 1890, 4724, ro0}},
        // At its own size, a landscape page too wide for the area is turned, as more of it then shows.
        PlacementCase{
            "NoneTurnsALandscapePage", 792, 612, TScaling::None, {}, {-150, -150, 5100, 6600, ro270}},
        PlacementCase{"NoneKeepsAPageThatFits", 300, 200, TScaling::None, {}, {1150, 2316, 2500, 1667, ro0}},
        PlacementCase{"AutoSmallPageAtItsSize",
                      ReceiptWidth,
                      ReceiptHeight,
                      TScaling::Auto,
                      {},
                      {1455, 788, 1890, 4724, ro0}},
        PlacementCase{"AutoLargePageFits", 612, 1008, TScaling::Auto, {}, {487, 0, 3825, 6300, ro0}},
        PlacementCase{"FillCutsAtTheEdges", 612, 792, TScaling::Fill, {}, {-34, 0, 4868, 6300, ro0}},
        PlacementCase{"LandscapeAskedFor", 612, 792, TScaling::Fit, 4, {0, 1295, 4800, 3709, ro270}},
        PlacementCase{"ReversePortraitAskedFor", 612, 792, TScaling::Auto, 6, {0, 44, 4800, 6212, ro180}},
        PlacementCase{"NoSize", 0, 792, TScaling::Fit, {}, {0, 0, 0, 0, ro0}},
        // Margins of 24 pixels at the top and 276 at the foot: a page at its own size centred on the sheet,
        // as lp centres it, kept inside the printable area where it fits there; one scaled to the area
        // centred on the area, as lp centres it, and cut at the area's edges.
        PlacementCase{"NoneCentredOnTheSheet",
                      ReceiptWidth,
                      ReceiptHeight,
                      TScaling::None,
                      {},
                      {1455, 914, 1890, 4724, ro0},
                      QMargins(150, 24, 150, 276)},
        PlacementCase{"FitCentredOnThePrintableArea",
                      612,
                      792,
                      TScaling::Fit,
                      {},
                      {0, 44, 4800, 6212, ro0},
                      QMargins(150, 24, 150, 276)},
        PlacementCase{"FillCentredOnThePrintableArea",
                      792,
                      612,
                      TScaling::Fill,
                      3,
                      {-1676, 0, 8153, 6300, ro0},
                      QMargins(150, 24, 150, 276)}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
