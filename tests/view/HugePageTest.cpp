// A huge page at a high zoom in kestrova-view's window on the tests' own X server: the page, far too large
// for one bitmap, shows in every part that scrolls into sight what the engine renders there, and nothing
// fails.
#include "ViewTestSupport.h"
#include "pdf/engine/FPdfView.h"
#include "support/PdfFixtures.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

using namespace PDFium;

namespace {

QStringList Warnings;

void KeepWarning(QtMsgType, const QMessageLogContext&, const QString& message) {
    Warnings.append(message);
}

// The engine's own rendering of an area of a page drawn at Side pixels square, by its C interface.
QImage EngineArea(FPDF_PAGE page, int side, const QRect& area) {
    FPDF_BITMAP bitmap = FPDFBitmap_Create(area.width(), area.height(), 0);
    FPDFBitmap_FillRect(bitmap, 0, 0, area.width(), area.height(), 0xFFFFFFFF);
    FPDF_RenderPageBitmap(bitmap, page, -area.x(), -area.y(), side, side, 0, FPDF_ANNOT);
    const QImage image(static_cast<const uchar*>(FPDFBitmap_GetBuffer(bitmap)), area.width(), area.height(),
                       FPDFBitmap_GetStride(bitmap), QImage::Format_RGB32);
    const QImage copy = image.copy();
    FPDFBitmap_Destroy(bitmap);
    return copy;
}

} // namespace

TEST_F(ViewerTest, AHugePageAtFourHundredPercentShowsWhatTheEngineRendersThere) {
    FixtureDocument document;
    document.Pages = {FixturePage{{14400, 14400}, "A page of two hundred inches"}};
    Open(WritePdf(folder.path(), "huge.pdf", document));
    Warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepWarning);
    window.SetZoom({TZoomMode::Factor, 4.0});
    const int side = 14400 * 4 * 96 / 72;
    auto* area = window.findChild<QAbstractScrollArea*>("saPage");
    struct Place {
        const char* what;
        double x;
        double y;
    };
    for (const Place& place : {Place{"the top-left corner, with the text", 0, 0},
                               Place{"the middle", 0.5, 0.5}, Place{"the bottom-right corner", 1, 1}}) {
        SCOPED_TRACE(place.what);
        area->horizontalScrollBar()->setValue(qRound(area->horizontalScrollBar()->maximum() * place.x));
        area->verticalScrollBar()->setValue(qRound(area->verticalScrollBar()->maximum() * place.y));
        TPdfView& view = window.View();
        ASSERT_EQ(view.size(), QSize(side, side));
        const QImage shown = Shown(view);
        const QRect visible = view.visibleRegion().boundingRect();
        ASSERT_EQ(shown.size(), visible.size());
        const QImage engine = EngineArea(view.Page(), side, visible);
        // Text drawn from another origin may differ by a level in its smoothed edges, and by no more.
        EXPECT_EQ(DifferentPixels(shown, EngineArea(view.Page(), side, visible), 1), 0);
    }
    // The text, in sight at the start, is drawn.
    area->horizontalScrollBar()->setValue(0);
    area->verticalScrollBar()->setValue(0);
    const QImage corner = Shown(window.View());
    EXPECT_LT(
        corner.convertToFormat(QImage::Format_Grayscale8).copy(0, 0, 2000, 600).scaled(1, 1).pixel(0, 0),
        qRgb(255, 255, 255));
    qInstallMessageHandler(previous);
    EXPECT_TRUE(Warnings.isEmpty()) << Warnings.join('\n').toStdString();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}
