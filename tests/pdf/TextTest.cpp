// The text page of the current page on the real engine: guards, per-character queries, ranges of text,
// rectangles, text in an area, and the text page's life with its page.
#include "pdf/Pdf.h"
#include "pdf/binding/ArithmeticMask.h"
#include "pdf/engine/FPdfText.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"
#include "tests/pdf/SharedDocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <sys/resource.h>

using namespace PDFium;

namespace {

const QString InactiveComponent =
    QStringLiteral("Cannot perform this operation on an inactive Pdf component");

// Ten characters on the first page, a longer line on the second.
FixtureDocument TwoTextPages() {
    FixtureDocument document;
    document.Pages = {FixturePage{{612, 792}, "0123456789"}, FixturePage{{612, 792}, "Second page text"}};
    return document;
}

class TextTest : public testing::Test {
protected:
    void SetUp() override {
        pdf.setObjectName(QStringLiteral("Pdf"));
        data = MakePdf(TwoTextPages());
    }
    void Open(int page) {
        pdf.SetPageNumber(page);
        pdf.LoadDocument(data);
    }
    QByteArray data;
    TPdf pdf;
};

struct GuardedMember {
    const char* Name;
    std::function<void(TPdf&)> Call;
};

const GuardedMember TextMembers[] = {
    {"CharacterCount",
     [](TPdf& p) {
         p.CharacterCount();
     }},
    {"Character",
     [](TPdf& p) {
         p.Character(0);
     }},
    {"Charcode",
     [](TPdf& p) {
         p.Charcode(0);
     }},
    {"FontSize",
     [](TPdf& p) {
         p.FontSize(0);
     }},
    {"CharacterOrigin",
     [](TPdf& p) {
         p.CharacterOrigin(0);
     }},
    {"CharacterRectangle",
     [](TPdf& p) {
         p.CharacterRectangle(0);
     }},
    {"CharacterIndexAtPos",
     [](TPdf& p) {
         p.CharacterIndexAtPos(0, 0, 0, 0);
     }},
    {"Text",
     [](TPdf& p) {
         p.Text(0, 1);
     }},
    {"RectangleCount",
     [](TPdf& p) {
         p.RectangleCount(0, 1);
     }},
    {"Rectangle",
     [](TPdf& p) {
         p.Rectangle(0);
     }},
    {"TextInRectangle",
     [](TPdf& p) {
         p.TextInRectangle(0, 792, 612, 0);
     }},
    {"TextInRectangle(record)",
     [](TPdf& p) {
         p.TextInRectangle(TPdfRectangle{0, 792, 612, 0});
     }},
};

// Lets this process map at most Bytes more than it has mapped now, so that a large allocation fails.
void LimitAddressSpaceGrowth(rlim_t bytes) {
    QFile status(QStringLiteral("/proc/self/status"));
    rlim_t mapped = 0;
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmSize:"))
                mapped = line.mid(7).trimmed().split(' ').first().toULongLong() * 1024;
    const rlimit limit{mapped + bytes, mapped + bytes};
    setrlimit(RLIMIT_AS, &limit);
}

} // namespace

TEST_F(TextTest, EveryMemberGuardsDocumentAndPage) {
    for (const GuardedMember& member : TextMembers) {
        SCOPED_TRACE(member.Name);
        EXPECT_EQ(ErrorOf([&] { member.Call(pdf); }), InactiveComponent);
    }
    Open(0);
    for (const GuardedMember& member : TextMembers) {
        SCOPED_TRACE(member.Name);
        EXPECT_EQ(ErrorOf([&] { member.Call(pdf); }), InactivePage);
        EXPECT_EQ(pdf.TextPage(), nullptr);
    }
}

