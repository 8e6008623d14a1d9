// The pages as one column in kestrova-view's window on the tests' own X server: what the screen shows across
// a page boundary against the engine's own rendering, the wheel and Page Down through the pages with the
// current page following, the few page views that a whole document needs, the single page mode, and a column
// far taller than a widget may be.
#include "ViewTestSupport.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>

using namespace PDFium;

namespace {

const char* const Manual = "realworld/libtasn1.pdf";

} // namespace

class PageColumnTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        if (IsSkipped())
            return;
        area = window.findChild<QAbstractScrollArea*>("saPage");
        ASSERT_NE(area, nullptr);
    }

    QScrollBar& Bar() { return *area->verticalScrollBar(); }
    int ViewCount() { return int(window.Column().findChildren<TPdfView*>().size()); }
    // The column's rectangle of a page; its view must be in sight.
    QRect SlotOf(int page) {
        EXPECT_NE(window.Column().ShownView(page), nullptr) << page;
        return window.Column().PageSlot(page);
    }

    QAbstractScrollArea* area = nullptr;
};

TEST_F(PageColumnTest, TheScreenShowsTwoPagesAcrossTheirBoundaryAsTheEngineRendersThem) {
    REQUIRE_TESTDATA(Manual);
    Open(testDataPath(Manual));
    // The end of page 1 and the start of page 2 in the middle of the screen.
    Bar().setValue(SlotOf(1).bottom() - area->viewport()->height() / 2);
    Settle();
    TPdf engine;
    engine.SetFileName(testDataPath(Manual));
    engine.SetActive(true);
    for (int page : {1, 2}) {
        SCOPED_TRACE(page);
        TPdfView* view = window.Column().ShownView(page);
        ASSERT_NE(view, nullptr);
        const QRect visible = view->visibleRegion().boundingRect();
        ASSERT_GT(visible.height(), 100);
        const QImage shown = Shown(*view);
        engine.SetPageNumber(page);
        const QImage rendered =
            engine.RenderPage(0, 0, view->width(), view->height(), ro0, view->Options(), clWhite)
                .copy(visible);
        ASSERT_EQ(shown.size(), rendered.size());
        EXPECT_EQ(DifferentPixels(shown, rendered.convertToFormat(QImage::Format_RGB32)), 0);
    }
    KeepScreenshot(QStringLiteral("boundary"));
}

