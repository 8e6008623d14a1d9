// The thumbnails pane: pictures of the pages as the engine renders them, made only as they come into sight
// and kept within a budget; a click goes to the page, and the page shown is marked.
#include "ThumbnailPane.h"
#include "ViewTestSupport.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"

#include <QTabWidget>
#include <QTest>

using namespace PDFium;

class ThumbnailPaneTest : public ViewerTest {
protected:
    TThumbnailPane* Pane() {
        auto* pane = window.findChild<TThumbnailPane*>("lwThumbnails");
        window.findChild<QTabWidget*>("tcSide")->setCurrentWidget(pane);
        Settle();
        return pane;
    }
};

TEST_F(ThumbnailPaneTest, ThumbnailsAreTheEnginesPagesAndGoToThem) {
    REQUIRE_TESTDATA("realworld/libtasn1.pdf");
    const QString file = testDataPath("realworld/libtasn1.pdf");
    Open(file);
    TThumbnailPane* pane = Pane();
    ASSERT_EQ(pane->count(), 36);
    const QList<int> rendered = pane->RenderedRows();
    ASSERT_FALSE(rendered.isEmpty());
    EXPECT_EQ(rendered.first(), 0);
    EXPECT_LT(rendered.size(), 36); // only what is in sight
    TPdf engine;
    engine.SetFileName(file);
    engine.SetActive(true);
    for (const int row : {0, int(rendered.last())}) {
        SCOPED_TRACE(row);
        engine.SetPageNumber(row + 1);
        const QImage expected = engine.RenderPage(0, 0, TThumbnailPane::ThumbnailWidth, 155, ro0,
                                                  TRenderOptions{reAnnotations}, clWhite);
        const QImage shown = pane->item(row)->icon().pixmap(expected.size()).toImage();
        EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
                  expected.convertToFormat(QImage::Format_RGB32));
    }
    const QRect third = pane->visualItemRect(pane->item(2));
    ASSERT_TRUE(pane->viewport()->rect().contains(third.center()));
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(window.View().PageNumber(), 3);
    window.GoToPage(30);
    EXPECT_EQ(pane->currentRow(), 29);
    Settle();
    EXPECT_TRUE(pane->RenderedRows().contains(29));
    KeepScreenshot(QStringLiteral("thumbnails"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(ThumbnailPaneTest, ALongDocumentKeepsNoMoreThumbnailsThanTheBudget) {
    FixtureDocument document;
    document.Pages.clear();
    for (int page = 1; page <= 3 * TThumbnailPane::Budget; ++page)
        document.Pages.append(FixturePage{{612, 792}, QByteArray::number(page)});
    Open(WritePdf(folder.path(), "long.pdf", document));
    TThumbnailPane* pane = Pane();
    for (int page = 1; page <= pane->count(); page += 5) {
        window.GoToPage(page);
        QCoreApplication::processEvents();
        ASSERT_LE(pane->RenderedRows().size(), TThumbnailPane::Budget);
    }
    window.GoToPage(pane->count());
    EXPECT_TRUE(pane->RenderedRows().contains(pane->count() - 1));
    EXPECT_FALSE(pane->RenderedRows().contains(0));
    EXPECT_TRUE(pane->item(0)->icon().isNull());
}
