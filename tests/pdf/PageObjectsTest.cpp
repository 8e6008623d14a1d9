// Page objects and images on the real engine: counting and addressing objects, the image-only view, image
// data and bitmaps of the shared corpus's images, and the bitmap copy of engine rows of any length.
#include "pdf/Pdf.h"
#include "pdf/editing/ObjectImages.h"
#include "pdf/engine/FPdfEdit.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"
#include "tests/pdf/SharedDocument.h"

#include <QBuffer>
#include <functional>
#include <gtest/gtest.h>

using namespace PDFium;

namespace {

const QString IncorrectIndex = QStringLiteral("Incorrect index");

// A page holding, in order, a text, an image of 30 x 20 pixels, a rectangle and an image of 40 x 10 pixels.
void OpenMixedPage(TPdf& pdf) {
    OpenBlankPage(pdf);
    pdf.AddText("Mixed", "Helvetica", 12, 72, 700, clBlack, 255);
    pdf.AddPicture(SolidPicture(30, 20, Qt::red), 72, 600);
    pdf.CreatePath(10, 20, 30, 40, fmWinding, clBlack, 255, false, clBlack, 255, 1, lcDefault, ljDefault,
                   bmDefault);
    pdf.AddPath();
    pdf.AddPicture(SolidPicture(40, 10, Qt::blue), 72, 500);
}

// The sizes of embedded_images.pdf's six images as an independent reader lists them (pdfimages -list).
const QSize CorpusImageSizes[] = {{109, 88}, {103, 75}, {92, 68}, {79, 60}, {126, 106}, {194, 119}};

} // namespace

TEST(PageObjects, EveryMemberNeedsALoadedPage) {
    const std::function<void(TPdf&)> members[] = {[](TPdf& p) { p.ObjectCount(); },
                                                  [](TPdf& p) { p.ObjectHandle(0); },
                                                  [](TPdf& p) { p.ObjectType(0); },
                                                  [](TPdf& p) { p.ObjectBounds(0); },
                                                  [](TPdf& p) { p.ObjectTransparent(0); },
                                                  [](TPdf& p) { p.ObjectBitmap(0); },
                                                  [](TPdf& p) { p.ImageCount(); },
                                                  [](TPdf& p) { p.BitmapCount(); },
                                                  [](TPdf& p) { p.Image(0); },
                                                  [](TPdf& p) { p.Bitmap(-1); },
                                                  [](TPdf& p) {
                                                      p.Transparent();
                                                  }};
    TPdf closed;
    closed.setObjectName("Pdf");
    TPdf withoutPage;
    withoutPage.CreateDocument();
    for (const auto& member : members) {
        EXPECT_EQ(ErrorOf([&] { member(closed); }),
                  QStringLiteral("Cannot perform this operation on an inactive Pdf component"));
        EXPECT_EQ(ErrorOf([&] { member(withoutPage); }), InactivePage);
    }
}

TEST(PageObjects, AnEmptyPageHasNoObjects) {
    TPdf pdf;
    OpenBlankPage(pdf);
    EXPECT_EQ(pdf.ObjectCount(), 0);
    EXPECT_EQ(pdf.ImageCount(), 0);
    EXPECT_EQ(ErrorOf([&] { pdf.Image(0); }), IncorrectIndex);
}

TEST(PageObjects, ImageIndexesCountImagesAlone) {
    TPdf pdf;
    OpenMixedPage(pdf);
    ASSERT_EQ(pdf.ObjectCount(), 4);
    const TObjectType types[] = {otText, otImage, otPath, otImage};
    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(pdf.ObjectType(index), types[index]) << index;
    EXPECT_EQ(pdf.ImageCount(), 2);
    EXPECT_EQ(pdf.BitmapCount(), 2);
    const struct {
        int ImageIndex;
        QSize Size;
    } images[] = {{0, {30, 20}}, {1, {40, 10}}};
    for (const auto& image : images) {
        const TPdfImage data = pdf.Image(image.ImageIndex);
        EXPECT_EQ(QSize(data.Width, data.Height), image.Size);
        EXPECT_EQ(pdf.Bitmap(image.ImageIndex).size(), image.Size);
    }
}

