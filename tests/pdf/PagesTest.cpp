// Pages and geometry on the real engine: sizes, bounds and rotation, coordinate conversion, adding,
// deleting and importing pages, labels, and the page guards.
#include "pdf/Pdf.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

using namespace PDFium;

namespace {

class PagesTest : public testing::Test {
protected:
    void Open(const FixtureDocument& document, int pageNumber = 1) {
        bytes = MakePdf(document);
        pdf.SetPageNumber(pageNumber);
        pdf.LoadDocument(bytes);
        pdf.OnPageChange = [this](QObject*) {
            ++pageChanges;
        };
    }

    QByteArray bytes;
    TPdf pdf;
    int pageChanges = 0;
};

FixtureDocument Pages(std::initializer_list<QSizeF> sizes) {
    FixtureDocument document;
    document.Pages.clear();
    for (const QSizeF& size : sizes)
        document.Pages.append(SizedPage(size));
    return document;
}

} // namespace

TEST_F(PagesTest, SizeAndRotationFollowThePage) {
    struct Case {
        QSizeF size;
        int rotate;
        double width, height;
        TRotation rotation;
    };
    const Case cases[] = {
        {{612, 792}, 0, 612, 792, ro0},     {{595.28, 841.89}, 0, 595.28, 841.89, ro0},
        {{200, 100}, 90, 100, 200, ro90},   {{200, 100}, 180, 200, 100, ro180},
        {{200, 100}, 270, 100, 200, ro270}, {{72, 14400}, 0, 72, 14400, ro0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rotate);
        FixtureDocument document;
        document.Pages = {SizedPage(c.size, c.rotate)};
        TPdf page;
        const QByteArray data = MakePdf(document);
        page.SetPageNumber(1);
        page.LoadDocument(data);
        EXPECT_NEAR(page.PageWidth(), c.width, 0.01);
        EXPECT_NEAR(page.PageHeight(), c.height, 0.01);
        // Read without loading the page, the size is the same, turned as the page is.
        EXPECT_NEAR(page.PageSize(1).width(), c.width, 0.01);
        EXPECT_NEAR(page.PageSize(1).height(), c.height, 0.01);
        EXPECT_FALSE(page.PageSize(2).isValid());
        EXPECT_EQ(page.PageRotation(), c.rotation);
        const TPdfRectangle bounds = page.PageBounds();
        EXPECT_NEAR(bounds.Left, 0, 0.01);
        EXPECT_NEAR(bounds.Bottom, 0, 0.01);
        EXPECT_NEAR(bounds.Right, c.size.width(), 0.01);
        EXPECT_NEAR(bounds.Top, c.size.height(), 0.01);
    }
}

TEST_F(PagesTest, WritingTheRotationReopensThePage) {
    Open(Pages({{612, 792}}));
    pdf.SetPageRotation(ro90);
    EXPECT_EQ(pageChanges, 1);
    EXPECT_EQ(pdf.PageRotation(), ro90);
    EXPECT_EQ(pdf.PageWidth(), 792);
    EXPECT_EQ(pdf.PageHeight(), 612);
}