TEST_F(PageColumnTest, TheWheelScrollsThroughEveryPageWithAFewViews) {
    REQUIRE_TESTDATA(Manual);
    Open(testDataPath(Manual));
    const int count = window.Pdf().PageCount();
    auto* pageBox = window.findChild<QSpinBox*>("sePage");
    int current = 1;
    int maximumViews = 0;
    const QPointF middle = area->viewport()->rect().center();
    for (int turn = 0; turn < 5000 && Bar().value() < Bar().maximum(); ++turn) {
        QWheelEvent wheel(middle, area->viewport()->mapToGlobal(middle), {}, {0, -120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(area->viewport(), &wheel);
        const int page = window.Column().CurrentPage();
        ASSERT_TRUE(page == current || page == current + 1) << current << " then " << page;
        current = page;
        ASSERT_EQ(window.View().PageNumber(), page);
        ASSERT_EQ(pageBox->value(), page);
        maximumViews = std::max(maximumViews, ViewCount());
    }
    EXPECT_EQ(current, count);
    // Two pages in sight at most, and the spare ones.
    EXPECT_LE(maximumViews, 5);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(PageColumnTest, PageDownAndUpShowEveryLineAndStopAtEveryPageTop) {
    REQUIRE_TESTDATA(Manual);
    Open(testDataPath(Manual));
    const int first = 30;
    const int count = window.Pdf().PageCount();
    QList<int> pageTops;
    for (int page = first; page <= count; ++page) {
        window.GoToPage(page);
        pageTops.append(std::min(Bar().value(), Bar().maximum()));
    }
    struct Case {
        Qt::Key key;
        int from;
        int to;
    };
    for (const Case& c : {Case{Qt::Key_PageDown, first, count}, Case{Qt::Key_PageUp, count, first}}) {
        SCOPED_TRACE(c.key);
        window.GoToPage(c.from);
        const int end = c.key == Qt::Key_PageDown ? Bar().maximum() : pageTops.first();
        QList<int> stops{Bar().value()};
        while (Bar().value() != end) {
            QTest::keyClick(&window.View(), c.key);
            const int step = std::abs(Bar().value() - stops.last());
            ASSERT_GT(step, 0);
            ASSERT_LE(step, area->viewport()->height());
            stops.append(Bar().value());
        }
        for (int top : pageTops)
            EXPECT_TRUE(stops.contains(top)) << top;
        EXPECT_EQ(window.Column().CurrentPage(), c.to);
    }
}

TEST_F(PageColumnTest, ASinglePageIsAChoiceThatKeepsThePage) {
    REQUIRE_TESTDATA(Manual);
    Open(testDataPath(Manual));
    window.GoToPage(5);
    QAction* continuous = window.findChild<QAction*>("acContinuous");
    ASSERT_TRUE(continuous->isChecked());
    const int columnHeight = window.Column().ColumnSize().height();

    continuous->trigger();
    Settle();
    EXPECT_FALSE(continuous->isChecked());
    EXPECT_EQ(window.Column().CurrentPage(), 5);
    EXPECT_EQ(window.Column().ShownViews(), QList<TPdfView*>{&window.View()});
    EXPECT_LT(window.Column().ColumnSize().height(), columnHeight / 10);
    QTest::keyClick(&window.View(), Qt::Key_PageDown);
    EXPECT_EQ(window.View().PageNumber(), 6);
    EXPECT_EQ(Bar().value(), 0);

    continuous->trigger();
    Settle();
    EXPECT_EQ(window.Column().CurrentPage(), 6);
    EXPECT_EQ(window.Column().ColumnSize().height(), columnHeight);
    EXPECT_EQ(Bar().value(), SlotOf(6).top() - TPageLayout::Gap);
}

TEST_F(PageColumnTest, ZoomKeepsThePointUnderTheMouseOrTheMiddleInPlace) {
    REQUIRE_TESTDATA(Manual);
    Open(testDataPath(Manual));
    window.GoToPage(3);
    QWidget* viewport = area->viewport();
    // The page and the point of it that a point of the viewport shows.
    auto pagePointAt = [&](QPoint point, int& page, QPointF& at) {
        auto* view =
            qobject_cast<TPdfView*>(window.Column().childAt(window.Column().mapFrom(viewport, point)));
        ASSERT_NE(view, nullptr);
        const QPoint local = view->mapFrom(viewport, point);
        page = view->PageNumber();
        ASSERT_TRUE(view->DeviceToPage(local.x(), local.y(), at.rx(), at.ry()));
    };
    auto wheel = [&](int delta) {
        return [&, delta](QPoint point) {
            auto* view =
                qobject_cast<TPdfView*>(window.Column().childAt(window.Column().mapFrom(viewport, point)));
            const QPointF local = view->mapFrom(viewport, point);
            QWheelEvent event(local, view->mapToGlobal(local), {}, {0, delta}, Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(view, &event);
        };
    };
    auto button = [&](const char* name) {
        return [&, name](QPoint) {
            window.findChild<QAction*>(QLatin1String(name))->trigger();
        };
    };
    struct Case {
        const char* what;
        std::function<void(QPoint)> zoom;
        QPoint at;
        const char* zoomShown;
    };
    const QList<Case> cases = {
        {"control and the wheel up, near the top left", wheel(120), {150, 120}, "125%"},
        {"control and the wheel up, lower right",
         wheel(120),
         {viewport->width() - 200, viewport->height() - 150},
         "150%"},
        {"control and the wheel down", wheel(-120), {300, 400}, "125%"},
        {"the zoom-in button, round the middle", button("acZoomIn"), viewport->rect().center(), "150%"},
        {"the zoom-out button, round the middle", button("acZoomOut"), viewport->rect().center(), "125%"},
    };
    window.SetZoom({TZoomMode::Factor, 1.0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int pageBefore = 0, pageAfter = 0;
        QPointF before, after;
        pagePointAt(c.at, pageBefore, before);
        c.zoom(c.at);
        EXPECT_EQ(window.findChild<QLabel*>("lZoom")->text(), c.zoomShown);
        pagePointAt(c.at, pageAfter, after);
        EXPECT_EQ(pageAfter, pageBefore);
        // Within two pixels at 100 %.
        EXPECT_LT((after - before).manhattanLength(), 2 * 72.0 / 96) << before.x() << "," << before.y();
    }
}

// 5,000 letter pages at 400 % make a column of 21 million pixels, beyond the 16,777,215 that a widget may be
// high: End still shows page 5000, the scroll bar's end its last line, and Home page 1 again.
TEST_F(PageColumnTest, EveryPageOfAColumnTallerThanAWidgetIsReached) {
    FixtureDocument one;
    one.Pages = {FixturePage{{612, 792}, "A page"}};
    TPdf page;
    page.LoadDocument(MakePdf(one));
    TPdf fifty;
    fifty.CreateDocument();
    while (fifty.PageCount() < 50)
        ASSERT_TRUE(fifty.ImportPages(page, "1", fifty.PageCount() + 1));
    TPdf pages;
    pages.CreateDocument();
    while (pages.PageCount() < 5000)
        ASSERT_TRUE(pages.ImportPages(fifty, "1-50", pages.PageCount() + 1));
    const QString file = folder.filePath("5000.pdf");
    ASSERT_TRUE(pages.SaveAs(file, saNoIncremental, pvUnknown));
    Open(file);
    window.SetZoom({TZoomMode::Factor, 4.0});
    Settle();
    ASSERT_GT(window.Column().ColumnSize().height(), QWIDGETSIZE_MAX);
    auto* pageBox = window.findChild<QSpinBox*>("sePage");
    struct Step {
        const char* Name;
        std::function<void()> Action;
        int Page;
    };
    const QList<Step> steps = {
        {"End", [&] { QTest::keyClick(&window.View(), Qt::Key_End); }, 5000},
        {"Home", [&] { QTest::keyClick(&window.View(), Qt::Key_Home); }, 1},
        {"the scroll bar's end", [&] { Bar().setValue(Bar().maximum()); }, 5000},
        {"the page box", [&] { pageBox->setValue(3965); }, 3965},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.Name);
        step.Action();
        Settle();
        EXPECT_EQ(window.Column().CurrentPage(), step.Page);
        EXPECT_EQ(pageBox->value(), step.Page);
        // The page's view is on the screen, in the viewport, with its page.
        TPdfView* view = window.Column().ShownView(step.Page);
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->isVisible());
        EXPECT_TRUE(view->geometry().intersects(area->viewport()->rect()));
        EXPECT_EQ(view->Text(0, 6), "A page");
    }
    // At the scroll bar's end the last page's bottom is on the screen.
    Bar().setValue(Bar().maximum());
    Settle();
    EXPECT_LE(window.Column().ShownView(5000)->geometry().bottom(), area->viewport()->height());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}
