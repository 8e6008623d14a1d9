// The viewer's page sizes: fitted to the width or the whole area, or at a factor, turned with the page, and
// the zoom steps between their limits. Plain arithmetic: these run without a window.
#include "PageZoom.h"

#include <QList>
#include <gtest/gtest.h>

using namespace PDFium;

TEST(PageZoom, SizesOfALetterPage) {
    struct Case {
        const char* name;
        TRotation rotation;
        TPageZoom zoom;
        QSize area;
        QSize size;
    };
    const QSizeF letter(612, 792);
    const QList<Case> cases = {
        {"factor 1: 96 pixels an inch", ro0, {TZoomMode::Factor, 1.0}, {100, 100}, {816, 1056}},
        {"factor 0.5", ro0, {TZoomMode::Factor, 0.5}, {100, 100}, {408, 528}},
        {"factor turned", ro90, {TZoomMode::Factor, 1.0}, {100, 100}, {1056, 816}},
        {"fit width", ro0, {TZoomMode::FitWidth}, {612, 100}, {612, 792}},
        {"fit width turned", ro270, {TZoomMode::FitWidth}, {792, 100}, {792, 612}},
        {"fit page, tall area", ro0, {TZoomMode::FitPage}, {306, 1000}, {306, 396}},
        {"fit page, wide area", ro0, {TZoomMode::FitPage}, {1000, 396}, {306, 396}},
        {"fit page no larger than the largest zoom", ro0, {TZoomMode::FitPage}, {10000, 10000}, {3264, 4224}},
        {"an empty area still shows a pixel", ro0, {TZoomMode::FitPage}, {0, 0}, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ViewSize(letter, c.rotation, c.zoom, c.area), c.size);
    }
    EXPECT_EQ(ViewSize({0, 0}, ro0, {}, {100, 100}), QSize());
    EXPECT_DOUBLE_EQ(ShownFactor(letter, ro0, {816, 1056}), 1.0);
    EXPECT_DOUBLE_EQ(ShownFactor(letter, ro90, {528, 408}), 0.5);
}

TEST(PageZoom, StepsBetweenTheLimits) {
    struct Case {
        double factor;
        int direction;
        double step;
    };
    const QList<Case> cases = {{1.0, 1, 1.25},   {1.0, -1, 0.75},  {1.1, 1, 1.25},
                               {1.1, -1, 1.0},   {1.005, 1, 1.25}, {4.0, 1, 4.0},
                               {0.25, -1, 0.25}, {0.1, 1, 0.25},   {9.0, -1, 4.0}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ZoomStep(c.factor, c.direction), c.step) << c.factor << " " << c.direction;
}