TEST_F(TextTest, TextCutsItsRangeAtTheEndOfThePage) {
    Open(1);
    ASSERT_EQ(pdf.CharacterCount(), 10);
    const struct {
        int Start;
        int Count;
        const char* Expected;
    } cases[] = {{0, 10, "0123456789"},
                 {5, 1000, "56789"},
                 {10, 5, ""},
                 {3, 0, ""},
                 {3, -2, ""},
                 {9, 1, "9"},
                 {0, 3, "012"},
                 {5, std::numeric_limits<int>::max(), "56789"},
                 {12, 1, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Start << ", " << c.Count);
        EXPECT_EQ(pdf.Text(c.Start, c.Count), QString::fromLatin1(c.Expected));
    }
}

TEST_F(TextTest, CharactersOfAKnownPage) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    OpenShared(pdf, "pdf/hello_world.pdf");
    ASSERT_EQ(pdf.CharacterCount(), 30);
    EXPECT_EQ(pdf.Text(0, 30), QStringLiteral("Hello, world!\r\nGoodbye, world!"));
    EXPECT_EQ(pdf.Character(0), QChar('H'));
    EXPECT_EQ(pdf.Character(29), QChar('!'));
    EXPECT_DOUBLE_EQ(pdf.FontSize(0), 12);
    EXPECT_EQ(pdf.CharacterOrigin(0), (TPdfPoint{20, 50}));
    // The box of H is right of and above its origin; the engine's four values land in their own fields.
    const TPdfRectangle box = pdf.CharacterRectangle(0);
    EXPECT_GT(box.Left, 20);
    EXPECT_GT(box.Right, box.Left);
    EXPECT_GT(box.Top, box.Bottom);
    EXPECT_DOUBLE_EQ(box.Bottom, 50);
    // At the middle of that box sits character 0; far from all text there is none.
    EXPECT_EQ(pdf.CharacterIndexAtPos((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2, 0, 0), 0);
    EXPECT_EQ(pdf.CharacterIndexAtPos(190, 190, 0, 0), -1);
}

TEST_F(TextTest, QueriesBeyondTheLastCharacter) {
    Open(1);
    const int count = pdf.CharacterCount();
    EXPECT_EQ(ErrorOf([&] { pdf.CharacterRectangle(count); }), "Cannot retrieve character rectangle");
    EXPECT_EQ(ErrorOf([&] { pdf.CharacterRectangle(-1); }), "Cannot retrieve character rectangle");
    // No origin for an index off the page: the point stays zero.
    EXPECT_EQ(pdf.CharacterOrigin(count), TPdfPoint{});
    ASSERT_EQ(pdf.RectangleCount(0, count), 1);
    EXPECT_EQ(ErrorOf([&] { pdf.Rectangle(1); }), "Cannot retrieve rectangle");
}

TEST_F(TextTest, RectanglesOfARangeCoverItsCharacters) {
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    OpenShared(pdf, "pdf/hello_world.pdf");
    // Two lines of text make two rectangles, one a line.
    ASSERT_EQ(pdf.RectangleCount(0, -1), 2);
    const TPdfRectangle first = pdf.Rectangle(0);
    const TPdfRectangle second = pdf.Rectangle(1);
    EXPECT_GT(first.Top, first.Bottom);
    EXPECT_GT(first.Right, first.Left);
    EXPECT_EQ(pdf.TextInRectangle(first), QStringLiteral("Hello, world!"));
    EXPECT_EQ(pdf.TextInRectangle(second.Left, second.Top, second.Right, second.Bottom),
              QStringLiteral("Goodbye, world!"));
}

TEST_F(TextTest, TextInAnAreaWithoutTextIsEmpty) {
    Open(1);
    const TPdfRectangle empty{300, 100, 500, 50};
    EXPECT_EQ(pdf.TextInRectangle(empty), QString());
    EXPECT_EQ(pdf.TextInRectangle(empty.Left, empty.Top, empty.Right, empty.Bottom), QString());
    const TPdfRectangle whole{0, 792, 612, 0};
    EXPECT_EQ(pdf.TextInRectangle(whole), QStringLiteral("0123456789"));
    EXPECT_EQ(pdf.TextInRectangle(whole.Left, whole.Top, whole.Right, whole.Bottom),
              QStringLiteral("0123456789"));
}

