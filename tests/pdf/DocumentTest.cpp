// The document lifecycle on the real engine: the ways to open a document, activation and page numbers,
// the setters that need a closed component, the state guards' texts and the unsupported-feature notices.
#include "pdf/Pdf.h"
#include "pdf/binding/Binding.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"
#include "tests/pdf/PdfTestHelpers.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace PDFium;

namespace {

// Three pages told apart by their widths.
FixtureDocument ThreePages() {
    FixtureDocument document;
    document.Pages = {SizedPage({100, 200}), SizedPage({300, 400}), SizedPage({500, 600})};
    return document;
}

const QString ActiveMessage = QStringLiteral("Cannot perform this operation on an active Pdf component");
const QString InactiveMessage = QStringLiteral("Cannot perform this operation on an inactive Pdf component");

class DocumentTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        pdf.setObjectName(QStringLiteral("Pdf"));
        pdf.OnPageChange = [this](QObject* sender) {
            EXPECT_EQ(sender, &pdf);
            ++pageChanges;
        };
    }

    QTemporaryDir dir;
    QByteArray bytes = MakePdf(ThreePages());
    TPdf pdf;
    int pageChanges = 0;
};

} // namespace

TEST_F(DocumentTest, EveryWayOfOpeningGivesAnActiveDocumentThatCloses) {
    const QString file = WritePdf(dir.path(), "three.pdf", ThreePages());
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    buffer.seek(17); // the stream's position plays no part
    struct Case {
        const char* name;
        std::function<void()> open;
        int pageCount;
    };
    const Case cases[] = {
        {"file", [&] { pdf.SetFileName(file), pdf.SetActive(true); }, 3},
        {"pointer and size", [&] { pdf.LoadDocument(bytes.constData(), int(bytes.size())); }, 3},
        {"byte array", [&] { pdf.LoadDocument(bytes); }, 3},
        {"memory stream", [&] { pdf.LoadDocument(buffer); }, 3},
        {"new document", [&] { pdf.CreateDocument(); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.open();
        EXPECT_TRUE(pdf.Active());
        EXPECT_NE(pdf.Document(), nullptr);
        EXPECT_EQ(pdf.PageCount(), c.pageCount);
        EXPECT_EQ(pdf.Page(), nullptr); // page number 0: no current page
        pdf.SetActive(false);
        EXPECT_FALSE(pdf.Active());
        EXPECT_EQ(pdf.Document(), nullptr);
        EXPECT_EQ(pdf.FormHandle(), nullptr);
        pdf.SetFileName({});
    }
}

TEST_F(DocumentTest, ADocumentFromAByteArrayOrBufferOutlivesWhatTheCallerDoesToItsData) {
    // The engine reads the pages only when they are loaded, long after the open.
    const std::function<void(QByteArray&)> openings[] = {
        [&](QByteArray& data) { pdf.LoadDocument(data); },
        [&](QByteArray& data) {
            QBuffer buffer(&data);
            pdf.LoadDocument(buffer);
        },
    };
    for (const auto& open : openings) {
        QByteArray data(bytes.constData(), bytes.size()); // its own bytes, shared with no other array
        open(data);
        data.fill(' ');
        pdf.SetPageNumber(3);
        EXPECT_EQ(pdf.PageWidth(), 500);
        pdf.SetActive(false);
        pdf.SetPageNumber(0);
    }
    // A temporary is gone once the open has returned.
    pdf.LoadDocument(MakePdf(ThreePages()));
    pdf.SetPageNumber(2);
    EXPECT_EQ(pdf.PageWidth(), 300);
}

TEST_F(DocumentTest, DataBeyondTheEnginesSizeRangeIsRefusedNotCut) {
    // Its first bytes are a whole document, which a size cut to 32 bits would open; nothing beyond them is
    // read.
    const QByteArray huge = QByteArray::fromRawData(bytes.constData(), (qsizetype(1) << 32) + bytes.size());
    EXPECT_EQ(ErrorOf([&] { pdf.LoadDocument(huge); }), "Cannot load PDF document");
    EXPECT_FALSE(pdf.Active());
}

TEST_F(DocumentTest, ActivationLoadsThePageTwiceAndASecondActivationNothing) {
    pdf.SetFileName(WritePdf(dir.path(), "three.pdf", ThreePages()));
    pdf.SetActive(true);
    EXPECT_EQ(pageChanges, 2);
    EXPECT_EQ(pdf.PageCount(), 3);
    EXPECT_EQ(ErrorOf([&] { pdf.PageWidth(); }), InactivePage);

    const FPDF_DOCUMENT document = pdf.Document();
    pdf.SetActive(true);
    EXPECT_EQ(pageChanges, 2);
    EXPECT_EQ(pdf.Document(), document);
}

TEST_F(DocumentTest, PageNumberSetWhileClosedIsLoadedByActivationAndKeptAfterClosing) {
    pdf.SetFileName(WritePdf(dir.path(), "three.pdf", ThreePages()));
    pdf.SetPageNumber(3);
    EXPECT_EQ(pageChanges, 0);
    pdf.SetActive(true);
    EXPECT_EQ(pdf.PageWidth(), 500);

    pdf.SetActive(false);
    EXPECT_EQ(pdf.PageNumber(), 3);
    EXPECT_EQ(pdf.Page(), nullptr);
    pdf.SetActive(true);
    EXPECT_EQ(pdf.PageWidth(), 500);
}

TEST_F(DocumentTest, WritingTheSamePageNumberReloadsNothing) {
    pdf.LoadDocument(bytes);
    pdf.SetPageNumber(2);
    EXPECT_EQ(pageChanges, 2); // the load with number 0, then page 2
    const FPDF_PAGE page = pdf.Page();
    pdf.SetPageNumber(2);
    EXPECT_EQ(pageChanges, 2);
    EXPECT_EQ(pdf.Page(), page);
    pdf.SetPageNumber(1);
    EXPECT_EQ(pageChanges, 3);
    EXPECT_EQ(pdf.PageWidth(), 100);
}

TEST_F(DocumentTest, SettersNeedAClosedComponentAndKeepTheirValue) {
    pdf.SetFileName(QStringLiteral("a.pdf"));
    pdf.SetPassword(QStringLiteral("secret"));
    pdf.LoadDocument(bytes);
    struct Case {
        const char* name;
        std::function<void()> change;
        std::function<bool()> unchanged;
    };
    const Case cases[] = {
        {"FileName", [&] { pdf.SetFileName("b.pdf"); },
         [&] {
             return pdf.FileName() == "a.pdf";
         }},
        {"Password", [&] { pdf.SetPassword("other"); },
         [&] {
             return pdf.Password() == "secret";
         }},
        {"FormFill", [&] { pdf.SetFormFill(false); },
         [&] {
             return pdf.FormFill();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorOf(c.change), ActiveMessage);
        EXPECT_TRUE(c.unchanged());
    }
    EXPECT_TRUE(pdf.Active());
}

TEST_F(DocumentTest, OpeningWhileOpenRaisesAndLeavesTheDocument) {
    pdf.LoadDocument(bytes);
    pdf.SetPageNumber(2);
    const FPDF_DOCUMENT document = pdf.Document();
    const FPDF_PAGE page = pdf.Page();
    const std::function<void()> opens[] = {[&] { pdf.LoadDocument(bytes); }, [&] { pdf.CreateDocument(); },
                                           [&] {
                                               pdf.LoadDocument(bytes.constData(), int(bytes.size()));
                                           }};
    for (const auto& open : opens) {
        EXPECT_EQ(ErrorOf(open), ActiveMessage);
        EXPECT_EQ(pdf.Document(), document);
        EXPECT_EQ(pdf.Page(), page);
    }
}

TEST_F(DocumentTest, GuardsNameTheComponent) {
    EXPECT_EQ(ErrorOf([&] { pdf.PageCount(); }), InactiveMessage);
    EXPECT_EQ(ErrorOf([&] { pdf.PageWidth(); }), InactiveMessage);
    TPdf unnamed;
    EXPECT_EQ(ErrorOf([&] { unnamed.PageCount(); }),
              QStringLiteral("Cannot perform this operation on an inactive  component"));
    unnamed.CreateDocument();
    EXPECT_EQ(ErrorOf([&] { unnamed.SetFileName("x.pdf"); }),
              QStringLiteral("Cannot perform this operation on an active  component"));
}

TEST_F(DocumentTest, CreateDocumentHasNoPagesAndNoPageEvent) {
    pdf.CreateDocument();
    EXPECT_TRUE(pdf.Active());
    EXPECT_EQ(pdf.PageCount(), 0);
    EXPECT_EQ(pdf.Page(), nullptr);
    EXPECT_EQ(pageChanges, 0);
}

TEST_F(DocumentTest, DestroyingAnOpenComponentClosesItAndKeepsTheEngine) {
    auto owner = std::make_unique<QObject>();
    auto* child = new TPdf(owner.get());
    child->SetFormFill(true);
    child->SetPageNumber(1);
    child->LoadDocument(bytes);
    ASSERT_NE(child->FormHandle(), nullptr);
    owner.reset(); // the owner frees the component, which closes its document
    EXPECT_TRUE(Loaded());
    pdf.LoadDocument(bytes);
    EXPECT_TRUE(pdf.Active());
}

TEST(UnsupportedFeature, ReachesTheRegisteredComponent) {
    REQUIRE_TESTDATA("pdf/unsupported_feature.pdf");
    TPdf pdf;
    QList<TPdfFeature> features;
    pdf.OnUnsupportedFeature = [&](QObject* sender, TPdfFeature feature) {
        EXPECT_EQ(sender, &pdf);
        features.append(feature);
    };
    pdf.SetFileName(testDataPath("pdf/unsupported_feature.pdf"));
    pdf.SetActive(true);
    EXPECT_EQ(features, QList<TPdfFeature>{fePortableCollection});
}

TEST(UnsupportedFeature, NeverReachesADestroyedComponent) {
    REQUIRE_TESTDATA("pdf/unsupported_feature.pdf");
    int notices = 0;
    {
        TPdf registered;
        registered.OnUnsupportedFeature = [&](QObject*, TPdfFeature) {
            ++notices;
        };
        registered.CreateDocument();
    }
    // A component without a handler never registers, so the engine still holds the destroyed one's record.
    TPdf other;
    other.SetFileName(testDataPath("pdf/unsupported_feature.pdf"));
    other.SetActive(true);
    EXPECT_TRUE(other.Active());
    EXPECT_EQ(notices, 0);
}

TEST(UnsupportedFeature, TheLastRegisteredComponentReceivesEveryNotice) {
    REQUIRE_TESTDATA("pdf/unsupported_feature.pdf");
    int firstNotices = 0;
    int secondNotices = 0;
    TPdf first;
    first.OnUnsupportedFeature = [&](QObject*, TPdfFeature) {
        ++firstNotices;
    };
    TPdf second;
    second.OnUnsupportedFeature = [&](QObject*, TPdfFeature) {
        ++secondNotices;
    };
    second.CreateDocument();
    // The first component's document raises the notice, registered just before it opens.
    first.SetFileName(testDataPath("pdf/unsupported_feature.pdf"));
    first.SetActive(true);
    EXPECT_EQ(firstNotices, 1);
    // The second opens nothing new but is no longer the registered one; a new open registers it again.
    TPdf third;
    third.SetFileName(testDataPath("pdf/unsupported_feature.pdf"));
    third.SetActive(true);
    EXPECT_EQ(firstNotices, 2);
    EXPECT_EQ(secondNotices, 0);
}

TEST(UnsupportedFeature, AHandlerThatRaisesFailsTheOpenAndLeavesTheComponentClosed) {
    REQUIRE_TESTDATA("pdf/unsupported_feature.pdf");
    TPdf pdf;
    pdf.OnUnsupportedFeature = [](QObject*, TPdfFeature) {
        throw EPdfError(QStringLiteral("no collections"));
    };
    pdf.SetFileName(testDataPath("pdf/unsupported_feature.pdf"));
    pdf.SetPageNumber(1);
    EXPECT_EQ(ErrorOf([&] { pdf.SetActive(true); }), QStringLiteral("no collections"));
    EXPECT_FALSE(pdf.Active());
    EXPECT_EQ(pdf.Document(), nullptr);
    EXPECT_EQ(pdf.FormHandle(), nullptr);
    EXPECT_EQ(pdf.Page(), nullptr);

    // Once the handler accepts the notice, the same component opens the document.
    pdf.OnUnsupportedFeature = [](QObject*, TPdfFeature) {
    };
    pdf.SetActive(true);
    EXPECT_EQ(pdf.PageCount(), 3);
}

TEST(UnsupportedFeature, AHandlerThatRaisesWhileAPageIsDrawnFailsThatDrawingAlone) {
    REQUIRE_TESTDATA("pdf/annotation_fileattachment.pdf");
    REQUIRE_TESTDATA("pdf/hello_world.pdf");
    // The page's file attachment is reported when its form layer is drawn, not when the document opens.
    const std::function<void(TPdf&)> drawings[] = {
        [](TPdf& p) { p.RenderPage(0, 0, 100, 100, ro0, {}, clWhite); },
        [](TPdf& p) {
            QImage image;
            p.RenderPage(&image, 0, 0, 100, 100, ro0, {}, clWhite);
        },
    };
    for (const auto& draw : drawings) {
        TPdf pdf;
        pdf.OnUnsupportedFeature = [](QObject*, TPdfFeature) {
            throw EPdfError(QStringLiteral("no attachments"));
        };
        pdf.SetFileName(testDataPath("pdf/annotation_fileattachment.pdf"));
        pdf.SetPageNumber(1);
        pdf.SetActive(true);
        EXPECT_EQ(ErrorOf([&] { draw(pdf); }), QStringLiteral("no attachments"));
        // Nothing of it is left for the calls that follow: a page change, a close, the next open.
        EXPECT_EQ(ErrorOf([&] { pdf.ReloadPage(); }), QStringLiteral("<none>"));
        EXPECT_EQ(ErrorOf([&] { pdf.SetActive(false); }), QStringLiteral("<none>"));
        pdf.SetFileName(testDataPath("pdf/hello_world.pdf"));
        EXPECT_EQ(ErrorOf([&] { pdf.SetActive(true); }), QStringLiteral("<none>"));
        EXPECT_TRUE(pdf.Active());
    }
}
