// The decisions a job hands the CUPS filter: written as job attributes and read back the same, short whatever
// the page count, and every missing or malformed attribute refused by name.
#include "app/printing/FilterJob.h"
#include "app/printing/EPrinter.h"

#include <gtest/gtest.h>

namespace {

TFilterJob Letter600() {
    TFilterJob job;
    job.Setup.Resolution = 600;
    job.Setup.SheetWidth = 5100;
    job.Setup.SheetHeight = 6600;
    job.Setup.Left = job.Setup.Top = job.Setup.Right = job.Setup.Bottom = 100;
    job.Pages = {1, 2, 3};
    return job;
}

void ExpectSame(const TFilterJob& read, const TFilterJob& written) {
    const TPwgPageSetup& a = read.Setup;
    const TPwgPageSetup& b = written.Setup;
    EXPECT_EQ(a.Media, b.Media);
    EXPECT_EQ(a.MediaPosition, b.MediaPosition);
    EXPECT_EQ(a.Resolution, b.Resolution);
    EXPECT_EQ(a.Type, b.Type);
    EXPECT_EQ(a.Sides, b.Sides);
    EXPECT_EQ(a.SheetBack, b.SheetBack);
    EXPECT_EQ(QList<int>({a.SheetWidth, a.SheetHeight, a.Left, a.Top, a.Right, a.Bottom}),
              QList<int>({b.SheetWidth, b.SheetHeight, b.Left, b.Top, b.Right, b.Bottom}));
    EXPECT_EQ(read.Pages, written.Pages);
    EXPECT_EQ(read.Copies, written.Copies);
    EXPECT_EQ(read.BlankBack, written.BlankBack);
    EXPECT_EQ(read.Scaling, written.Scaling);
    EXPECT_EQ(read.Orientation, written.Orientation);
    EXPECT_EQ(read.Color, written.Color);
}

struct RoundTripCase {
    const char* Name;
    TFilterJob Job;
    QByteArray Pages; // how the page list is written
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.Name;
}

class FilterJobRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(FilterJobRoundTrip, ReadsBackWhatWasWritten) {
    const RoundTripCase& c = GetParam();
    const TOptionValues attributes = FilterJobAttributes(c.Job);
    EXPECT_EQ(attributes.value("kestrova-pages"), c.Pages);
    for (auto it = attributes.begin(); it != attributes.end(); ++it)
        EXPECT_TRUE(it.key().startsWith("kestrova-")) << it.key().constData();
    TOptionValues withOthers = attributes;
    withOthers.insert("job-uuid", "urn:uuid:5c4ba2a6-0b8b-3a4e-6d3e-2e1b4c5d6e7f");
    withOthers.insert("copies", "3");
    ExpectSame(ReadFilterJob(withOthers), c.Job);
}

TFilterJob Varied() {
    TFilterJob job = Letter600();
    job.Setup.Media = "iso_a4_210x297mm";
    job.Setup.MediaPosition = 21;
    job.Setup.Type = "srgb_8";
    job.Setup.Sides = "two-sided-short-edge";
    job.Setup.SheetBack = "rotated";
    job.Setup.Left = 0;
    job.Setup.Bottom = 7;
    job.Pages = {3, 4, 5, 9, 1, 2};
    job.Copies = 4;
    job.BlankBack = true;
    job.Scaling = TScaling::Fill;
    job.Orientation = 4;
    job.Color = true;
    return job;
}

TFilterJob Pages(QList<int> pages, TScaling scaling = TScaling::Specified) {
    TFilterJob job = Letter600();
    job.Pages = std::move(pages);
    job.Scaling = scaling;
    job.Setup.Type = "black_1";
    job.Setup.SheetBack = "manual-tumble";
    return job;
}

QList<int> Thousand(int step) {
    QList<int> pages;
    for (int page = 1; page <= 1000; page += step)
        pages.append(page);
    return pages;
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, FilterJobRoundTrip,
    testing::Values(RoundTripCase{"Defaults", Letter600(), "1-3"},
                    RoundTripCase{"Varied", Varied(), "3-5,9,1-2"},
                    RoundTripCase{"OnePage", Pages({7}, TScaling::Auto), "7"},
                    RoundTripCase{"ThousandPages", Pages(Thousand(1), TScaling::Fit), "1-1000"},
                    RoundTripCase{"EveryHundredth", Pages(Thousand(100), TScaling::None),
                                  "1,101,201,301,401,501,601,701,801,901"}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.Name); });

