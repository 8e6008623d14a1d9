// Document information on the real engine: metadata, version, permissions, the viewer's printing
// preferences, page mode, tagging, the fixed About text, and the translations of the engine's codes.
#include "pdf/Pdf.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"

#include <functional>
#include <gtest/gtest.h>

using namespace PDFium;

namespace {

// Opens a shared document, skipping the test when it is absent.
#define OPEN_TESTDATA(pdf, relative)                                                                         \
    REQUIRE_TESTDATA(relative);                                                                              \
    (pdf).SetFileName(testDataPath(relative));                                                               \
    (pdf).SetActive(true)

} // namespace

TEST(Info, TitleOfTheDocumentOrEmpty) {
    for (const QString& title : {QStringLiteral("Quarterly report (draft)"), QString()}) {
        FixtureDocument document;
        document.Title = title;
        const QByteArray bytes = MakePdf(document);
        TPdf pdf;
        pdf.LoadDocument(bytes);
        EXPECT_EQ(pdf.Title(), title);
        EXPECT_EQ(pdf.MetaText(QStringLiteral("Title")), title);
        EXPECT_EQ(pdf.Author(), QString());
        EXPECT_EQ(pdf.MetaText(QStringLiteral("NoSuchTag")), QString());
    }
}

TEST(Info, MetadataOfARealDocument) {
    TPdf pdf;
    OPEN_TESTDATA(pdf, "pdf/embedded_images.pdf");
    EXPECT_EQ(pdf.Author(), QStringLiteral("Wanqing Liu"));
    EXPECT_EQ(pdf.ModifiedDate(), QStringLiteral("D:20170802003451+00'00'"));
    EXPECT_EQ(pdf.MetaText(QStringLiteral("ModDate")), pdf.ModifiedDate());
    EXPECT_TRUE(pdf.IsTagged());
}

TEST(Info, VersionFromTheHeader) {
    struct Case {
        const char* version;
        TPdfVersion expected;
    };
    const Case cases[] = {{"1.0", pv10}, {"1.1", pv11}, {"1.2", pv12}, {"1.3", pv13},     {"1.4", pv14},
                          {"1.5", pv15}, {"1.6", pv16}, {"1.7", pv17}, {"2.0", pvUnknown}};
    for (const Case& c : cases) {
        FixtureDocument document;
        document.Version = QString::fromLatin1(c.version);
        const QByteArray bytes = MakePdf(document);
        TPdf pdf;
        pdf.LoadDocument(bytes);
        EXPECT_EQ(pdf.PdfVersion(), c.expected) << c.version;
    }
}

TEST(Info, VersionOfANewDocumentCannotBeTold) {
    TPdf pdf;
    pdf.CreateDocument();
    EXPECT_EQ(ErrorOf([&] { pdf.PdfVersion(); }), QStringLiteral("Cannot retrieve PDF version"));
}

TEST(Info, DecodedVersionNumbers) {
    const std::pair<int, TPdfVersion> cases[] = {{10, pv10},     {14, pv14},      {17, pv17},
                                                 {9, pvUnknown}, {18, pvUnknown}, {20, pvUnknown},
                                                 {0, pvUnknown}, {-14, pvUnknown}};
    for (auto [number, version] : cases)
        EXPECT_EQ(DecodePdfVersion(number), version) << number;
}

TEST(Info, DecodedPageModes) {
    const std::pair<int, TPageMode> cases[] = {
        {0, pmNone},        {1, pmOutline},  {2, pmThumbs},  {3, pmFullScreen}, {4, pmOptionalContentGroup},
        {5, pmAttachments}, {-1, pmUnknown}, {6, pmUnknown}, {7, pmUnknown}};
    for (auto [mode, expected] : cases)
        EXPECT_EQ(DecodePageMode(mode), expected) << mode;
}

TEST(Info, PermissionsOfPlainAndEncryptedDocuments) {
    REQUIRE_TESTDATA("pdf/encrypted.pdf");
    struct Case {
        QString password;
        quint32 permissions;
    };
    // The user password grants what the document allows; the owner password everything but the two low bits.
    const Case cases[] = {{QStringLiteral("1234"), 0xFFFFF2C0}, {QStringLiteral("5678"), 0xFFFFFFFC}};
    for (const Case& c : cases) {
        TPdf pdf;
        pdf.SetPassword(c.password);
        OPEN_TESTDATA(pdf, "pdf/encrypted.pdf");
        EXPECT_EQ(pdf.Permissions(), c.permissions);
    }
    const QByteArray bytes = MakePdf({});
    TPdf plain;
    plain.LoadDocument(bytes);
    EXPECT_EQ(plain.Permissions(), 0xFFFFFFFFu);
}

TEST(Info, ViewerPreferences) {
    TPdf pdf;
    OPEN_TESTDATA(pdf, "pdf/viewer_ref.pdf");
    EXPECT_TRUE(pdf.PrintScaling());
    EXPECT_EQ(pdf.PrintCopies(), 5);
    EXPECT_EQ(pdf.PrintPaperHandling(), phUndefined);
    EXPECT_EQ(pdf.ViewerPreference(QStringLiteral("Direction")), QStringLiteral("R2L"));
    EXPECT_EQ(pdf.ViewerPreference(QStringLiteral("NoSuchKey")), QString());
    EXPECT_EQ(pdf.PageMode(), pmNone);
    EXPECT_FALSE(pdf.IsTagged());
}

TEST(Info, PageModeOfADocumentThatShowsItsOutline) {
    TPdf pdf;
    OPEN_TESTDATA(pdf, "pdf/use_outlines.pdf");
    EXPECT_EQ(pdf.PageMode(), pmOutline);
}

TEST(Info, AboutNamesTheComponentAndItsVersionAndIgnoresWrites) {
    TPdf pdf;
    const QString about = pdf.About();
    EXPECT_TRUE(about.contains(QStringLiteral("TPdf")));
    EXPECT_TRUE(about.contains(QStringLiteral("5.4")));
    pdf.SetAbout(QStringLiteral("something else"));
    EXPECT_EQ(pdf.About(), about);
}

TEST(Info, EveryPropertyNeedsAnOpenDocument) {
    TPdf pdf;
    pdf.setObjectName(QStringLiteral("Pdf"));
    const std::function<void()> reads[] = {
        [&] { pdf.Title(); },
        [&] { pdf.MetaText("Author"); },
        [&] { pdf.PdfVersion(); },
        [&] { pdf.Permissions(); },
        [&] { pdf.PrintScaling(); },
        [&] { pdf.PrintCopies(); },
        [&] { pdf.PrintPaperHandling(); },
        [&] { pdf.ViewerPreference("Direction"); },
        [&] { pdf.PageMode(); },
        [&] { pdf.IsTagged(); },
        [&] { pdf.PageLabel(1); },
        [&] { pdf.FormType(); },
    };
    for (const auto& read : reads)
        EXPECT_EQ(ErrorOf(read),
                  QStringLiteral("Cannot perform this operation on an inactive Pdf component"));
}
