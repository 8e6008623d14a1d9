// Adding to a page on the real engine: pictures and JPEG data, paths built step by step with their drawing
// settings read back from the engine, and text objects; the guards and the path's states.
#include "pdf/Pdf.h"
#include "pdf/engine/FPdfEdit.h"
#include "support/PdfFixtures.h"
#include "support/Programs.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

using namespace PDFium;

namespace {

void CreateFreePath(TPdf& pdf) {
    pdf.CreatePath(10, 10, fmNone, clBlack, 255, true, clBlack, 255, 1, lcDefault, ljDefault, bmDefault);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A device that claims more bytes than the engine's 32-bit length can describe.
class HugeDevice : public QIODevice {
public:
    HugeDevice() { open(QIODevice::ReadOnly); }
    qint64 size() const override { return qint64(5) << 30; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        std::memset(data, 0, size_t(maxSize));
        return maxSize;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
};

// Every kind of addition to the current page.
const std::function<void(TPdf&)> Additions[] = {
    [](TPdf& p) { p.AddPicture(SolidPicture(2, 2, Qt::red), 0, 0); },
    [](TPdf& p) {
        QBuffer empty;
        p.AddJpegImage(empty, 0, 0, 1, 1);
    },
    [](TPdf& p) { CreateFreePath(p); },
    [](TPdf& p) { p.AddText("x", "Helvetica", 12, 0, 0, clBlack, 255); },
    [](TPdf& p) { p.SetText(0, "x"); },
    [](TPdf& p) {
        p.UpdatePage();
    }};

} // namespace

TEST(PageContent, AdditionsNeedALoadedPage) {
    TPdf pdf;
    pdf.CreateDocument();
    for (const auto& addition : Additions)
        EXPECT_EQ(ErrorOf([&] { addition(pdf); }), InactivePage);
}

TEST(PageContent, NumbersBeyondWhatReadersTakeAreRefusedBeforeAnyChange) {
    const double infinity = std::numeric_limits<double>::infinity();
    const double notANumber = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* Name;
        std::function<void(TPdf&)> Addition;
        QString Value;
    } cases[] = {
        {"text far away", [](TPdf& p) { p.AddText("Hi", "Helvetica", 12, 1e30, 10, clBlack, 255); }, "1e+30"},
        {"text of no size", [&](TPdf& p) { p.AddText("Hi", "Helvetica", notANumber, 1, 1, clBlack, 255); },
         "nan"},
        {"picture", [&](TPdf& p) { p.AddPicture(SolidPicture(2, 2, Qt::red), 0, 0, infinity, 2); }, "inf"},
        {"rectangle",
         [](TPdf& p) {
             p.CreatePath(1, 1, 40000, 2, fmWinding, clBlack, 255, false, clBlack, 255, 1, lcDefault,
                          ljDefault, bmDefault);
         },
         "40000"},
        {"line",
         [&](TPdf& p) {
             CreateFreePath(p);
             p.LineTo(-infinity, 0);
         },
         "-inf"},
        {"curve",
         [](TPdf& p) {
             CreateFreePath(p);
             p.BezierTo(0, 0, 0, 0, 0, -32768);
         },
         "-32768"},
    };
    TPdf pdf;
    OpenBlankPage(pdf);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ErrorOf([&] { c.Addition(pdf); }),
                  "Number out of range: " + c.Value + " (coordinates and sizes lie within -32767 to 32767)");
        pdf.ReloadPage();
        EXPECT_EQ(pdf.ObjectCount(), 0);
    }
    // The limits themselves are taken.
    pdf.AddText("Hi", "Helvetica", 12, -32767, 32767, clBlack, 255);
    EXPECT_EQ(pdf.ObjectCount(), 1);
}

TEST(PageContent, ADocumentWithAPageTheEngineCannotFindIsRefusedBeforeAnyChange) {
    REQUIRE_TESTDATA("pdf/bad_page_type.pdf");
    // Page 2 is no page by its type; regenerating page 1 would end the process inside the engine.
    TPdf pdf;
    pdf.SetFileName(testDataPath("pdf/bad_page_type.pdf"));
    pdf.SetActive(true);
    pdf.SetPageNumber(1);
    const int objects = pdf.ObjectCount();
    for (const auto& addition : Additions) {
        EXPECT_EQ(ErrorOf([&] { addition(pdf); }),
                  "Cannot change the page: page 2 of the document cannot be read");
        EXPECT_EQ(pdf.ObjectCount(), objects);
    }
}

