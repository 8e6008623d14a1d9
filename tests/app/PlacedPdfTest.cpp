// Pages placed on a printer's sheets as a PDF land where their images land in a raster job of the same
// options: poppler's rendering of each placed sheet against the sheet the raster path writes.
#include "app/printing/PlacedPdf.h"
#include "app/options/PrintOptions.h"
#include "app/printing/PagePlacement.h"
#include "app/printing/PwgPageWriter.h"
#include "pdf/Pdf.h"
#include "support/PdfFixtures.h"
#include "support/PrintedSheets.h"
#include "support/Programs.h"
#include "support/PwgRaster.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A Letter sheet at 100 dpi with margins that differ on every side, so that a page placed from the wrong
// edge shows.
TPwgPageSetup Sheet() {
    TPwgPageSetup setup;
    setup.Resolution = 100;
    setup.SheetWidth = 850;
    setup.SheetHeight = 1100;
    setup.Left = 20;
    setup.Top = 10;
    setup.Right = 30;
    setup.Bottom = 45;
    return setup;
}

// The sheet as the raster path writes it: the page rendered where PlacePage puts it, read back as the
// printer receives it.
QImage RasterSheet(PDFium::TPdf& pdf, int pageNumber, const TPwgPageSetup& setup,
                   const TPrintOptions& options) {
    pdf.SetPageNumber(pageNumber);
    const TPagePlacement place =
        PlacePage(setup.PrintableWidth(), setup.PrintableHeight(), setup.Resolution, pdf.PageWidth(),
                  pdf.PageHeight(), options.Scaling, options.Orientation, setup.Margins());
    QImage page = pdf.RenderPage(0, 0, place.Width, place.Height, place.Rotation, PDFium::AllRenderOptions,
                                 PDFium::clWhite);
    page.setOffset(QPoint(place.X, place.Y));
    const QList<PwgPage> sheets = ReadPwgRaster(PwgStreamStart() + EncodePwgPage(setup, page, 0));
    return sheets.isEmpty() ? QImage() : sheets.first().Pixels;
}

struct PlacedCase {
    const char* Name;
    FixturePage Page;
    TOptionValues Options;
    QList<QByteArray> Objects = {}; // the document's further objects, such as appearance streams
};

void PrintTo(const PlacedCase& c, std::ostream* os) {
    *os << c.Name;
}

// A black bar across the lower part of the page, drawn by an annotation's appearance; Flags as given.
QByteArray BarAnnotation(int Flags) {
    return "<< /Type /Annot /Subtype /Square /Rect [100 100 500 160] /F " + QByteArray::number(Flags) +
           " /AP << /N @object0 >> >>";
}
const QByteArray BarAppearance =
    "<< /Type /XObject /Subtype /Form /BBox [0 0 400 60] /Length 15 >>\nstream\n0 0 400 60 re f\nendstream";

class PlacedPdfTest : public testing::TestWithParam<PlacedCase> {};

TEST_P(PlacedPdfTest, SheetsMatchTheRasterPath) {
    const PlacedCase& c = GetParam();
    QTemporaryDir folder;
    FixturePage page = c.Page;
    page.Text = "Kestrova MMMMMMMM";
    // A second page, not printed, shows that only the pages asked for are placed.
    FixtureDocument document{{FixturePage{}, page}};
    document.Objects = c.Objects;
    const QString source = WritePdf(folder.path(), "source.pdf", document);
    PDFium::TPdf pdf;
    pdf.SetFileName(source);
    pdf.SetActive(true);
    const TPwgPageSetup setup = Sheet();
    const TPrintOptions options = ReadPrintOptions(c.Options);

    const QString placed = folder.filePath("placed.pdf");
    QFile out(placed);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(PlacePdfPages(pdf, {2}, setup, options));
    out.close();
    EXPECT_EQ(PdfInfoField(placed, "Pages"), "1");
    EXPECT_EQ(PdfInfoField(placed, "Page size"), "612 x 792 pts (letter)");

    const QImage expected = RasterSheet(pdf, 2, setup, options);
    const QImage actual = PopplerPage(placed, 1, setup.Resolution);
    ASSERT_EQ(actual.size(), expected.size());
    const QRect want = DarkArea(expected);
    const QRect got = DarkArea(actual);
    ASSERT_FALSE(want.isEmpty());
    // Two renderers draw glyph edges a pixel or two apart, no more.
    for (const auto& [edge, wanted] :
         {std::pair{got.left(), want.left()}, std::pair{got.top(), want.top()},
          std::pair{got.right(), want.right()}, std::pair{got.bottom(), want.bottom()}})
        EXPECT_NEAR(edge, wanted, 2);
    EXPECT_LT(MeanDifference(actual, expected), 2.0);
}

INSTANTIATE_TEST_SUITE_P(
    Placements, PlacedPdfTest,
    testing::Values(PlacedCase{"LetterAsSpecified", {}, {}},
                    PlacedCase{"LegalSqueezed", {QSizeF(612, 1008)}, {}},
                    PlacedCase{"LandscapeFitTurned", {QSizeF(792, 612)}, {{"print-scaling", "fit"}}},
                    PlacedCase{
                        "RotatedPageAtItsOwnSize", {QSizeF(612, 792), {}, 90}, {{"print-scaling", "none"}}},
                    PlacedCase{"SmallPageCentred", {QSizeF(300, 200)}, {{"print-scaling", "none"}}},
                    PlacedCase{"FillCut", {QSizeF(500, 600)}, {{"print-scaling", "fill"}}},
                    PlacedCase{"TurnedUpsideDown", {}, {{"orientation-requested", "6"}}},
                    // An annotation that prints moves with the page; one that does not print is not drawn
                    // on the sheet, nor left where the page was.
                    PlacedCase{"PrintedAnnotationMoves",
                               {QSizeF(612, 1008), {}, 0, {}, {BarAnnotation(4)}},
                               {},
                               {BarAppearance}},
                    PlacedCase{"UnprintedAnnotationGoes",
                               {QSizeF(612, 1008), {}, 0, {}, {BarAnnotation(0)}},
                               {},
                               {BarAppearance}}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
