// Named destinations and the outline on the real engine: records, nesting, lookups, a looping outline, and
// the guard that every member keeps.
#include "pdf/Pdf.h"
#include "pdf/engine/FPdfDoc.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"
#include "tests/pdf/ErrorOf.h"
#include "tests/pdf/SharedDocument.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

using namespace PDFium;

namespace {

const QString InactiveComponent =
    QStringLiteral("Cannot perform this operation on an inactive Pdf component");

QStringList Titles(const TBookmarks& bookmarks) {
    QStringList titles;
    for (const TBookmark& bookmark : bookmarks)
        titles.append(bookmark.Title);
    return titles;
}

// Three pages and three named destinations: one fixing only a vertical position, one a full position with
// zoom, one the whole page.
FixtureDocument Destinations() {
    FixtureDocument document;
    document.Pages = {FixturePage{}, FixturePage{}, FixturePage{}};
    document.Destinations = {
        {"OnlyY", 2, "/XYZ null 700 null"}, {"Everything", 3, "/XYZ 50 600 2"}, {"WholePage", 1, "/Fit"}};
    return document;
}

class BookmarksTest : public testing::Test {
protected:
    void SetUp() override { pdf.setObjectName(QStringLiteral("Pdf")); }
    void Open(const FixtureDocument& document) {
        data = MakePdf(document);
        pdf.LoadDocument(data);
    }
    QByteArray data;
    TPdf pdf;
};

} // namespace

TEST_F(BookmarksTest, ATwoLevelOutline) {
    REQUIRE_TESTDATA("pdf/bookmarks.pdf");
    OpenShared(pdf, "pdf/bookmarks.pdf", 0);
    const TBookmarks top = pdf.Bookmarks();
    EXPECT_EQ(Titles(top), (QStringList{"A Good Beginning", "Open Middle", "A Good Closed Ending"}));
    ASSERT_EQ(top.size(), 3);
    EXPECT_FALSE(pdf.HasBookmarkChildren(top[0]));
    EXPECT_TRUE(pdf.HasBookmarkChildren(top[1]));
    EXPECT_TRUE(pdf.HasBookmarkChildren(top[2]));
    EXPECT_EQ(top[1].Action, acUri);
    const TBookmarks middle = pdf.BookmarkChildren(top[1]);
    EXPECT_EQ(Titles(middle), QStringList{"Open Middle Descendant"});
    ASSERT_EQ(middle.size(), 1);
    EXPECT_EQ(middle[0].PageNumber, 1);
    EXPECT_FALSE(pdf.HasBookmarkChildren(middle[0]));
    EXPECT_TRUE(pdf.BookmarkChildren(middle[0]).isEmpty());
    EXPECT_EQ(Titles(pdf.BookmarkChildren(top[2])),
              (QStringList{"A Good Closed Ending Descendant", "A Good Closed Ending Descendant 2"}));
}

TEST_F(BookmarksTest, OutlineEntriesWithGotoActions) {
    REQUIRE_TESTDATA("pdf/page_labels.pdf");
    OpenShared(pdf, "pdf/page_labels.pdf", 0);
    const TBookmarks top = pdf.Bookmarks();
    ASSERT_EQ(top.size(), 6);
    QList<int> actionPages;
    for (const TBookmark& bookmark : top) {
        EXPECT_EQ(bookmark.Action, acGoto);
        EXPECT_EQ(bookmark.PageNumber, bookmark.ActionPageNumber);
        actionPages.append(bookmark.ActionPageNumber);
    }
    EXPECT_EQ(actionPages, (QList<int>{2, 3, 7, 6, 5, 4}));
}