TEST_F(PagesTest, DeviceAndPageCoordinatesConvertBothWays) {
    Open(Pages({{612, 792}}));
    struct Case {
        TRotation rotation;
        int x, y;
        double pageX, pageY;
    };
    // The page rendered at 1 pixel per point into (10, 20, 612 x 792), or 792 x 612 when turned.
    const Case cases[] = {
        {ro0, 10, 20, 0, 792}, {ro0, 82, 92, 72, 720},  {ro0, 622, 812, 612, 0},
        {ro90, 10, 20, 0, 0},  {ro180, 10, 20, 612, 0}, {ro270, 10, 20, 612, 792},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rotation);
        const bool turned = c.rotation == ro90 || c.rotation == ro270;
        const int width = turned ? 792 : 612;
        const int height = turned ? 612 : 792;
        double pageX = -1, pageY = -1;
        EXPECT_TRUE(pdf.DeviceToPage(c.x, c.y, 10, 20, width, height, c.rotation, pageX, pageY));
        EXPECT_NEAR(pageX, c.pageX, 0.01);
        EXPECT_NEAR(pageY, c.pageY, 0.01);
        int x = -1, y = -1;
        EXPECT_TRUE(pdf.PageToDevice(c.pageX, c.pageY, 10, 20, width, height, c.rotation, x, y));
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

TEST_F(PagesTest, AddPageMakesTheNewPageCurrentWithoutPageEvent) {
    pdf.OnPageChange = [this](QObject*) {
        ++pageChanges;
    };
    pdf.CreateDocument();
    pdf.AddPage(1, 612, 792);
    EXPECT_EQ(pdf.PageCount(), 1);
    EXPECT_EQ(pdf.PageNumber(), 1);
    EXPECT_EQ(pdf.PageWidth(), 612);
    EXPECT_EQ(pdf.PageHeight(), 792);
    EXPECT_EQ(pageChanges, 0);

    pdf.AddPage(2, 300, 400); // one above the count appends
    pdf.AddPage(1, 100, 200); // inserts before page 1
    EXPECT_EQ(pdf.PageCount(), 3);
    const double widths[] = {100, 612, 300};
    for (int number = 1; number <= 3; ++number) {
        pdf.SetPageNumber(number);
        EXPECT_EQ(pdf.PageWidth(), widths[number - 1]);
    }
    pdf.UpdatePage();
}

TEST_F(PagesTest, DeletePageReloadsTheSameNumber) {
    Open(Pages({{100, 100}, {200, 200}, {300, 300}}), 2);
    pdf.DeletePage(2);
    EXPECT_EQ(pdf.PageCount(), 2);
    EXPECT_EQ(pdf.PageNumber(), 2);
    EXPECT_EQ(pdf.PageWidth(), 300);
    EXPECT_EQ(pageChanges, 1);

    // The last page while it is current: its number now lies beyond the end.
    EXPECT_EQ(ErrorOf([&] { pdf.DeletePage(2); }), QStringLiteral("Cannot open page 2"));
    EXPECT_EQ(pdf.PageCount(), 1);
    EXPECT_EQ(pdf.Page(), nullptr);
    EXPECT_EQ(ErrorOf([&] { pdf.PageWidth(); }), InactivePage);
}

TEST_F(PagesTest, AddAndDeleteRefuseANumberOutsideTheDocument) {
    constexpr int smallest = std::numeric_limits<int>::min();
    constexpr int largest = std::numeric_limits<int>::max();
    // Of three pages: a page may be added at 1 to 4 and deleted at 1 to 3.
    const struct {
        bool Add;
        int PageNumber;
    } cases[] = {{true, 0},  {true, 5},  {true, smallest},  {true, largest},
                 {false, 0}, {false, 4}, {false, smallest}, {false, largest}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.Add ? "add " : "delete ") << c.PageNumber);
        TPdf document;
        const QByteArray data = MakePdf(Pages({{100, 100}, {200, 200}, {300, 300}}));
        document.SetPageNumber(2);
        document.LoadDocument(data);
        EXPECT_EQ(ErrorOf([&] {
                      if (c.Add)
                          document.AddPage(c.PageNumber, 50, 50);
                      else
                          document.DeletePage(c.PageNumber);
                  }),
                  "Incorrect page number");
        // Nothing changed: the same pages, and the current page is still the one its number names.
        EXPECT_EQ(document.PageCount(), 3);
        EXPECT_EQ(document.PageNumber(), 2);
        EXPECT_EQ(document.PageWidth(), 200);
    }
}

TEST_F(PagesTest, ImportPagesInsertsTheRangeAndOpensTheSource) {
    QTemporaryDir dir;
    Open(Pages({{100, 100}, {200, 200}}));
    TPdf source;
    source.SetFileName(WritePdf(dir.path(), "source.pdf", Pages({{301, 301}, {302, 302}, {303, 303}})));
    EXPECT_TRUE(pdf.ImportPages(source, QStringLiteral("1,3"), 2));
    EXPECT_TRUE(source.Active());
    EXPECT_EQ(pdf.PageCount(), 4);
    EXPECT_EQ(pageChanges, 1);
    const double widths[] = {100, 301, 303, 200};
    for (int number = 1; number <= 4; ++number) {
        pdf.SetPageNumber(number);
        EXPECT_EQ(pdf.PageWidth(), widths[number - 1]);
    }
    EXPECT_TRUE(pdf.ImportPages(source, QString(), 5)); // an empty range is every page
    EXPECT_EQ(pdf.PageCount(), 7);
    EXPECT_FALSE(pdf.ImportPages(source, QStringLiteral("9"), 1));
    EXPECT_EQ(pdf.PageCount(), 7);
}

