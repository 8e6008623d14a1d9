// Links of the current page on the real engine: link annotations with their destinations, actions and
// quadrilaterals, web links found in the text, the caches' life with the page, and the guards.
#include "pdf/Pdf.h"
#include "pdf/text/PdfTextRoutines.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"
#include "tests/pdf/ErrorOf.h"
#include "tests/pdf/SharedDocument.h"

#include <gtest/gtest.h>

using namespace PDFium;

namespace {

FixtureLink LinkTo(int page) {
    FixtureLink link;
    link.TargetPage = page;
    return link;
}

FixtureLink UriLink(const QByteArray& uri) {
    FixtureLink link;
    link.Area = QRectF(72, 200, 200, 20);
    link.Uri = uri;
    return link;
}

// Page 1: a link to page 3 and a URI link; page 2: one link with two quadrilaterals and a web address in its
// text; page 3: none.
FixtureDocument LinkedPages() {
    FixtureLink quads = LinkTo(1);
    quads.QuadPoints = {10, 20, 30, 20, 10, 5, 30, 5, 40.5, 60, 80, 60, 40.5, 50, 80, 50};
    FixtureDocument document;
    document.Pages = {FixturePage{{612, 792}, "Links", 0, {LinkTo(3), UriLink("https://example.com/a")}},
                      FixturePage{{612, 792}, "See http://example.com/docs now", 0, {quads}},
                      FixturePage{{612, 792}, "No links"}};
    return document;
}

class LinksTest : public testing::Test {
protected:
    void Open(const FixtureDocument& document, int page) {
        pdf.setObjectName(QStringLiteral("Pdf"));
        data = MakePdf(document);
        pdf.SetPageNumber(page);
        pdf.LoadDocument(data);
    }
    QByteArray data;
    TPdf pdf;
};

} // namespace

TEST_F(LinksTest, ADestinationLinkAndAUriLink) {
    Open(LinkedPages(), 1);
    ASSERT_EQ(pdf.LinkAnnotationCount(), 2);
    const TLinkAnnotation toPage = pdf.LinkAnnotation(0);
    EXPECT_NE(toPage.Handle, nullptr);
    EXPECT_EQ(toPage.PageNumber, 3);
    EXPECT_EQ(toPage.Action, acUnsupported);
    EXPECT_EQ(toPage.ActionPageNumber, 0);
    EXPECT_EQ(toPage.ActionPath, QString());
    EXPECT_EQ(toPage.Rectangle, (TPdfRectangle{72, 108, 216, 72}));
    // Without quadrilaterals the active area is still there.
    EXPECT_TRUE(toPage.Points.isEmpty());
    const TLinkAnnotation uri = pdf.LinkAnnotation(1);
    EXPECT_EQ(uri.Action, acUri);
    EXPECT_EQ(uri.ActionPath, "https://example.com/a");
    EXPECT_EQ(uri.PageNumber, 0);
    EXPECT_EQ(uri.Rectangle, (TPdfRectangle{72, 220, 272, 200}));
}

TEST_F(LinksTest, QuadrilateralsInTheEnginesOrder) {
    Open(LinkedPages(), 2);
    ASSERT_EQ(pdf.LinkAnnotationCount(), 1);
    const TLinkAnnotation link = pdf.LinkAnnotation(0);
    ASSERT_EQ(link.Points.size(), 2);
    const TQuadrilateralPoint first{{{10, 20}, {30, 20}, {10, 5}, {30, 5}}};
    const TQuadrilateralPoint second{{{40.5, 60}, {80, 60}, {40.5, 50}, {80, 50}}};
    EXPECT_EQ(link.Points[0], first);
    EXPECT_EQ(link.Points[1], second);
    EXPECT_EQ(link.PageNumber, 1);
}

TEST_F(LinksTest, ActionPathsAreUtf8WhereValidElseLatin1) {
    const struct {
        QByteArray Bytes;
        QString Expected;
    } cases[] = {
        {"https://example.com/plain?q=1", "https://example.com/plain?q=1"},
        {"https://example.com/caf\xC3\xA9", QStringLiteral("https://example.com/caf\u00E9")},
        {"https://example.com/\xE9t\xE9", QStringLiteral("https://example.com/\u00E9t\u00E9")},
        {"https://example.com/\xC3", QStringLiteral("https://example.com/\u00C3")},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Bytes.toStdString());
        FixtureDocument document;
        document.Pages = {FixturePage{{612, 792}, "", 0, {UriLink(c.Bytes)}}};
        TPdf linked;
        const QByteArray bytes = MakePdf(document);
        linked.SetPageNumber(1);
        linked.LoadDocument(bytes);
        ASSERT_EQ(linked.LinkAnnotationCount(), 1);
        EXPECT_EQ(linked.LinkAnnotation(0).Action, acUri);
        EXPECT_EQ(linked.LinkAnnotation(0).ActionPath, c.Expected);
    }
}

TEST(ActionPath, DecodesBytes) {
    EXPECT_EQ(DecodeActionPath("C:\\files\\report.pdf"), "C:\\files\\report.pdf");
    EXPECT_EQ(DecodeActionPath("\xE2\x82\xAC"), QStringLiteral("\u20AC"));
    EXPECT_EQ(DecodeActionPath("\x80"), QStringLiteral("\u0080"));
}