// Pages placed on sheets in one pass become the sheets; the page current before is current again, loaded
// with what it holds, after a refusal too; a document the engine cannot edit is refused as additions are.
TEST(PageContent, PagesPlacedOnSheetsLeaveTheCurrentPageAsItWas) {
    const QByteArray bytes = MakePdf(
        {{FixturePage{{612, 792}, "One"}, FixturePage{{612, 792}, "Two"}, FixturePage{{612, 792}, "Three"}}});
    TPdf pdf;
    pdf.LoadDocument(bytes);
    pdf.SetPageNumber(2);
    const int objects = pdf.ObjectCount();
    const TSheetPlacement half{QTransform::fromScale(0.5, 0.5), {0, 396, 306, 0}, 306, 396};
    pdf.PlacePagesOnSheets({1, 3}, [&] { return half; });
    EXPECT_EQ(pdf.PageNumber(), 2);
    EXPECT_EQ(pdf.ObjectCount(), objects);
    for (const auto& [page, size] :
         {std::pair{1, QSizeF(306, 396)}, std::pair{2, QSizeF(612, 792)}, std::pair{3, QSizeF(306, 396)}})
        EXPECT_EQ(pdf.PageSize(page), size) << "page " << page;

    EXPECT_EQ(ErrorOf([&] {
                  pdf.PlacePagesOnSheets({2, 4}, [&] { return half; });
              }),
              "Incorrect page number");
    EXPECT_EQ(pdf.PageSize(2), QSizeF(612, 792)) << "refused before any page is placed";
    EXPECT_EQ(pdf.PageNumber(), 2);
    EXPECT_EQ(pdf.ObjectCount(), objects);
    EXPECT_EQ(ErrorOf([&] { pdf.PlacePagesOnSheets({1}, [] { return TSheetPlacement{}; }); }),
              "Cannot place page on sheet");
}

TEST(PageContent, ADocumentWithAPageTheEngineCannotFindIsNotPlacedOnSheets) {
    REQUIRE_TESTDATA("pdf/bad_page_type.pdf");
    TPdf pdf;
    pdf.SetFileName(testDataPath("pdf/bad_page_type.pdf"));
    pdf.SetActive(true);
    EXPECT_EQ(ErrorOf([&] {
                  pdf.PlacePagesOnSheets({1}, [] {
                      return TSheetPlacement{QTransform(), {0, 792, 612, 0}, 612, 792};
                  });
              }),
              "Cannot change the page: page 2 of the document cannot be read");
}

TEST(PageContent, PicturesArePlacedWhereAndAsLargeAsAsked) {
    const struct {
        QSize Picture;
        std::optional<QSizeF> Size; // the three-argument form when empty
        QPointF At;
        TPdfRectangle Bounds;
    } cases[] = {
        {{200, 100}, {}, {50, 60}, {50, 160, 250, 60}},
        {{200, 100}, QSizeF(100, 300), {10, 20}, {10, 320, 110, 20}},
        {{1, 1}, QSizeF(72, 36), {0, 0}, {0, 36, 72, 0}},
    };
    for (const auto& c : cases) {
        TPdf pdf;
        OpenBlankPage(pdf);
        const QImage picture = SolidPicture(c.Picture.width(), c.Picture.height(), Qt::green);
        if (c.Size)
            pdf.AddPicture(picture, c.At.x(), c.At.y(), c.Size->width(), c.Size->height());
        else
            pdf.AddPicture(picture, c.At.x(), c.At.y());
        ASSERT_EQ(pdf.ObjectCount(), 1);
        EXPECT_EQ(pdf.ImageCount(), 1);
        EXPECT_EQ(pdf.ObjectBounds(0), c.Bounds);
        EXPECT_EQ(QSize(pdf.Image(0).Width, pdf.Image(0).Height), c.Picture);
    }
}

