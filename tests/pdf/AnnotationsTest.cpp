// Annotations on the real engine: records created, read, changed and deleted on written fixtures and on the
// shared corpus, with their guards and errors, and round trips through saved files read back by qpdf and by
// the engine after reloading.
#include "pdf/Pdf.h"
#include "pdf/core/SystemColors.h"
#include "pdf/engine/FPdfAnnot.h"
#include "support/PdfFixtures.h"
#include "support/Programs.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"
#include "tests/pdf/SharedDocument.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

using namespace PDFium;

namespace {

TPdfAnnotation Record(TPdfAnnotationSubtype subtype, TPdfRectangle rectangle) {
    TPdfAnnotation record;
    record.Subtype = subtype;
    record.Flags = {afPrint};
    record.Rectangle = rectangle;
    return record;
}

TPdfAnnotation Colored(TPdfAnnotation record, TColor color, quint8 alpha) {
    record.HasColor = true;
    record.Color = color;
    record.ColorAlpha = alpha;
    return record;
}

TPdfAnnotation WithTexts(TPdfAnnotation record, const QString& contents, const QString& author) {
    record.ContentsText = contents;
    record.AuthorText = author;
    return record;
}

void ExpectSameRecord(const TPdfAnnotation& actual, const TPdfAnnotation& expected) {
    EXPECT_EQ(actual.Subtype, expected.Subtype);
    EXPECT_EQ(actual.Flags, expected.Flags);
    EXPECT_EQ(actual.HasColor, expected.HasColor);
    EXPECT_EQ(actual.Color, expected.Color);
    EXPECT_EQ(actual.ColorAlpha, expected.ColorAlpha);
    EXPECT_EQ(actual.HasInteriorColor, expected.HasInteriorColor);
    EXPECT_EQ(actual.InteriorColor, expected.InteriorColor);
    EXPECT_EQ(actual.InteriorColorAlpha, expected.InteriorColorAlpha);
    EXPECT_EQ(actual.HasAttachmentPoints, expected.HasAttachmentPoints);
    EXPECT_EQ(actual.AttachmentPoints, expected.AttachmentPoints);
    EXPECT_EQ(actual.Rectangle, expected.Rectangle);
    EXPECT_EQ(actual.ContentsText, expected.ContentsText);
    EXPECT_EQ(actual.AuthorText, expected.AuthorText);
}

// One page carrying the given annotation dictionaries.
QString AnnotatedFixture(const QTemporaryDir& dir, const QList<QByteArray>& annotations) {
    FixtureDocument document;
    document.Pages.first().Annotations = annotations;
    return WritePdf(dir.path(), "annotated.pdf", document);
}

void Open(TPdf& pdf, const QString& path) {
    pdf.SetFileName(path);
    pdf.SetPageNumber(1);
    pdf.SetActive(true);
}

// The engine's own flag word and entries of annotation Index of the current page.
int EngineFlags(const TPdf& pdf, int index) {
    FPDF_ANNOTATION annotation = FPDFPage_GetAnnot(pdf.Page(), index);
    const int flags = FPDFAnnot_GetFlags(annotation);
    FPDFPage_CloseAnnot(annotation);
    return flags;
}

bool HasEntry(const TPdf& pdf, int index, const char* key) {
    FPDF_ANNOTATION annotation = FPDFPage_GetAnnot(pdf.Page(), index);
    const bool has = FPDFAnnot_HasKey(annotation, key) != 0;
    FPDFPage_CloseAnnot(annotation);
    return has;
}

} // namespace