TEST_F(PagesTest, ImportFromASourceThatCannotOpenKeepsThisPage) {
    Open(Pages({{100, 100}}));
    TPdf source;
    source.SetFileName(QStringLiteral("/nonexistent/source.pdf"));
    EXPECT_EQ(ErrorOf([&] { pdf.ImportPages(source, {}, 1); }),
              QStringLiteral("File not found or could not be opened"));
    EXPECT_NE(pdf.Page(), nullptr);
    EXPECT_EQ(ErrorOf([&] { pdf.ImportPreferences(source); }),
              QStringLiteral("File not found or could not be opened"));
}

TEST_F(PagesTest, ImportPreferencesCopiesTheViewerPreferences) {
    REQUIRE_TESTDATA("pdf/viewer_ref.pdf");
    Open(Pages({{100, 100}}));
    TPdf source;
    source.SetFileName(testDataPath("pdf/viewer_ref.pdf"));
    EXPECT_TRUE(pdf.ImportPreferences(source));
    EXPECT_EQ(pdf.PrintCopies(), source.PrintCopies());
    EXPECT_EQ(pdf.ViewerPreference(QStringLiteral("Direction")), QStringLiteral("R2L"));
    EXPECT_NE(pdf.Page(), nullptr);
}

TEST_F(PagesTest, PageLabels) {
    REQUIRE_TESTDATA("pdf/page_labels.pdf");
    pdf.SetFileName(testDataPath("pdf/page_labels.pdf"));
    pdf.SetActive(true);
    const int count = pdf.PageCount();
    ASSERT_EQ(count, 7);
    EXPECT_EQ(pdf.PageLabel(1), QStringLiteral("i"));
    EXPECT_EQ(pdf.PageLabel(2), QStringLiteral("ii"));
    for (int outside : {0, -1, count + 1})
        EXPECT_EQ(ErrorOf([&] { pdf.PageLabel(outside); }), QStringLiteral("Incorrect page number"));

    TPdf plain;
    const QByteArray data = MakePdf({});
    plain.LoadDocument(data);
    EXPECT_EQ(plain.PageLabel(1), QString());
}

TEST_F(PagesTest, PageOperationsNeedACurrentPage) {
    pdf.setObjectName(QStringLiteral("Pdf"));
    double pageX = 0, pageY = 0;
    int x = 0, y = 0;
    QImage image;
    const std::function<void()> operations[] = {
        [&] { pdf.PageWidth(); },
        [&] { pdf.PageHeight(); },
        [&] { pdf.PageBounds(); },
        [&] { pdf.PageRotation(); },
        [&] { pdf.SetPageRotation(ro90); },
        [&] { pdf.DeviceToPage(0, 0, 0, 0, 10, 10, ro0, pageX, pageY); },
        [&] { pdf.PageToDevice(0, 0, 0, 0, 10, 10, ro0, x, y); },
        [&] { pdf.UpdatePage(); },
        [&] { pdf.RenderPage(0, 0, 10, 10, ro0, {}, clWhite); },
        [&] { pdf.RenderPage(&image, 0, 0, 10, 10, ro0, {}, clWhite); },
        [&] { pdf.RenderPage(nullptr, 0, 0, 10, 10, ro0, {}, clWhite); },
        [&] { pdf.RenderPage(static_cast<TDeviceContext>(nullptr), 0, 0, 10, 10, ro0, {}); },
    };
    for (const auto& operation : operations)
        EXPECT_EQ(ErrorOf(operation),
                  QStringLiteral("Cannot perform this operation on an inactive Pdf component"));
    Open(Pages({{100, 100}}), 0);
    for (const auto& operation : operations)
        EXPECT_EQ(ErrorOf(operation), InactivePage);
    EXPECT_TRUE(image.isNull());
}