struct MalformedCase {
    const char* Attribute;
    const char* Value; // null: the attribute is missing
};

void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.Attribute << "=" << (c.Value ? c.Value : "(missing)");
}

class FilterJobRefused : public testing::TestWithParam<MalformedCase> {};

TEST_P(FilterJobRefused, NamesTheAttribute) {
    const MalformedCase& c = GetParam();
    TOptionValues attributes = FilterJobAttributes(Letter600());
    if (c.Value)
        attributes.insert(c.Attribute, c.Value);
    else
        attributes.remove(c.Attribute);
    try {
        ReadFilterJob(attributes);
        FAIL() << "taken";
    } catch (const EPrinter& error) {
        const QString expected =
            c.Value ? QStringLiteral("The job attribute %1 has a malformed value \"%2\": it takes ")
                          .arg(QLatin1String(c.Attribute), QLatin1String(c.Value))
                    : QStringLiteral("The job attribute %1 is missing").arg(c.Attribute);
        EXPECT_TRUE(error.Message().startsWith(expected)) << error.Message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Attributes, FilterJobRefused,
    testing::Values(
        MalformedCase{"kestrova-media", nullptr}, MalformedCase{"kestrova-media", "Letter Size"},
        MalformedCase{"kestrova-media", ""}, MalformedCase{"kestrova-media-position", "50"},
        MalformedCase{"kestrova-media-position", "-1"}, MalformedCase{"kestrova-resolution", nullptr},
        MalformedCase{"kestrova-resolution", "0"}, MalformedCase{"kestrova-resolution", "600dpi"},
        MalformedCase{"kestrova-raster-type", "rgb_8"}, MalformedCase{"kestrova-sides", "duplex"},
        MalformedCase{"kestrova-sheet-back", "upside-down"}, MalformedCase{"kestrova-sheet", "5100"},
        MalformedCase{"kestrova-sheet", "0x6600"}, MalformedCase{"kestrova-sheet", "5100x6600x1"},
        MalformedCase{"kestrova-margins", "100,100,100"}, MalformedCase{"kestrova-margins", "2550,0,2550,0"},
        MalformedCase{"kestrova-pages", nullptr}, MalformedCase{"kestrova-pages", ""},
        MalformedCase{"kestrova-pages", "0"}, MalformedCase{"kestrova-pages", "3-1"},
        MalformedCase{"kestrova-pages", "1,,2"}, MalformedCase{"kestrova-pages", "1-"},
        MalformedCase{"kestrova-pages", "1-2-3"}, MalformedCase{"kestrova-pages", "one"},
        MalformedCase{"kestrova-pages", "1-100001"}, MalformedCase{"kestrova-copies", "0"},
        MalformedCase{"kestrova-copies", "+2"}, MalformedCase{"kestrova-copies", "10000"},
        MalformedCase{"kestrova-blank-back", "yes"}, MalformedCase{"kestrova-scaling", "stretch"},
        MalformedCase{"kestrova-orientation", "7"}, MalformedCase{"kestrova-orientation", nullptr},
        MalformedCase{"kestrova-color", "1"}));

TEST(FilterJob, SendsThePagesOfEachCopyWithTheirBlankBack) {
    TFilterJob job = Letter600();
    job.Pages = {4, 2, 9};
    job.Copies = 2;
    job.BlankBack = true;
    QList<int> sent;
    for (int index = 0; index < job.SentCount(); ++index)
        sent.append(job.SentPage(index));
    EXPECT_EQ(sent, QList<int>({4, 2, 9, 0, 4, 2, 9, 0}));
}

} // namespace