TEST(PageContent, PicturesComeFromFilesAndDevices) {
    REQUIRE_TESTDATA("mona_lisa.jpg");
    TPdf pdf;
    OpenBlankPage(pdf);
    pdf.AddPicture(TPicture(testDataPath("mona_lisa.jpg")), 0, 0);
    EXPECT_EQ(pdf.ObjectBounds(0), (TPdfRectangle{0, 120, 120, 0}));
    QBuffer notAPicture;
    notAPicture.setData("no picture here");
    notAPicture.open(QIODevice::ReadOnly);
    EXPECT_TRUE(ErrorOf([&] { TPicture{notAPicture}; }).startsWith("Cannot read picture: "));
    EXPECT_TRUE(ErrorOf([&] {
                    TPicture{QStringLiteral("/nonexistent/picture.png")};
                }).startsWith("Cannot read picture: "));
    // A picture without pixels gives the engine no bitmap to make, and nothing is placed.
    EXPECT_EQ(ErrorOf([&] { pdf.AddPicture(QImage(), 0, 0); }), "Cannot create bitmap");
    EXPECT_EQ(pdf.ObjectCount(), 1);
}

TEST(PageContent, JpegDataIsEmbeddedFromTheStreamsStart) {
    REQUIRE_TESTDATA("mona_lisa.jpg");
    const QByteArray jpeg = ReadFile(testDataPath("mona_lisa.jpg"));
    const QByteArray png = [] {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        SolidPicture(4, 4, Qt::red).save(&buffer, "PNG");
        return buffer.data();
    }();
    const struct {
        QByteArray Data;
        qint64 Position; // where the stream stands before the call
        bool Accepted;
    } cases[] = {{jpeg, 0, true}, {jpeg, 1000, true},          {jpeg, jpeg.size(), true},
                 {png, 0, false}, {"not a picture", 0, false}, {{}, 0, false}};
    for (const auto& c : cases) {
        TPdf pdf;
        OpenBlankPage(pdf);
        QBuffer stream;
        stream.setData(c.Data);
        stream.open(QIODevice::ReadOnly);
        stream.seek(c.Position);
        EXPECT_EQ(pdf.AddJpegImage(stream, 100, 200, 60, 80), c.Accepted);
        EXPECT_EQ(pdf.ObjectCount(), c.Accepted ? 1 : 0);
        if (c.Accepted) {
            EXPECT_EQ(pdf.ObjectBounds(0), (TPdfRectangle{100, 280, 160, 200}));
            EXPECT_EQ(pdf.Bitmap(0).size(), QSize(120, 120));
        }
    }
}

TEST(PageContent, AStreamBeyondTheEnginesSizeIsRefused) {
    TPdf pdf;
    OpenBlankPage(pdf);
    HugeDevice huge;
    const QString error = ErrorOf([&] { pdf.AddJpegImage(huge, 0, 0, 10, 10); });
    EXPECT_TRUE(error.startsWith("Cannot load JPEG image: the stream holds 5368709120 bytes"))
        << error.toStdString();
    EXPECT_EQ(pdf.ObjectCount(), 0);
}

TEST(PageContent, APathMovesThroughItsStates) {
    TPdf pdf;
    OpenBlankPage(pdf);
    const QString notCreated = QStringLiteral("Path was not created");
    const std::function<void()> withoutPath[] = {[&] { pdf.MoveTo(1, 1); }, [&] { pdf.LineTo(1, 1); },
                                                 [&] { pdf.BezierTo(1, 1, 2, 2, 3, 3); },
                                                 [&] { pdf.ClosePath(); },
                                                 [&] {
                                                     pdf.AddPath();
                                                 }};
    for (const auto& call : withoutPath)
        EXPECT_EQ(ErrorOf(call), notCreated);

    CreateFreePath(pdf);
    EXPECT_EQ(ErrorOf([&] { CreateFreePath(pdf); }), "Path was already created");
    pdf.LineTo(100, 10);
    pdf.BezierTo(120, 20, 120, 40, 100, 50);
    pdf.MoveTo(10, 50);
    pdf.LineTo(10, 80);
    pdf.ClosePath();
    pdf.AddPath();
    ASSERT_EQ(pdf.ObjectCount(), 1);
    EXPECT_EQ(pdf.ObjectType(0), otPath);
    // The start, a line, a curve of three points, a move and a line.
    EXPECT_EQ(FPDFPath_CountSegments(pdf.ObjectHandle(0)), 7);
    EXPECT_EQ(ErrorOf([&] { pdf.AddPath(); }), notCreated);
}

