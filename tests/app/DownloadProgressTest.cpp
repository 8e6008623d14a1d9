// How a download's progress shows in a progress bar, lengths of 2 GiB and more included.
#include "app/download/DownloadProgress.h"

#include <QProgressBar>
#include <gtest/gtest.h>

namespace {

constexpr qint64 GiB = qint64(1) << 30;

struct BarCase {
    const char* Name;
    qint64 Received;
    qint64 Total;
    int Maximum;  // -1: any positive maximum (the length does not fit an int)
    double Share; // value / maximum; ignored for the busy bar
};

void PrintTo(const BarCase& c, std::ostream* os) {
    *os << c.Name;
}

class DownloadProgressTest : public testing::TestWithParam<BarCase> {};

TEST_P(DownloadProgressTest, ShowsTheShareReceived) {
    QProgressBar bar;
    ShowDownloadProgress(bar, GetParam().Received, GetParam().Total);
    EXPECT_EQ(bar.minimum(), 0);
    if (GetParam().Maximum >= 0) {
        EXPECT_EQ(bar.maximum(), GetParam().Maximum);
    } else {
        EXPECT_GT(bar.maximum(), 0);
    }
    if (GetParam().Maximum != 0) {
        EXPECT_NEAR(double(bar.value()) / bar.maximum(), GetParam().Share, 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, DownloadProgressTest,
                         testing::Values(BarCase{"UnknownIsBusy", 5000, -1, 0, 0},
                                         BarCase{"ZeroIsBusy", 0, 0, 0, 0},
                                         BarCase{"TenMegabytesStart", 0, 10485760, 10485760, 0.0},
                                         BarCase{"TenMegabytesDone", 10485760, 10485760, 10485760, 1.0},
                                         BarCase{"LargestInt", 7, 2147483647, 2147483647, 7.0 / 2147483647},
                                         BarCase{"TwoGiBHalf", GiB, 2 * GiB, -1, 0.5},
                                         BarCase{"FiveGiBFifth", GiB, 5 * GiB, -1, 0.2},
                                         BarCase{"FourGiBQuarter", GiB, 4 * GiB, -1, 0.25},
                                         BarCase{"MoreThanAnnounced", 200, 100, 100, 1.0}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