TEST_F(TextTest, TextInAnAreaKeepsCharactersOutsideTheBasicPlaneWhole) {
    // The font draws its A by the glyph of a character that UTF-16 writes as two units.
    FixtureDocument document;
    document.Pages = {FixturePage{{612, 792}, "0A"}};
    document.FontGlyphs = {{'A', "u1F600"}};
    data = MakePdf(document);
    Open(1);
    const QString expected = QStringLiteral("0") + QString::fromUcs4(U"\U0001F600", 1);
    const TPdfRectangle whole{0, 792, 612, 0};
    EXPECT_EQ(pdf.TextInRectangle(whole), expected);
    EXPECT_EQ(pdf.TextInRectangle(whole.Left, whole.Top, whole.Right, whole.Bottom), expected);
}

TEST_F(TextTest, ANegativeStartGivesNothingAndAsksForNoBufferOfTheCount) {
    Open(1);
    EXPECT_EQ(pdf.Text(-1, 5), QString());
    // A start far below 0 with a count that reaches back into the page: the engine refuses the start, and
    // the count's 4 GB are never asked for. A process with no room for them tells.
    EXPECT_EXIT(
        {
            LimitAddressSpaceGrowth(256 << 20);
            const QString text = pdf.Text(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
            std::_Exit(text.isEmpty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(TextTest, CharcodeNamesTheEntryPointAnEngineLacks) {
    Open(1);
    pdf.CharacterCount();
    // An engine build without the entry point leaves its variable empty, as today's builds do.
    const auto saved = FPDFText_GetCharcode;
    FPDFText_GetCharcode = nullptr;
    const QString error = ErrorOf([&] { pdf.Charcode(0); });
    FPDFText_GetCharcode = saved;
    EXPECT_TRUE(error.contains("FPDFText_GetCharcode")) << error.toStdString();
    EXPECT_TRUE(error.startsWith("Cannot")) << error.toStdString();
}

TEST_F(TextTest, EachPageGetsItsOwnTextPage) {
    Open(1);
    EXPECT_EQ(pdf.TextPage(), nullptr);
    EXPECT_EQ(pdf.CharacterCount(), 10);
    FPDF_TEXTPAGE first = pdf.TextPage();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(pdf.Text(0, 3), "012");
    EXPECT_EQ(pdf.TextPage(), first); // reused while the page stays
    pdf.SetPageNumber(2);
    EXPECT_EQ(pdf.TextPage(), nullptr);
    EXPECT_EQ(pdf.CharacterCount(), 16);
    EXPECT_EQ(pdf.Text(0, 6), "Second");
    pdf.ReloadPage();
    EXPECT_EQ(pdf.TextPage(), nullptr);
    pdf.SetActive(false);
    EXPECT_EQ(pdf.TextPage(), nullptr);
}

TEST_F(TextTest, LoadingTheTextPageLeavesTheFloatingPointMaskAsItWas) {
#if defined(__i386__) || defined(__x86_64__)
    Open(1);
    const std::uint16_t saved = ReadFpuControlWord();
    const std::uint16_t unmasked = static_cast<std::uint16_t>(saved & ~0x0004); // zero divide unmasked
    WriteFpuControlWord(unmasked);
    pdf.CharacterCount();
    const std::uint16_t after = ReadFpuControlWord();
    WriteFpuControlWord(saved);
    EXPECT_EQ(after, unmasked);
#else
    GTEST_SKIP() << "the floating-point mask is an x87 matter";
#endif
}

TEST_F(TextTest, RotatedTextReadsInOrder) {
    const struct {
        const char* File;
        const char* Text;
    } cases[] = {{"pdf/rotated_text.pdf", "Hello, world!\r\n Goodbye, world!"},
                 {"pdf/rotated_text_90.pdf", "Hello,\r\n world!\r\n Goodbye, world!"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        REQUIRE_TESTDATA(c.File);
        TPdf document;
        OpenShared(document, c.File);
        EXPECT_EQ(document.Text(0, document.CharacterCount()), QString::fromLatin1(c.Text));
    }
}