TEST(PageContent, APageUnloadForgetsThePathInProgress) {
    const std::function<void(TPdf&)> unloads[] = {[](TPdf& p) { p.SetPageNumber(2); },
                                                  [](TPdf& p) { p.ReloadPage(); },
                                                  [](TPdf& p) { p.AddPage(3, 100, 100); },
                                                  [](TPdf& p) { p.SetPageRotation(ro90); },
                                                  [](TPdf& p) { p.DeletePage(2); },
                                                  [](TPdf& p) {
                                                      p.SetActive(false);
                                                  }};
    for (const auto& unload : unloads) {
        TPdf pdf;
        OpenBlankPage(pdf);
        pdf.AddPage(2, 100, 100);
        pdf.SetPageNumber(1);
        CreateFreePath(pdf);
        pdf.LineTo(50, 50);
        unload(pdf);
        EXPECT_EQ(ErrorOf([&] { pdf.AddPath(); }), "Path was not created");
        if (pdf.Active() && pdf.PageNumber() != 0) {
            EXPECT_EQ(pdf.ObjectCount(), 0);
        }
    }
    // A component destroyed with a path in progress leaves nothing behind either (the leak check sees it).
    TPdf pdf;
    OpenBlankPage(pdf);
    CreateFreePath(pdf);
}

TEST(PageContent, PathSettingsReachTheEngine) {
    const struct {
        TPdfFillMode FillMode;
        bool Stroke;
        float StrokeWidth;
        TPdfLineCap LineCap;
        TPdfLineJoin LineJoin;
        int EngineFill;
        float EngineWidth;
        int EngineCap, EngineJoin;
    } cases[] = {
        {fmNone, false, 3, lcDefault, ljDefault, 0, 1, 0, 0},
        {fmAlternate, true, 1, lcRound, ljBevel, 1, 1, 1, 2},
        {fmWinding, true, 1.5, lcProjectingSquare, ljRound, 2, 1.5, 2, 1},
        {fmNone, false, 2, lcButt, ljMiter, 0, 1, 0, 0},
        {fmWinding, false, 1, lcRound, ljRound, 2, 1, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.EngineFill * 100 + c.EngineCap * 10 + c.EngineJoin);
        TPdf pdf;
        OpenBlankPage(pdf);
        pdf.CreatePath(0, 0, 10, 10, c.FillMode, 0x336699, 200, c.Stroke, 0x0000FF, 100, c.StrokeWidth,
                       c.LineCap, c.LineJoin, bmMultiply);
        pdf.AddPath();
        const FPDF_PAGEOBJECT path = pdf.ObjectHandle(0);
        int fillMode = -1;
        FPDF_BOOL stroke = -1;
        ASSERT_TRUE(FPDFPath_GetDrawMode(path, &fillMode, &stroke));
        EXPECT_EQ(fillMode, c.EngineFill);
        EXPECT_EQ(stroke != 0, c.Stroke);
        float width = 0;
        ASSERT_TRUE(FPDFPageObj_GetStrokeWidth(path, &width));
        EXPECT_FLOAT_EQ(width, c.EngineWidth);
        EXPECT_EQ(FPDFPageObj_GetLineCap(path), c.EngineCap);
        EXPECT_EQ(FPDFPageObj_GetLineJoin(path), c.EngineJoin);
        // The fill colour is sent whatever the fill mode: TColor 0x336699 is red 0x99, green 0x66, blue 0x33.
        unsigned int r = 0, g = 0, b = 0, a = 0;
        ASSERT_TRUE(FPDFPageObj_GetFillColor(path, &r, &g, &b, &a));
        EXPECT_EQ(std::tuple(r, g, b, a), std::tuple(0x99u, 0x66u, 0x33u, 200u));
        ASSERT_TRUE(FPDFPageObj_GetStrokeColor(path, &r, &g, &b, &a));
        if (c.Stroke)
            EXPECT_EQ(std::tuple(r, g, b, a), std::tuple(0xFFu, 0u, 0u, 100u));
        else
            EXPECT_NE(std::tuple(r, g, b, a), std::tuple(0xFFu, 0u, 0u, 100u));
    }
}