TEST(Annotations, GuardsAndIndexesSayWhatIsWrong) {
    TPdf inactive;
    TPdf blank;
    OpenBlankPage(blank);
    const TPdfAnnotation text = Record(anText, {10, 40, 40, 10});
    const struct {
        const char* What;
        std::function<void()> Action;
        QString Message;
    } cases[] = {
        {"count without a document", [&] { inactive.AnnotationCount(); },
         "Cannot perform this operation on an inactive  component"},
        {"read without a document", [&] { inactive.Annotation(0); },
         "Cannot perform this operation on an inactive  component"},
        {"create without a document", [&] { inactive.CreateAnnotation(text); },
         "Cannot perform this operation on an inactive  component"},
        {"read index 0 of a page without annotations", [&] { blank.Annotation(0); }, "Incorrect index"},
        {"read a negative index", [&] { blank.Annotation(-1); }, "Incorrect index"},
        {"write index 0", [&] { blank.SetAnnotation(0, text); }, "Incorrect index"},
        {"delete index 0", [&] { blank.DeleteAnnotation(0); }, "Incorrect index"},
        {"create an unknown subtype", [&] { blank.CreateAnnotation(Record(anUnknown, {})); },
         "Unsupported annotation subtype"},
        {"create a sound", [&] { blank.CreateAnnotation(Record(anSound, {})); },
         "Unsupported annotation subtype"},
        {"field value of index -1 without a page", [&] { inactive.FormField(-1); }, "Incorrect index"},
        {"field value of index 0 without a page", [&] { inactive.FormField(0); },
         "Cannot perform this operation on an inactive  component"},
        {"field flags beyond the end", [&] { blank.FormFieldFlags(0); }, "Incorrect index"},
        {"field write beyond the end", [&] { blank.SetFormField(0, "x"); }, "Incorrect index"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(ErrorOf(c.Action), c.Message);
    }
    EXPECT_EQ(blank.AnnotationCount(), 0);
    EXPECT_EQ(blank.FormFieldCount(), 0);
}

TEST(Annotations, CreatedRecordsReadBackAndSurviveASavedRoundTrip) {
    TPdfAnnotation highlight = Colored(Record(anHighlight, {72, 720, 300, 700}), 0x00FFFF, 128);
    highlight.HasAttachmentPoints = true;
    highlight.AttachmentPoints = {{{72, 720}, {300, 720}, {72, 700}, {300, 700}}};
    TPdfAnnotation square = Colored(Record(anSquare, {100, 500, 200, 400}), 0x0000FF, 255);
    square.HasInteriorColor = true;
    square.InteriorColor = 0x00FF00;
    square.InteriorColorAlpha = 255;
    TPdfAnnotation system = Colored(Record(anCircle, {300, 500, 400, 400}), 0xFF000005, 255); // window colour
    TPdfAnnotation systemResolved = system;
    const QColor window = SystemColor(5);
    const struct {
        const char* What;
        TPdfAnnotation Written;
    } cases[] = {
        {"a text note with both texts",
         WithTexts(Colored(Record(anText, {50, 60, 70, 40}), 0x123456, 255), "Look here", "Ada")},
        {"a highlight with attachment points", highlight},
        {"a square with an interior colour", square},
        {"no colour, no texts", Record(anSquare, {10, 20, 30, 5})},
        {"contents of one character", WithTexts(Record(anText, {1, 2, 3, 1}), "x", "")},
        {"characters outside the Basic Multilingual Plane",
         WithTexts(Record(anText, {1, 2, 3, 1}), QString::fromUtf8("Pin \xF0\x9F\x93\x8C here"),
                   QString::fromUtf8("\xF0\x9D\x84\x9E"))},
        {"no flags at all",
         [] {
             TPdfAnnotation r = Record(anUnderline, {5, 15, 25, 5});
             r.Flags = {};
             return r;
         }()},
        {"every flag",
         [] {
             TPdfAnnotation r = Record(anStrikeout, {5, 15, 25, 5});
             r.Flags = {afInvisible, afHidden,   afPrint,  afNoZoom,      afNoRotate,
                        afNoView,    afReadOnly, afLocked, afToggleNoView};
             return r;
         }()},
    };
    systemResolved.Color = TColor(window.red()) | TColor(window.green()) << 8 | TColor(window.blue()) << 16;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto expectations = [&] {
        QList<TPdfAnnotation> expected;
        for (const auto& c : cases)
            expected.append(c.Written);
        expected.append(systemResolved);
        return expected;
    }();
    TPdf pdf;
    OpenBlankPage(pdf);
    for (const auto& c : cases)
        pdf.CreateAnnotation(c.Written);
    pdf.CreateAnnotation(system);
    ASSERT_EQ(pdf.AnnotationCount(), expectations.size());
    for (int i = 0; i < expectations.size(); ++i) {
        SCOPED_TRACE(i < int(std::size(cases)) ? cases[i].What : "a system colour, resolved");
        ExpectSameRecord(pdf.Annotation(i), expectations[i]);
    }
    const QString saved = dir.filePath("annotated.pdf");
    ASSERT_TRUE(pdf.SaveAs(saved, saNoIncremental, pvUnknown));
    EXPECT_TRUE(RunProgram("qpdf", {"--check", saved}).contains("No syntax or stream encoding errors found"));
    TPdf reloaded;
    Open(reloaded, saved);
    ASSERT_EQ(reloaded.AnnotationCount(), expectations.size());
    for (int i = 0; i < expectations.size(); ++i) {
        SCOPED_TRACE(i < int(std::size(cases)) ? cases[i].What : "a system colour, resolved");
        ExpectSameRecord(reloaded.Annotation(i), expectations[i]);
    }
}

TEST(Annotations, AnAnnotationWithoutColourOrTextsReadsEmpty) {
    QTemporaryDir dir;
    TPdf pdf;
    Open(pdf,
         AnnotatedFixture(dir, {"<< /Type /Annot /Subtype /Square /Rect [10 10 50 50] >>",
                                "<< /Type /Annot /Subtype /Text /Rect [60 60 80 80] /Contents () /T () >>"}));
    for (int index : {0, 1}) {
        const TPdfAnnotation record = pdf.Annotation(index);
        EXPECT_FALSE(record.HasColor);
        EXPECT_EQ(record.Color, 0u);
        EXPECT_EQ(record.ColorAlpha, 0);
        EXPECT_FALSE(record.HasInteriorColor);
        EXPECT_FALSE(record.HasAttachmentPoints);
        EXPECT_TRUE(record.ContentsText.isEmpty());
        EXPECT_TRUE(record.AuthorText.isEmpty());
    }
}

TEST(Annotations, WritingARecordBackKeepsWhatItDoesNotCarryButClearsHigherFlagBits) {
    QTemporaryDir dir;
    TPdf pdf;
    // Flags: print (4) with bits 9 and 12 above the nine known ones; a name, an open state, no texts.
    Open(pdf,
         AnnotatedFixture(dir, {"<< /Type /Annot /Subtype /Text /Rect [10 10 30 30] /F 4612 /NM (note-1) "
                                "/Open true >>"}));
    const TPdfAnnotation record = pdf.Annotation(0);
    EXPECT_EQ(record.Flags, TPdfAnnotationFlags{afPrint});
    pdf.SetAnnotation(0, record);
    EXPECT_EQ(EngineFlags(pdf, 0), 4);
    EXPECT_TRUE(HasEntry(pdf, 0, "NM"));
    EXPECT_TRUE(HasEntry(pdf, 0, "Open"));
    EXPECT_FALSE(HasEntry(pdf, 0, "T"));
    EXPECT_FALSE(HasEntry(pdf, 0, "Contents"));
    ExpectSameRecord(pdf.Annotation(0), record);
    // A text that was there is still cleared by an empty one.
    TPdf named;
    Open(named, AnnotatedFixture(
                    dir, {"<< /Type /Annot /Subtype /Text /Rect [1 1 9 9] /T (Ada) /Contents (Hi) >>"}));
    named.SetAnnotation(0, Record(anText, {1, 9, 9, 1}));
    EXPECT_TRUE(named.Annotation(0).AuthorText.isEmpty());
    EXPECT_TRUE(named.Annotation(0).ContentsText.isEmpty());
}

TEST(Annotations, AnotherSubtypeIsRefusedAndChangesNothing) {
    TPdf pdf;
    OpenBlankPage(pdf);
    const TPdfAnnotation text = WithTexts(Record(anText, {10, 40, 40, 10}), "kept", "");
    pdf.CreateAnnotation(text);
    TPdfAnnotation square = text;
    square.Subtype = anSquare;
    square.ContentsText = "changed";
    EXPECT_EQ(ErrorOf([&] { pdf.SetAnnotation(0, square); }), "Incorrect annotation subtype");
    ExpectSameRecord(pdf.Annotation(0), text);
    EXPECT_EQ(ErrorOf([&] { pdf.CreateAnnotation(Record(anUnknown, {})); }),
              "Unsupported annotation subtype");
    EXPECT_EQ(pdf.AnnotationCount(), 1);
}

TEST(Annotations, PlacesBeyondWhatReadersTakeAreRefusedAndChangeNothing) {
    TPdf pdf;
    OpenBlankPage(pdf);
    const TPdfAnnotation kept = Record(anSquare, {10, 40, 40, 10});
    pdf.CreateAnnotation(kept);
    TPdfAnnotation infinite = kept;
    infinite.Rectangle.Right = std::numeric_limits<double>::infinity();
    TPdfAnnotation farPoints = Record(anHighlight, {10, 40, 40, 10});
    farPoints.HasAttachmentPoints = true;
    farPoints.AttachmentPoints = {{{10, 40}, {40, 40}, {10, 10}, {1e30, 10}}};
    const struct {
        TPdfAnnotation Record;
        QString Value;
    } cases[] = {{infinite, "inf"}, {farPoints, "1e+30"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value.toStdString());
        const QString message =
            "Number out of range: " + c.Value + " (coordinates and sizes lie within -32767 to 32767)";
        EXPECT_EQ(ErrorOf([&] { pdf.CreateAnnotation(c.Record); }), message);
        if (c.Record.Subtype == kept.Subtype) {
            EXPECT_EQ(ErrorOf([&] { pdf.SetAnnotation(0, c.Record); }), message);
        }
        EXPECT_EQ(pdf.AnnotationCount(), 1);
        ExpectSameRecord(pdf.Annotation(0), kept);
    }
}

TEST(Annotations, ARectangleGivenUpsideDownIsWrittenTheRightWayUp) {
    TPdf pdf;
    OpenBlankPage(pdf);
    // Left 50, top 10, right 10, bottom 40: both pairs the wrong way round.
    pdf.CreateAnnotation(Record(anSquare, {50, 10, 10, 40}));
    EXPECT_EQ(pdf.Annotation(0).Rectangle, (TPdfRectangle{10, 40, 50, 10}));
}

namespace {

bool HasAppearance(const TPdf& pdf, int index) {
    FPDF_ANNOTATION annotation = FPDFPage_GetAnnot(pdf.Page(), index);
    const bool has = FPDFAnnot_HasKey(annotation, "AP");
    FPDFPage_CloseAnnot(annotation);
    return has;
}

// Annotation Index drawn by an appearance stream of its own.
void GiveAppearance(const TPdf& pdf, int index) {
    FPDF_ANNOTATION annotation = FPDFPage_GetAnnot(pdf.Page(), index);
    const QString stream = QStringLiteral("0 0 1 RG 10 10 30 30 re S");
    FPDFAnnot_SetAP(annotation, FPDF_ANNOT_APPEARANCEMODE_NORMAL,
                    reinterpret_cast<FPDF_WIDESTRING>(stream.utf16()));
    FPDFPage_CloseAnnot(annotation);
}

} // namespace

TEST(Annotations, TheColoursBehindAnAppearanceAreReadAndChangedWhereTheAnnotationIsDrawnFromThem) {
    TPdf pdf;
    OpenBlankPage(pdf);
    TPdfAnnotation square = Colored(Record(anSquare, {10, 40, 40, 10}), 0x0000FF, 255);
    square.HasInteriorColor = true;
    square.InteriorColor = 0x00FF00;
    square.InteriorColorAlpha = 255;
    pdf.CreateAnnotation(square);
    pdf.CreateAnnotation(Colored(Record(anStamp, {50, 90, 90, 50}), 0x00FFFF, 255));
    GiveAppearance(pdf, 0);
    GiveAppearance(pdf, 1);
    ASSERT_TRUE(HasAppearance(pdf, 0));

    TPdfAnnotation read = pdf.Annotation(0);
    ExpectSameRecord(read, square);
    EXPECT_TRUE(HasAppearance(pdf, 0));
    // Other entries change beside the colours, and the appearance stays.
    read.ContentsText = "changed";
    pdf.SetAnnotation(0, read);
    EXPECT_TRUE(HasAppearance(pdf, 0));
    // A new colour: the square is drawn anew from its entries.
    read.Color = 0x000080;
    pdf.SetAnnotation(0, read);
    EXPECT_FALSE(HasAppearance(pdf, 0));
    EXPECT_EQ(pdf.Annotation(0).Color, 0x000080u);
    // A stamp's appearance is its picture: its colour is refused and it stays as it was.
    TPdfAnnotation stamp = pdf.Annotation(1);
    EXPECT_EQ(stamp.Color, 0x00FFFFu);
    stamp.Color = clBlack;
    EXPECT_EQ(ErrorOf([&] { pdf.SetAnnotation(1, stamp); }),
              "Cannot set color: the annotation's appearance draws its own colours");
    EXPECT_TRUE(HasAppearance(pdf, 1));
    EXPECT_EQ(pdf.Annotation(1).Color, 0x00FFFFu);
}

// Colour entries whose components the engine cuts down where every other reader rounds them (0.61 of 255 is
// 155.55): read rounded where the appearance draws a path in the colour, as the engine reads that path;
// as the engine reads the entry where the appearance draws none.
TEST(Annotations, ColoursThatTheAppearanceDrawsReadRoundedAsOtherReadersReadThem) {
    const auto appearance = [](const QByteArray& content) {
        return "<< /Type /XObject /Subtype /Form /BBox [0 0 612 792] /Length " +
               QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
    };
    FixtureDocument document;
    document.Pages.first().Annotations = {
        "<< /Type /Annot /Subtype /Highlight /Rect [10 10 60 30] /QuadPoints [10 30 60 30 10 10 60 10] "
        "/C [0.61 0.83 0.47] /AP << /N @object0 >> >>",
        "<< /Type /Annot /Subtype /Square /Rect [30 30 70 70] /C [0.61 0.83 0.47] /IC [0.47 0.61 0.83] "
        "/AP << /N @object1 >> >>",
        "<< /Type /Annot /Subtype /Ink /Rect [10 10 50 50] /InkList [[10 10 50 50]] /C [0.9 0.61 0.83] "
        "/AP << /N @object2 >> >>",
        "<< /Type /Annot /Subtype /Square /Rect [30 30 70 70] /C [0.61 0.83 0.47] /AP << /N @object3 >> >>"};
    document.Objects = {appearance("0.61 0.83 0.47 rg 10 10 50 20 re f"),
                        appearance("0.61 0.83 0.47 RG 0.47 0.61 0.83 rg 31 31 38 38 re B"),
                        appearance("0.9 0.61 0.83 RG 10 10 m 50 50 l S"),
                        appearance("0 0 1 RG 31 31 38 38 re S")};
    QTemporaryDir dir;
    TPdf pdf;
    Open(pdf, WritePdf(dir.path(), "colours.pdf", document));
    // TColor is 0x00BBGGRR: 0.61 156 (0x9C), 0.83 212 (0xD4), 0.47 120 (0x78), 0.9 230 (0xE6).
    const struct {
        int Index;
        TColor Color;
        TColor InteriorColor;
    } cases[] = {{0, 0x78D49C, 0}, {1, 0x78D49C, 0xD49C78}, {2, 0xD49CE6, 0}, {3, 0x77D39B, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Index);
        const TPdfAnnotation read = pdf.Annotation(c.Index);
        EXPECT_EQ(read.Color, c.Color);
        if (c.InteriorColor != 0) {
            EXPECT_EQ(read.InteriorColor, c.InteriorColor);
        }
    }
}

TEST(Annotations, DeletingMovesTheFollowingAnnotationsDown) {
    TPdf pdf;
    OpenBlankPage(pdf);
    pdf.CreateAnnotation(WithTexts(Record(anText, {1, 2, 3, 1}), "first", ""));
    pdf.CreateAnnotation(WithTexts(Record(anSquare, {10, 20, 30, 10}), "second", ""));
    pdf.DeleteAnnotation(0);
    ASSERT_EQ(pdf.AnnotationCount(), 1);
    EXPECT_EQ(pdf.Annotation(0).ContentsText, "second");
    EXPECT_EQ(pdf.Annotation(0).Subtype, anSquare);
}

TEST(Annotations, TheCorpusReadsInFull) {
    const struct {
        const char* File;
        int Page;
        QList<TPdfAnnotationSubtype> Subtypes;
    } cases[] = {
        {"pdf/annots.pdf",
         1,
         {anLink, anLink, anLink, anLink, anHighlight, anHighlight, anPopup, anHighlight, anWidget}},
        {"pdf/links_highlights_annots.pdf", 1, {anWidget, anWidget, anWidget, anWidget, anLink, anHighlight}},
        {"pdf/annotation_highlight_long_content.pdf", 1, {anHighlight}},
        {"pdf/annotation_ink_multiple.pdf", 1, {anInk, anInk, anInk}},
        {"pdf/redact_annot.pdf", 1, {anRedact}},
        {"pdf/click_form.pdf", 1, QList<TPdfAnnotationSubtype>(8, anWidget)},
        {"pdf/hello_world.pdf", 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        REQUIRE_TESTDATA(c.File);
        TPdf pdf;
        OpenShared(pdf, c.File, c.Page);
        QList<TPdfAnnotationSubtype> subtypes;
        for (int index = 0; index < pdf.AnnotationCount(); ++index)
            subtypes.append(pdf.Annotation(index).Subtype);
        EXPECT_EQ(subtypes, c.Subtypes);
        EXPECT_EQ(pdf.FormFieldCount(), pdf.AnnotationCount());
    }
}

TEST(Annotations, DecodingOfSubtypesAndFlags) {
    EXPECT_EQ(DecodeAnnotationSubtype(0), anUnknown);
    EXPECT_EQ(DecodeAnnotationSubtype(20), anWidget);
    EXPECT_EQ(DecodeAnnotationSubtype(27), anXfaWidget);
    EXPECT_EQ(DecodeAnnotationSubtype(28), anRedact);
    EXPECT_EQ(DecodeAnnotationSubtype(29), anUnknown);
    EXPECT_EQ(DecodeAnnotationSubtype(-1), anUnknown);
    EXPECT_EQ(EncodeAnnotationSubtype(anHighlight), 9);
    EXPECT_EQ(DecodeAnnotationFlags(0x1FF | 0x600),
              (TPdfAnnotationFlags{afInvisible, afHidden, afPrint, afNoZoom, afNoRotate, afNoView, afReadOnly,
                                   afLocked, afToggleNoView}));
    EXPECT_EQ(EncodeAnnotationFlags({afPrint, afToggleNoView}), 4 | 256);
    EXPECT_EQ(
        DecodeFormFieldFlags(1 | 2 | 4 | 4096 | 131072 | 262144 | 8192 | (1 << 21)),
        (TPdfFormFieldFlags{ffReadOnly, ffRequired, ffNoExport, ffMultiline, ffChoiceCombo, ffChoiceEdit}));
    EXPECT_EQ(DecodeFormFieldFlags(8192), TPdfFormFieldFlags{});
}