TEST_F(LinksTest, ActionsOfKnownDocuments) {
    const struct {
        const char* File;
        TPdfAction Action;
        int ActionPageNumber;
        const char* ActionPath;
    } cases[] = {
        {"pdf/goto_action.pdf", acGoto, 2, ""},
        {"pdf/launch_action.pdf", acLaunch, 0, "test.pdf"},
        {"pdf/gotoe_action.pdf", acEmbeddedGoto, 2, "ExampleFile.pdf"},
        {"pdf/uri_action.pdf", acUri, 0, "https://example.com/page.html"},
        // Octal escapes that are not UTF-8: read as Latin-1.
        {"pdf/uri_action_nonascii.pdf", acUri, 0, "https://example.com/\u00A5octal\u00C7chars"},
        {"pdf/links_highlights_annots.pdf", acUri, 0, "https://www.google.com/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        REQUIRE_TESTDATA(c.File);
        TPdf document;
        OpenShared(document, c.File);
        ASSERT_EQ(document.LinkAnnotationCount(), 1);
        const TLinkAnnotation link = document.LinkAnnotation(0);
        EXPECT_EQ(link.Action, c.Action);
        EXPECT_EQ(link.ActionPageNumber, c.ActionPageNumber);
        EXPECT_EQ(link.ActionPath, QString::fromUtf8(c.ActionPath));
    }
}

TEST_F(LinksTest, IndexesOutsideTheLinksAreRefused) {
    Open(LinkedPages(), 3);
    EXPECT_EQ(pdf.LinkAnnotationCount(), 0);
    EXPECT_EQ(pdf.WebLinkCount(), 0);
    for (int index : {-1, 0, 1}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(ErrorOf([&] { pdf.LinkAnnotation(index); }), "Incorrect index");
        EXPECT_EQ(ErrorOf([&] { pdf.WebLink(index); }), "Incorrect index");
    }
    pdf.SetPageNumber(1);
    EXPECT_EQ(ErrorOf([&] { pdf.LinkAnnotation(2); }), "Incorrect index");
    EXPECT_EQ(ErrorOf([&] { pdf.LinkAnnotation(1); }), "<none>");
}

TEST_F(LinksTest, TheCachesFollowThePage) {
    Open(LinkedPages(), 1);
    EXPECT_EQ(pdf.LinkAnnotationCount(), 2);
    EXPECT_EQ(pdf.WebLinkCount(), 0);
    pdf.SetPageNumber(2);
    EXPECT_EQ(pdf.LinkAnnotationCount(), 1);
    EXPECT_EQ(pdf.LinkAnnotation(0).PageNumber, 1);
    ASSERT_EQ(pdf.WebLinkCount(), 1);
    EXPECT_EQ(pdf.WebLink(0).Url, "http://example.com/docs");
    pdf.SetPageNumber(3);
    EXPECT_EQ(pdf.LinkAnnotationCount(), 0);
    EXPECT_EQ(pdf.WebLinkCount(), 0);
    pdf.SetPageNumber(2);
    pdf.WebLinkCount();
    pdf.SetActive(false);
    EXPECT_EQ(ErrorOf([&] { pdf.WebLinkCount(); }),
              "Cannot perform this operation on an inactive Pdf component");
    EXPECT_EQ(ErrorOf([&] { pdf.LinkAnnotationCount(); }),
              "Cannot perform this operation on an inactive Pdf component");
}

TEST_F(LinksTest, GuardsWithoutACurrentPage) {
    Open(LinkedPages(), 0);
    const QString inactivePage = QStringLiteral("Cannot perform this operation on an inactive page");
    EXPECT_EQ(ErrorOf([&] { pdf.LinkAnnotationCount(); }), inactivePage);
    EXPECT_EQ(ErrorOf([&] { pdf.WebLinkCount(); }), inactivePage);
    EXPECT_EQ(ErrorOf([&] { pdf.LinkAnnotation(0); }), inactivePage);
    EXPECT_EQ(ErrorOf([&] { pdf.WebLink(0); }), inactivePage);
}

TEST_F(LinksTest, WebLinksOfKnownDocuments) {
    REQUIRE_TESTDATA("pdf/weblinks.pdf");
    OpenShared(pdf, "pdf/weblinks.pdf");
    ASSERT_EQ(pdf.WebLinkCount(), 2);
    EXPECT_EQ(pdf.WebLink(0).Url, "http://example.com?q=foo");
    EXPECT_EQ(pdf.WebLink(1).Url, "https://example.com?q=foo");
    ASSERT_EQ(pdf.WebLink(0).Rectangles.size(), 1);
    const TPdfRectangle area = pdf.WebLink(0).Rectangles[0];
    EXPECT_GT(area.Right, area.Left);
    EXPECT_GT(area.Top, area.Bottom);
    // The rectangle covers the text that forms the address.
    EXPECT_EQ(pdf.TextInRectangle(area), "http://example.com?q=foo");
}

TEST_F(LinksTest, AWebLinkAcrossTwoLinesHasBothRectanglesInOrder) {
    REQUIRE_TESTDATA("pdf/weblinks_across_lines.pdf");
    OpenShared(pdf, "pdf/weblinks_across_lines.pdf");
    ASSERT_EQ(pdf.WebLinkCount(), 6);
    const TWebLink link = pdf.WebLink(2);
    EXPECT_EQ(link.Url, "http://example.com/test-foo");
    ASSERT_EQ(link.Rectangles.size(), 2);
    // The engine's order: the part on the first line, then the one below it.
    EXPECT_LT(link.Rectangles[0].Top, link.Rectangles[1].Top);
    EXPECT_EQ(pdf.WebLink(0).Rectangles.size(), 1);
}