TEST(PageContent, BlendModesGoByTheirNames) {
    const struct {
        TPdfBlendMode Mode;
        const char* Name;
    } cases[] = {{bmDefault, ""},      {bmColor, "Color"},          {bmMultiply, "Multiply"},
                 {bmNormal, "Normal"}, {bmSoftLight, "SoftLight"},  {bmColorDodge, "ColorDodge"},
                 {bmScreen, "Screen"}, {bmLuminosity, "Luminosity"}};
    for (const auto& c : cases)
        EXPECT_EQ(EncodeBlendMode(c.Mode), QByteArray(c.Name));
    // A blended path is transparent to the engine, whatever its alpha.
    TPdf pdf;
    OpenBlankPage(pdf);
    pdf.CreatePath(0, 0, 10, 10, fmWinding, clBlack, 255, false, clBlack, 255, 1, lcDefault, ljDefault,
                   bmMultiply);
    pdf.AddPath();
    EXPECT_TRUE(pdf.ObjectTransparent(0));
}

TEST(PageContent, TextIsWrittenAndRewritten) {
    TPdf pdf;
    OpenBlankPage(pdf);
    pdf.AddPicture(SolidPicture(2, 2, Qt::red), 0, 0);
    pdf.AddText(QStringLiteral("Grüße"), "Helvetica", 20, 72, 700, 0x0000FF, 255);
    ASSERT_EQ(pdf.ObjectCount(), 2);
    EXPECT_EQ(pdf.ObjectType(1), otText);
    const TPdfRectangle bounds = pdf.ObjectBounds(1);
    EXPECT_NEAR(bounds.Left, 72, 3);
    EXPECT_NEAR(bounds.Bottom, 700, 6);
    EXPECT_EQ(pdf.CharacterCount(), 5);
    EXPECT_EQ(pdf.Text(0, 5), QStringLiteral("Grüße"));

    pdf.SetText(1, "Changed");
    pdf.ReloadPage();
    EXPECT_EQ(pdf.Text(0, pdf.CharacterCount()), "Changed");
    // Its standard font draws no Greek: the text stays as it was.
    EXPECT_EQ(ErrorOf([&] { pdf.SetText(1, QStringLiteral("Ωmega")); }),
              "The font Helvetica does not draw the character \"Ω\" (U+03A9)");
    EXPECT_EQ(ErrorOf([&] { pdf.SetText(1, QStringLiteral("𝄞")); }),
              "Cannot draw the character \"𝄞\" (U+1D11E): the engine draws no character beyond the Basic "
              "Multilingual Plane");
    pdf.ReloadPage();
    EXPECT_EQ(pdf.Text(0, pdf.CharacterCount()), "Changed");

    const struct {
        int Index;
        const char* Error;
    } refusals[] = {{0, "Text object required"}, {2, "Incorrect index"}, {-1, "Incorrect index"}};
    for (const auto& refusal : refusals)
        EXPECT_EQ(ErrorOf([&] { pdf.SetText(refusal.Index, "x"); }), refusal.Error);
    EXPECT_EQ(ErrorOf([&] { pdf.AddText("x", "NoSuchFont", 12, 0, 0, clBlack, 255); }),
              "Cannot create text object");
    EXPECT_EQ(pdf.ObjectCount(), 2);
}

