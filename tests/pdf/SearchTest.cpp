// Searching the current page on the real engine: options, directions, the search's life with its page and
// the guards.
#include "pdf/Pdf.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"
#include "tests/pdf/SharedDocument.h"

#include <QList>
#include <gtest/gtest.h>

using namespace PDFium;

namespace {

// Every match of one search, stepping forwards (or backwards from the end of the page).
QList<int> Matches(TPdf& pdf, const QString& text, TSearchOptions options, bool forwards = true) {
    QList<int> matches;
    for (int index = pdf.FindFirst(text, options, forwards ? 0 : -1, forwards);
         index >= 0 && matches.size() < 100; index = forwards ? pdf.FindNext() : pdf.FindPrevious())
        matches.append(index);
    return matches;
}

QByteArray OnePage(const QString& text) {
    FixtureDocument document;
    document.Pages = {FixturePage{{612, 792}, text}, FixturePage{{612, 792}, "Other page"}};
    return MakePdf(document);
}

class SearchTest : public testing::Test {
protected:
    void Open(const QString& text) {
        pdf.setObjectName(QStringLiteral("Pdf"));
        data = OnePage(text);
        pdf.SetPageNumber(1);
        pdf.LoadDocument(data);
    }
    QByteArray data;
    TPdf pdf;
};

} // namespace

TEST(SearchOptions, EncodeIntoTheEngineFlags) {
    const struct {
        TSearchOptions Options;
        unsigned long Flags;
    } cases[] = {{{}, 0},
                 {{seCaseSensitive}, 1},
                 {{seWholeWord}, 2},
                 {{seConsecutive}, 4},
                 {{seCaseSensitive, seConsecutive}, 5},
                 {{seCaseSensitive, seWholeWord, seConsecutive}, 7}};
    for (const auto& c : cases)
        EXPECT_EQ(EncodeSearchOptions(c.Options), c.Flags) << c.Options.Mask();
}

TEST_F(SearchTest, FindsEveryOccurrenceInOrderThenMinusOne) {
    Open("Total due Total paid");
    EXPECT_EQ(pdf.FindFirst("Total", {}, 0, true), 0);
    EXPECT_EQ(pdf.FindNext(), 10);
    EXPECT_EQ(pdf.FindNext(), -1);
    // The search keeps running after its last match.
    EXPECT_NE(pdf.Find(), nullptr);
    EXPECT_EQ(pdf.FindNext(), -1);
}

TEST_F(SearchTest, OptionsDecideWhatMatches) {
    const struct {
        const char* Page;
        const char* Text;
        TSearchOptions Options;
        QList<int> Expected;
    } cases[] = {
        {"Total due Total paid", "total", {}, {0, 10}},
        {"Total due Total paid", "total", {seCaseSensitive}, {}},
        {"Total due Total paid", "Total", {seCaseSensitive}, {0, 10}},
        {"Totals and Total", "Total", {}, {0, 11}},
        {"Totals and Total", "Total", {seWholeWord}, {11}},
        {"aaaa", "aa", {}, {0, 2}},
        {"aaaa", "aa", {seConsecutive}, {0, 1, 2}},
        {"nothing here", "absent", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Page << " / " << c.Text << " / " << c.Options.Mask());
        TPdf document;
        const QByteArray bytes = OnePage(c.Page);
        document.SetPageNumber(1);
        document.LoadDocument(bytes);
        EXPECT_EQ(Matches(document, c.Text, c.Options), c.Expected);
    }
}

TEST_F(SearchTest, DirectionFalseSearchesTowardsTheStart) {
    Open("Total due Total paid");
    EXPECT_EQ(Matches(pdf, "Total", {}, false), (QList<int>{10, 0}));
    // From a start inside the page, each direction finds what lies on its side.
    EXPECT_EQ(pdf.FindFirst("Total", {}, 5, true), 10);
    EXPECT_EQ(pdf.FindFirst("Total", {}, 5, false), 0);
}

TEST_F(SearchTest, ConsecutiveMatchesOfAKnownPage) {
    REQUIRE_TESTDATA("pdf/find_text_consecutive.pdf");
    OpenShared(pdf, "pdf/find_text_consecutive.pdf");
    EXPECT_EQ(Matches(pdf, "aaa", {}), (QList<int>{0, 3, 6}));
    EXPECT_EQ(Matches(pdf, "aaa", {seConsecutive}), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(SearchTest, ASecondSearchReplacesTheFirst) {
    Open("Total due Total paid");
    EXPECT_EQ(pdf.FindFirst("Total", {}, 0, true), 0);
    EXPECT_EQ(pdf.FindFirst("paid", {}, 0, true), 16);
    // The first search would go on to its second Total at 10.
    EXPECT_EQ(pdf.FindNext(), -1);
}

TEST_F(SearchTest, AnEmptyTextMatchesNothingAndEndsTheRunningSearch) {
    // The engine's own search never returns for an empty pattern.
    Open("Total due Total paid");
    EXPECT_EQ(pdf.FindFirst("Total", {}, 0, true), 0);
    for (const bool forwards : {true, false}) {
        SCOPED_TRACE(forwards);
        EXPECT_EQ(pdf.FindFirst(QString(), {}, forwards ? 0 : -1, forwards), -1);
        EXPECT_EQ(pdf.Find(), nullptr);
        EXPECT_EQ(ErrorOf([&] { pdf.FindNext(); }), "Uninitialized search");
    }
    pdf.SetActive(false);
    EXPECT_EQ(ErrorOf([&] { pdf.FindFirst(QString(), {}, 0, true); }),
              "Cannot perform this operation on an inactive Pdf component");
}

TEST_F(SearchTest, TheSearchEndsWithItsPage) {
    Open("Total due Total paid");
    pdf.FindFirst("Total", {}, 0, true);
    pdf.SetPageNumber(2);
    EXPECT_EQ(pdf.Find(), nullptr);
    EXPECT_EQ(ErrorOf([&] { pdf.FindNext(); }), "Uninitialized search");
    EXPECT_EQ(ErrorOf([&] { pdf.FindPrevious(); }), "Uninitialized search");
    // The new page searches on its own text.
    EXPECT_EQ(pdf.FindFirst("page", {}, 0, true), 6);
    pdf.SetActive(false);
    EXPECT_EQ(pdf.Find(), nullptr);
}

TEST_F(SearchTest, Guards) {
    pdf.setObjectName(QStringLiteral("Pdf"));
    const QString inactive = QStringLiteral("Cannot perform this operation on an inactive Pdf component");
    EXPECT_EQ(ErrorOf([&] { pdf.FindFirst("x", {}, 0, true); }), inactive);
    EXPECT_EQ(ErrorOf([&] { pdf.FindNext(); }), inactive);
    EXPECT_EQ(ErrorOf([&] { pdf.FindPrevious(); }), inactive);
    data = OnePage("Total");
    pdf.LoadDocument(data); // no current page
    const QString inactivePage = QStringLiteral("Cannot perform this operation on an inactive page");
    EXPECT_EQ(ErrorOf([&] { pdf.FindFirst("x", {}, 0, true); }), inactivePage);
    EXPECT_EQ(ErrorOf([&] { pdf.FindNext(); }), inactivePage);
    pdf.SetPageNumber(1);
    EXPECT_EQ(ErrorOf([&] { pdf.FindNext(); }), "Uninitialized search");
    EXPECT_EQ(ErrorOf([&] { pdf.FindPrevious(); }), "Uninitialized search");
}