TEST(PageObjects, IndexesOutsideTheirRangeAreRefused) {
    TPdf pdf;
    OpenMixedPage(pdf);
    const std::function<void()> calls[] = {[&] { pdf.ObjectHandle(-1); },
                                           [&] { pdf.ObjectHandle(4); },
                                           [&] { pdf.ObjectType(4); },
                                           [&] { pdf.ObjectBounds(-1); },
                                           [&] { pdf.Image(-1); },
                                           [&] { pdf.Image(2); },
                                           [&] { pdf.Bitmap(2); },
                                           [&] { pdf.ObjectBitmap(99); },
                                           [&] {
                                               pdf.ObjectTransparent(4);
                                           }};
    for (const auto& call : calls)
        EXPECT_EQ(ErrorOf(call), IncorrectIndex);
}

TEST(PageObjects, OnlyImagesHaveAnObjectBitmap) {
    TPdf pdf;
    OpenMixedPage(pdf);
    EXPECT_TRUE(pdf.ObjectBitmap(0).isNull());
    EXPECT_EQ(pdf.ObjectBitmap(1).size(), QSize(30, 20));
    EXPECT_TRUE(pdf.ObjectBitmap(2).isNull());
}

TEST(PageObjects, BoundsArePlacedByTheirNames) {
    TPdf pdf;
    OpenMixedPage(pdf);
    // The rectangle was drawn from (10, 20), 30 wide and 40 high, without a stroke.
    EXPECT_EQ(pdf.ObjectBounds(2), (TPdfRectangle{10, 60, 40, 20}));
    // The first image: lower-left corner (72, 600), one point a pixel.
    EXPECT_EQ(pdf.ObjectBounds(1), (TPdfRectangle{72, 620, 102, 600}));
}

TEST(PageObjects, TransparencyFollowsAlpha) {
    TPdf pdf;
    OpenBlankPage(pdf);
    EXPECT_FALSE(pdf.Transparent());
    for (const quint8 alpha : {quint8(255), quint8(128)}) {
        pdf.CreatePath(0, 0, 10, 10, fmWinding, clBlack, alpha, false, clBlack, 255, 1, lcDefault, ljDefault,
                       bmDefault);
        pdf.AddPath();
        EXPECT_EQ(pdf.ObjectTransparent(pdf.ObjectCount() - 1), alpha != 255) << int(alpha);
    }
}

TEST(PageObjects, CorpusImagesReadAsDataAndBitmaps) {
    REQUIRE_TESTDATA("pdf/embedded_images.pdf");
    TPdf pdf;
    OpenShared(pdf, "pdf/embedded_images.pdf");
    ASSERT_EQ(pdf.ImageCount(), 6);
    for (int index = 0; index < 6; ++index) {
        SCOPED_TRACE(index);
        const TPdfImage image = pdf.Image(index);
        EXPECT_EQ(QSize(image.Width, image.Height), CorpusImageSizes[index]);
        EXPECT_FALSE(image.Data.isEmpty());
        const QImage bitmap = pdf.Bitmap(index);
        EXPECT_EQ(bitmap.size(), CorpusImageSizes[index]);
        // The same pixels as the engine's own bitmap of the object, the 34th object being the first image.
        EXPECT_EQ(bitmap, pdf.ObjectBitmap(33 + index));
    }
    // The last two are stored as JPEG, the last one in hexadecimal digits besides: their data is the stream
    // as stored, with its filters not applied.
    EXPECT_TRUE(pdf.Image(4).Data.startsWith("\xFF\xD8"));
    EXPECT_TRUE(pdf.Image(5).Data.startsWith("FFD8"));
}

TEST(PageObjects, ImageDataRefusesAShortBuffer) {
    REQUIRE_TESTDATA("pdf/embedded_images.pdf");
    TPdf pdf;
    OpenShared(pdf, "pdf/embedded_images.pdf");
    const FPDF_PAGEOBJECT image = pdf.ObjectHandle(33);
    int height = 0;
    int width = 0;
    unsigned int size = 0;
    ASSERT_TRUE(FPDFPageObj_GetImage(image, &height, &width, &size, nullptr));
    QByteArray buffer(size, '\0');
    size -= 1;
    EXPECT_FALSE(FPDFPageObj_GetImage(image, &height, &width, &size, buffer.data()));
    EXPECT_FALSE(FPDFPageObj_GetImage(pdf.ObjectHandle(0), &height, &width, &size, nullptr));
}

