// The page geometry of printing: RoundFloat, the per-page fit, and the printer name rule.
#include "app/printing/PageFit.h"
#include "app/printing/Printer.h"
#include "app/printing/RoundFloat.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct RoundCase {
    double Value;
    int Digits;
    double Expected;
};

void PrintTo(const RoundCase& c, std::ostream* os) {
    *os << c.Value << " to " << c.Digits << " digits";
}

class RoundFloatTest : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundFloatTest, RoundsByTheFifteenDigitDecimal) {
    EXPECT_EQ(RoundFloat(GetParam().Value, GetParam().Digits), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundFloatTest,
    testing::Values(RoundCase{2.675, 2, 2.68}, RoundCase{-2.675, 2, -2.68}, RoundCase{0, 2, 0},
                    RoundCase{0, 0, 0}, RoundCase{7.843137254902, 4, 7.8431},
                    RoundCase{4800.0 / 612, 4, 7.8431}, RoundCase{4800.0 / 792, 4, 6.0606},
                    RoundCase{6211.5, 0, 6212}, RoundCase{792 * 7.8431, 0, 6212},
                    RoundCase{612 * 6.0606, 0, 3709}, RoundCase{1008 * 7.8431, 0, 7906},
                    RoundCase{0.5, 4, 0.5}, RoundCase{1.005, 2, 1.01}, RoundCase{1.0049999, 2, 1.0},
                    RoundCase{-6211.5, 0, -6212}, RoundCase{0.00004, 4, 0}, RoundCase{0.00005, 4, 0.0001},
                    RoundCase{2.5, -1, 3}, RoundCase{123456789.123456789, 4, 123456789.1235},
                    RoundCase{123456789.123456789, 8, 123456789.123457}, RoundCase{1e300, 4, 1e300},
                    RoundCase{1e-300, 4, 0}));

TEST(RoundFloatEdgeTest, LeavesValuesThatAreNotFiniteAlone) {
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(RoundFloat(infinity, 4), infinity);
    EXPECT_TRUE(std::isnan(RoundFloat(std::numeric_limits<double>::quiet_NaN(), 4)));
}

struct FitCase {
    const char* Name;
    int PrinterWidth;
    int PrinterHeight;
    double PageWidth;
    double PageHeight;
    TPageFit Expected;
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.Name;
}

class FitPageTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitPageTest, StretchesToTheWidthAndSqueezesToTheHeight) {
    const FitCase& c = GetParam();
    const TPageFit fit = FitPage(c.PrinterWidth, c.PrinterHeight, c.PageWidth, c.PageHeight);
    EXPECT_EQ(fit.Scale, c.Expected.Scale);
    EXPECT_EQ(fit.Width, c.Expected.Width);
    EXPECT_EQ(fit.Height, c.Expected.Height);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, FitPageTest,
    testing::Values(FitCase{"Letter", 4800, 6400, 612, 792, {7.8431, 4800, 6212}},
                    FitCase{"LegalSqueezed", 4800, 6400, 612, 1008, {7.8431, 4800, 6400}},
                    FitCase{"Landscape", 4800, 6400, 792, 612, {6.0606, 4800, 3709}},
                    FitCase{"A4On300DpiLetterQueue", 2400, 3150, 595.276, 841.89, {4.0317, 2400, 3150}},
                    FitCase{"ZeroWidth", 4800, 6400, 0, 792, {0, 4800, 0}},
                    FitCase{"ZeroHeight", 4800, 6400, 612, 0, {0, 4800, 0}}),
    [](const auto& info) { return std::string(info.param.Name); });

struct MatchCase {
    const char* Name;
    int Expected;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << c.Name;
}

class FindPrinterTest : public testing::TestWithParam<MatchCase> {};

TEST_P(FindPrinterTest, MatchesTheWholeNameWithoutRegardToCase) {
    const QStringList printers{"Office", "Kestrova_A4", "Kestrova_Letter", "kestrova_a4"};
    EXPECT_EQ(FindPrinter(printers, QString::fromUtf8(GetParam().Name)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Names, FindPrinterTest,
                         testing::Values(MatchCase{"Kestrova_A4", 1}, MatchCase{"KESTROVA_a4", 1},
                                         MatchCase{"kestrova_letter", 2}, MatchCase{"Kestrova", -1},
                                         MatchCase{"Kestrova_A4 ", -1}, MatchCase{"", -1},
                                         MatchCase{"Office2", -1}, MatchCase{"OFFICE", 0}));

class FindJobPrinterTest : public testing::TestWithParam<MatchCase> {};

// As lp -d: an instance that exists is itself, one that does not is its queue, with the queue's options.
TEST_P(FindJobPrinterTest, TakesTheQueueOfAMissingInstance) {
    const QStringList printers{"Office", "Office/duplex", "Kestrova_A4"};
    EXPECT_EQ(FindJobPrinter(printers, QString::fromUtf8(GetParam().Name)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Names, FindJobPrinterTest,
                         testing::Values(MatchCase{"Office/duplex", 1}, MatchCase{"office/DUPLEX", 1},
                                         MatchCase{"Office/nosuch", 0}, MatchCase{"kestrova_a4/x", 2},
                                         MatchCase{"Nosuch/duplex", -1}, MatchCase{"/duplex", -1},
                                         MatchCase{"Office", 0}));

} // namespace