TEST(PageContent, TextIsDrawnInAFontThatCoversItOrRefused) {
    // A font file of the system that draws Greek and Japanese.
    const QString fontFile =
        RunProgram("fc-match", {"--format=%{file}", ":charset=3a9 6771 4eac:fontformat=TrueType"});
    const bool hasFontFile = fontFile.endsWith(".ttf") || fontFile.endsWith(".otf");
    const struct {
        QString Text;
        QString Font;
        QString Error;
    } cases[] = {
        {QStringLiteral("Zoë – “€5”"), "Helvetica", "<none>"},
        {QStringLiteral("Zoë Ωmega"), "Helvetica",
         "The font Helvetica does not draw the character \"Ω\" (U+03A9)"},
        {QStringLiteral("東京"), "Times-Roman",
         "The font Times-Roman does not draw the character \"東\" (U+6771)"},
        {QStringLiteral("Zoë Ωmega 東京"), fontFile, "<none>"},
        {"x", "/no/such/font.ttf", "Cannot create text object"},
        // Whatever the font, the engine draws nothing for a character beyond the Basic Multilingual Plane and
        // lays Hebrew out left to right.
        {QStringLiteral("A😀B"), fontFile,
         "Cannot draw the character \"😀\" (U+1F600): the engine draws no character beyond the Basic "
         "Multilingual Plane"},
        {QStringLiteral("A😀B"), "Helvetica",
         "Cannot draw the character \"😀\" (U+1F600): the engine draws no character beyond the Basic "
         "Multilingual Plane"},
        {QStringLiteral("Zoë שלום"), fontFile,
         "Cannot place the right-to-left character \"ש\" (U+05E9): text is laid out left to right, and would "
         "read reversed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text.toStdString() + " in " + c.Font.toStdString());
        if (c.Font == fontFile && !hasFontFile) {
            ADD_FAILURE() << "no font of this system draws Greek and Japanese (fonts-ipafont-gothic)";
            continue;
        }
        TPdf pdf;
        OpenBlankPage(pdf);
        EXPECT_EQ(ErrorOf([&] { pdf.AddText(c.Text, c.Font, 12, 72, 700, clBlack, 255); }), c.Error);
        EXPECT_EQ(pdf.ObjectCount(), c.Error == "<none>" ? 1 : 0);
        if (c.Error == "<none>") {
            pdf.ReloadPage();
            // The engine reads the space of an embedded font's text back as a no-break space.
            EXPECT_EQ(pdf.Text(0, pdf.CharacterCount()).replace(QChar(0xA0), QLatin1Char(' ')), c.Text);
            QTemporaryDir dir;
            const QString saved = dir.filePath("text.pdf");
            ASSERT_TRUE(pdf.SaveAs(saved, saNoIncremental, pvUnknown));
            EXPECT_EQ(RunProgram("pdftotext", {saved, "-"}).trimmed(), c.Text);
        }
    }
}

// A page whose content clips everything after it to its lower-left corner, outside any saved graphics state:
// what is added shows all the same, to the engine and to poppler, and the page's own drawing stays clipped.
TEST(PageContent, AdditionsShowThoughThePagesOwnContentLeavesAClipSet) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FixturePage page{{200, 200}};
    page.Content = "0 0 30 30 re W n 0 0 1 rg 0 0 100 100 re f";
    const QString path = WritePdf(dir.path(), "clipped.pdf", FixtureDocument{{page}});
    // Two sessions, each adding to the document the one before saved.
    const struct {
        QPoint At; // in pixels from the top left, at 72 dpi
        QColor Color;
        std::function<void(TPdf&)> Add;
    } additions[] = {{{60, 60},
                      Qt::red,
                      [](TPdf& p) {
                          p.AddPicture(SolidPicture(2, 2, Qt::red), 40, 120, 80, 40);
                      }},
                     {{150, 150}, Qt::green, [](TPdf& p) {
                          p.CreatePath(140, 40, 20, 20, fmWinding, 0x00FF00, 255, false, clBlack, 255, 1,
                                       lcDefault, ljDefault, bmDefault);
                          p.AddPath();
                      }}};
    for (const auto& addition : additions) {
        TPdf pdf;
        pdf.SetFileName(path);
        pdf.SetPageNumber(1);
        pdf.SetActive(true);
        addition.Add(pdf);
        ASSERT_TRUE(pdf.SaveAs(path, saNoIncremental, pvUnknown));
    }
    EXPECT_TRUE(RunProgram("qpdf", {"--check", path}).contains("No syntax or stream encoding errors found"));
    TPdf reread;
    reread.SetFileName(path);
    reread.SetPageNumber(1);
    reread.SetActive(true);
    const QImage engine = reread.RenderPage(0, 0, 200, 200, ro0, {}, clWhite);
    RunProgram("pdftoppm", {"-r", "72", "-png", "-singlefile", path, dir.filePath("poppler")});
    const QImage poppler(dir.filePath("poppler.png"));
    for (const auto& [name, image] : {std::pair{"engine", engine}, std::pair{"poppler", poppler}}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(image.size(), QSize(200, 200));
        for (const auto& addition : additions)
            EXPECT_EQ(image.pixelColor(addition.At).rgb(), addition.Color.rgb());
        EXPECT_EQ(image.pixelColor(10, 190).rgb(), QColor(Qt::blue).rgb());
        EXPECT_EQ(image.pixelColor(50, 150).rgb(), QColor(Qt::white).rgb());
    }
}