TEST_F(BookmarksTest, ALoopingOutlineEndsAtTheFirstEntryMetAgain) {
    REQUIRE_TESTDATA("pdf/bookmarks_circular.pdf");
    OpenShared(pdf, "pdf/bookmarks_circular.pdf", 0);
    // The engine's own chain leads back to where it started: following it alone would never end.
    FPDF_BOOKMARK first = FPDFBookmark_GetFirstChild(pdf.Document(), nullptr);
    FPDF_BOOKMARK entry = first;
    bool loops = false;
    for (int step = 0; step < 10 && entry && !loops; ++step) {
        entry = FPDFBookmark_GetNextSibling(pdf.Document(), entry);
        loops = entry == first;
    }
    EXPECT_TRUE(loops);
    EXPECT_EQ(Titles(pdf.Bookmarks()), (QStringList{"A Good Beginning", "A Good Ending"}));
}

TEST_F(BookmarksTest, FindingAnEntryByTitle) {
    REQUIRE_TESTDATA("pdf/bookmarks.pdf");
    OpenShared(pdf, "pdf/bookmarks.pdf", 0);
    const TBookmark found = pdf.Bookmark("Open Middle Descendant");
    EXPECT_NE(found.Handle, nullptr);
    EXPECT_EQ(found.Title, "Open Middle Descendant");
    EXPECT_EQ(found.PageNumber, 1);
    EXPECT_EQ(found.Handle, pdf.BookmarkChildren(pdf.Bookmarks()[1])[0].Handle);
    const TBookmark missing = pdf.Bookmark("No such entry");
    EXPECT_EQ(missing.Handle, nullptr);
    EXPECT_EQ(missing.Title, QString());
    EXPECT_EQ(missing.PageNumber, 0);
    EXPECT_EQ(missing.Action, acUnsupported);
}

TEST_F(BookmarksTest, ADocumentWithoutOutlineOrDestinations) {
    Open(FixtureDocument{});
    EXPECT_TRUE(pdf.Bookmarks().isEmpty());
    EXPECT_FALSE(pdf.HasBookmarkChildren(TBookmark{}));
    EXPECT_EQ(pdf.DestinationCount(), 0);
    EXPECT_EQ(ErrorOf([&] { pdf.Destination(0); }), "Incorrect index");
    EXPECT_EQ(pdf.DestinationByName("Anything").Handle, nullptr);
}

