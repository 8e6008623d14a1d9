// Where the column places pages of different sizes: one under the other with a gap, centred, or one alone;
// which page holds a line, and which fills most of a screen. Plain arithmetic: these run without a window.
#include "PageLayout.h"

#include <gtest/gtest.h>

using namespace PDFium;

namespace {

constexpr int Gap = TPageLayout::Gap;

// A letter page, a landscape one and a small one, at 72 points to 96 pixels.
TPageLayout ThreePages(TRotation rotation = ro0, int onlyPage = 0) {
    TPageLayout layout;
    layout.SetPageSizes({{612, 792}, {792, 612}, {306, 396}});
    layout.Arrange(rotation, {TZoomMode::Factor, 1.0}, {2000, 1000}, onlyPage);
    return layout;
}

} // namespace

TEST(PageLayout, PagesStandOneUnderTheOtherCentred) {
    const TPageLayout layout = ThreePages();
    struct Case {
        int page;
        QRect slot;
    };
    const QList<Case> cases = {{1, {Gap + 120, Gap, 816, 1056}},
                               {2, {Gap, 2 * Gap + 1056, 1056, 816}},
                               {3, {Gap + 324, 3 * Gap + 1056 + 816, 408, 528}},
                               {4, {}},
                               {0, {}}};
    for (const Case& c : cases)
        EXPECT_EQ(layout.Slot(c.page), c.slot) << c.page;
    EXPECT_EQ(layout.Size(), QSize(1056 + 2 * Gap, 4 * Gap + 1056 + 816 + 528));
    EXPECT_EQ(ThreePages(ro90).Slot(1).size(), QSize(1056, 816));
}

TEST(PageLayout, ASinglePageStandsAlone) {
    const TPageLayout layout = ThreePages(ro0, 2);
    EXPECT_EQ(layout.FirstPage(), 2);
    EXPECT_EQ(layout.LastPage(), 2);
    EXPECT_EQ(layout.Slot(2), QRect(Gap, Gap, 1056, 816));
    EXPECT_TRUE(layout.Slot(1).isNull());
    EXPECT_EQ(layout.Size(), QSize(1056 + 2 * Gap, 816 + 2 * Gap));
    EXPECT_EQ(layout.PageAt(5000), 2);
}

TEST(PageLayout, ThePageAtALineAndThePageMostShown) {
    const TPageLayout layout = ThreePages();
    const int secondTop = 2 * Gap + 1056;
    struct Case {
        const char* what;
        int top;
        int bottom;
        int pageAtTop;
        int mostShown;
    };
    const QList<Case> cases = {
        {"above the column", -50, 100, 1, 1},
        {"the first page's top", 0, 700, 1, 1},
        {"the gap below the first page", secondTop - 2, secondTop + 500, 1, 2},
        {"mostly the first page", secondTop - 400, secondTop + 300, 1, 1},
        {"mostly the second page", secondTop - 300, secondTop + 400, 1, 2},
        {"below the column", 100000, 100700, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(layout.PageAt(c.top), c.pageAtTop);
        EXPECT_EQ(layout.MostShownPage(c.top, c.bottom), c.mostShown);
    }
    EXPECT_EQ(TPageLayout().PageAt(0), 0);
}