namespace {

// What a stand-in for the engine's image rows reports; the rows are filled with their row number.
struct DibAnswer {
    bool Succeeds = true;
    int Height = 3, Width = 2, Bpp = 32, ScanLineSize = 8;
};
DibAnswer CurrentDib;

FPDF_BOOL AnswerDib(FPDF_PAGEOBJECT, int* height, int* width, int* bpp, int* scanLineSize, void* buffer) {
    *height = CurrentDib.Height;
    *width = CurrentDib.Width;
    *bpp = CurrentDib.Bpp;
    *scanLineSize = CurrentDib.ScanLineSize;
    if (buffer)
        for (int row = 0; row < CurrentDib.Height; ++row)
            std::memset(static_cast<char*>(buffer) + size_t(row) * CurrentDib.ScanLineSize, row + 1,
                        size_t(CurrentDib.ScanLineSize));
    return CurrentDib.Succeeds;
}

} // namespace

// Engine rows longer or shorter than a bitmap row, which no engine build at hand produces, from a stand-in.
TEST(PageObjects, BitmapRowsAreCopiedNeverPastTheirEnd) {
    TPdf pdf; // loads the engine, whose entry point is put back below
    OpenBlankPage(pdf);
    const auto engineDib = FPDFPageObj_GetDIB;
    FPDFPageObj_GetDIB = &AnswerDib;
    const struct {
        DibAnswer Answer;
        QImage::Format Format;
        int CopiedBytes; // of each row, each byte holding the row number from 1
        QString Error;
    } cases[] = {
        {{true, 3, 2, 32, 4096}, QImage::Format_RGB32, 8, "<none>"},
        {{true, 2, 5, 24, 15}, QImage::Format_BGR888, 15, "<none>"},
        {{true, 2, 5, 24, 3}, QImage::Format_BGR888, 3, "<none>"},
        {{true, 4, 7, 8, 64}, QImage::Format_Grayscale8, 7, "<none>"},
        {{true, 1, 3, 16, 6}, QImage::Format_RGB16, 6, "<none>"},
        {{true, 2, 2, 1, 4}, QImage::Format_Invalid, 0, "<none>"},
        {{true, 0, 0, 32, 0}, QImage::Format_Invalid, 0, "<none>"},
        {{true, -1, 2, 32, 8}, QImage::Format_Invalid, 0, "Cannot retrieve image data"},
        {{false, 2, 2, 32, 8}, QImage::Format_Invalid, 0, "Cannot retrieve image data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Answer.ScanLineSize);
        CurrentDib = c.Answer;
        QImage bitmap;
        EXPECT_EQ(ErrorOf([&] { bitmap = GetBitmap(nullptr); }), c.Error);
        if (c.Error != "<none>" || c.Format == QImage::Format_Invalid) {
            EXPECT_TRUE(bitmap.isNull());
            continue;
        }
        EXPECT_EQ(bitmap.format(), c.Format);
        EXPECT_EQ(bitmap.size(), QSize(c.Answer.Width, c.Answer.Height));
        for (int row = 0; row < bitmap.height(); ++row)
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(bitmap.constScanLine(row)), c.CopiedBytes),
                      QByteArray(c.CopiedBytes, char(row + 1)));
    }
    FPDFPageObj_GetDIB = engineDib;
}

namespace {

// A stand-in for the engine's image data that reports an image of 4 x 3 without any bytes; a buffer must
// then never be asked for.
FPDF_BOOL AnswerEmptyImage(FPDF_PAGEOBJECT, int* height, int* width, unsigned int* size, void* buffer) {
    *height = 3;
    *width = 4;
    *size = 0;
    return buffer == nullptr;
}

} // namespace

TEST(PageObjects, AnImageWithoutDataYieldsAnEmptyRecord) {
    TPdf pdf;
    OpenBlankPage(pdf);
    const auto engineImage = FPDFPageObj_GetImage;
    FPDFPageObj_GetImage = &AnswerEmptyImage;
    const TPdfImage image = GetImage(nullptr);
    FPDFPageObj_GetImage = engineImage;
    EXPECT_EQ(image.Width, 4);
    EXPECT_EQ(image.Height, 3);
    EXPECT_TRUE(image.Data.isEmpty());
}