TEST_F(BookmarksTest, NamedDestinationsWithTheirLocations) {
    Open(Destinations());
    ASSERT_EQ(pdf.DestinationCount(), 3);
    const struct {
        const char* Name;
        int PageNumber;
        bool HasX, HasY, HasZoom;
        float X, Y, Zoom;
    } cases[] = {{"OnlyY", 2, false, true, false, 0, 700, 0},
                 {"Everything", 3, true, true, true, 50, 600, 2},
                 {"WholePage", 1, false, false, false, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TDestination byName = pdf.DestinationByName(c.Name);
        ASSERT_NE(byName.Handle, nullptr);
        EXPECT_EQ(byName.Name, c.Name);
        EXPECT_EQ(byName.PageNumber, c.PageNumber);
        EXPECT_EQ(byName.HasX, c.HasX);
        EXPECT_EQ(byName.HasY, c.HasY);
        EXPECT_EQ(byName.HasZoom, c.HasZoom);
        EXPECT_FLOAT_EQ(byName.X, c.X);
        EXPECT_FLOAT_EQ(byName.Y, c.Y);
        EXPECT_FLOAT_EQ(byName.Zoom, c.Zoom);
        // The same destination read by its index.
        bool seen = false;
        for (int index = 0; index < pdf.DestinationCount(); ++index) {
            const TDestination byIndex = pdf.Destination(index);
            if (byIndex.Name != c.Name)
                continue;
            seen = true;
            EXPECT_EQ(byIndex.PageNumber, byName.PageNumber);
            EXPECT_EQ(byIndex.HasY, byName.HasY);
            EXPECT_FLOAT_EQ(byIndex.Y, byName.Y);
        }
        EXPECT_TRUE(seen);
    }
    for (int index : {-1, 3}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(ErrorOf([&] { pdf.Destination(index); }), "Incorrect index");
    }
    EXPECT_EQ(pdf.DestinationByName("Unknown").Handle, nullptr);
}

TEST_F(BookmarksTest, ANameFoundByIndexIsFoundByName) {
    const QByteArray utf16Bom("\xFE\xFF", 2);
    const struct {
        const char* Kind;
        bool InNameTree;
        QByteArray Key; // the raw bytes in the file
        QString Name;   // as the engine reads it by index
    } cases[] = {
        {"plain", true, "Intro", "Intro"},
        {"PDFDocEncoding", true, "Caf\xE9 \x80", QStringLiteral("Café \u2022")},
        {"UTF-16 Latin", true, utf16Bom + QByteArray("\0C\0a\0f\0\xE9", 8), QStringLiteral("Café")},
        {"UTF-16 beyond Latin", true, utf16Bom + QByteArray("\x76\xEE\x6B\x21", 4), QStringLiteral("目次")},
        {"catalog dictionary, UTF-8 bytes", false, "Caf#C3#A9", QStringLiteral("CafÃ©")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Kind);
        FixtureDocument document;
        const FixtureDestination destination{c.Key, 1, "/Fit"};
        (c.InNameTree ? document.NameTreeDestinations : document.Destinations) = {destination};
        TPdf named;
        const QByteArray bytes = MakePdf(document);
        named.LoadDocument(bytes);
        ASSERT_EQ(named.DestinationCount(), 1);
        const TDestination byIndex = named.Destination(0);
        ASSERT_NE(byIndex.Handle, nullptr);
        EXPECT_EQ(byIndex.Name, c.Name);
        const TDestination byName = named.DestinationByName(c.Name);
        EXPECT_EQ(byName.Handle, byIndex.Handle);
        EXPECT_EQ(byName.Name, c.Name);
        EXPECT_EQ(byName.PageNumber, 1);
    }
}

TEST_F(BookmarksTest, NamedDestinationsOfAKnownDocument) {
    REQUIRE_TESTDATA("pdf/named_dests.pdf");
    OpenShared(pdf, "pdf/named_dests.pdf", 0);
    ASSERT_EQ(pdf.DestinationCount(), 6);
    const TDestination first = pdf.Destination(0);
    EXPECT_EQ(first.Name, "First");
    EXPECT_EQ(first.PageNumber, 2);
    const TDestination byName = pdf.DestinationByName("First");
    EXPECT_EQ(byName.Handle, first.Handle);
    EXPECT_EQ(byName.PageNumber, 2);
    // A destination whose page the engine cannot resolve has page 0.
    EXPECT_EQ(pdf.DestinationByName("LastAlternate").PageNumber, 0);
}

TEST_F(BookmarksTest, EveryMemberNeedsAnOpenDocument) {
    TBookmark withHandle;
    {
        REQUIRE_TESTDATA("pdf/bookmarks.pdf");
        OpenShared(pdf, "pdf/bookmarks.pdf", 0);
        withHandle = pdf.Bookmarks()[1];
        pdf.SetActive(false);
    }
    const struct {
        const char* Name;
        std::function<void()> Call;
    } cases[] = {
        {"DestinationCount",
         [&] {
             pdf.DestinationCount();
         }},
        {"Destination",
         [&] {
             pdf.Destination(0);
         }},
        {"DestinationByName",
         [&] {
             pdf.DestinationByName("First");
         }},
        {"Bookmarks",
         [&] {
             pdf.Bookmarks();
         }},
        {"Bookmark",
         [&] {
             pdf.Bookmark("Open Middle");
         }},
        {"HasBookmarkChildren",
         [&] {
             pdf.HasBookmarkChildren(TBookmark{});
         }},
        {"BookmarkChildren",
         [&] {
             pdf.BookmarkChildren(withHandle);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ErrorOf(c.Call), InactiveComponent);
    }
    // Without a handle there is nothing to ask, and nothing raises.
    EXPECT_TRUE(pdf.BookmarkChildren(TBookmark{}).isEmpty());
}
