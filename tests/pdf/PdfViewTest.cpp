// The page view on the real engine: its states, failures and page lifecycle with the form-fill page events,
// its place in the component's view list, the form-fill repaint, the rendered-page cache, hit tests, search
// and the selection. What the engine was asked, and in which order, comes from a log of its page calls.
#include "pdf/view/PdfView.h"
#include "support/EngineCallLog.h"
#include "support/PdfFixtures.h"
#include "support/Programs.h"
#include "support/TestData.h"
#include "support/Watchdog.h"
#include "tests/pdf/ErrorOf.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace PDFium;

namespace {

// Three pages, each saying its number; a link on page 1 leads to page 3.
FixtureDocument ThreePages() {
    FixtureLink toThree;
    toThree.Area = QRectF(72, 72, 144, 36);
    toThree.TargetPage = 3;
    FixtureDocument document;
    document.Pages = {FixturePage{{612, 792}, "Page one", 0, {toThree}}, FixturePage{{612, 792}, "Page two"},
                      FixturePage{{612, 792}, "Page three"}};
    return document;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        Paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// A left click on the view where it shows a point of the page.
void ClickPagePoint(TPdfView& view, double pageX, double pageY) {
    int x = 0, y = 0;
    view.PageToDevice(pageX, pageY, x, y);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, QPointF(x, y), view.mapToGlobal(QPointF(x, y)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &click);
    }
}

void ProcessEvents() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class PdfViewTest : public testing::Test {
protected:
    void SetUp() override {
        pdf.setObjectName(QStringLiteral("Pdf"));
        pdf.SetFileName(WritePdf(folder.path(), "three.pdf", ThreePages()));
    }
    // A view of the component on Page, sized as the page is in points.
    std::unique_ptr<TPdfView> MakeView(int page, TPdf* bound = nullptr) {
        auto view = std::make_unique<TPdfView>();
        view->resize(612, 792);
        view->SetPageNumber(page);
        view->SetPdf(bound ? bound : &pdf);
        return view;
    }

    QTemporaryDir folder;
    TPdf pdf;
};

} // namespace

TEST_F(PdfViewTest, ActivationLoadsTheViewsOwnPageOrFailsWithTheComponentOpen) {
    struct Case {
        const char* name;
        bool bound;
        QString fileName; // empty: the three pages
        int page;
        QString error;
        bool viewActive;
        bool pdfActive;
    };
    const QList<Case> cases = {
        {"unbound stores only", false, {}, 1, "<none>", false, false},
        {"opens the document", true, {}, 2, "<none>", true, true},
        {"page 0", true, {}, 0, "Incorrect page number", false, true},
        {"beyond the end", true, {}, 4, "Cannot open page 4", false, true},
        {"below 1", true, {}, -1, "Cannot open page -1", false, true},
        {"missing file", true, "/nonexistent/file.pdf", 1, "File not found or could not be opened", false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPdf component;
        component.setObjectName(QStringLiteral("Pdf"));
        component.SetFileName(c.fileName.isEmpty() ? pdf.FileName() : c.fileName);
        TPdfView view;
        view.SetPageNumber(c.page);
        if (c.bound)
            view.SetPdf(&component);
        EXPECT_EQ(ErrorOf([&] { view.SetActive(true); }), c.error);
        EXPECT_EQ(view.Active(), c.viewActive);
        EXPECT_EQ(view.Page() != nullptr, c.viewActive);
        EXPECT_EQ(component.Active(), c.pdfActive);
        // The component's own current page is left alone.
        EXPECT_EQ(component.Page(), nullptr);
    }
}

TEST_F(PdfViewTest, ReloadNeedsABoundComponentWithAnOpenDocument) {
    TPdfView unbound;
    EXPECT_EQ(ErrorOf([&] { unbound.ReloadPage(); }), "Pdf property not set");
    auto view = MakeView(1);
    EXPECT_EQ(ErrorOf([&] { view->ReloadPage(); }),
              "Cannot perform this operation on an inactive Pdf component");
    EXPECT_EQ(ErrorOf([&] { view->PageWidth(); }),
              "Cannot perform this operation on an inactive Pdf component");
    pdf.SetActive(true);
    EXPECT_EQ(ErrorOf([&] { view->PageWidth(); }), "Cannot perform this operation on an inactive page");
    view->ReloadPage();
    EXPECT_DOUBLE_EQ(view->PageWidth(), 612);
}

TEST_F(PdfViewTest, PageEventsOfTheFormFillEnvironmentInTheirOrder) {
    struct Case {
        bool formFill;
        QStringList load;
        QStringList unload;
    };
    const QList<Case> cases = {
        {true,
         {"LoadPage 2", "AfterLoadPage 2", "PageAction 2 open"},
         {"PageAction 2 close", "BeforeClosePage 2", "ClosePage 2"}},
        {false, {"LoadPage 2"}, {"ClosePage 2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formFill);
        TPdf component;
        component.SetFormFill(c.formFill);
        component.SetFileName(pdf.FileName());
        component.SetActive(true);
        auto view = MakeView(2, &component);
        EngineCallLog log;
        view->SetActive(true);
        EXPECT_EQ(log.Take(), c.load);
        view->SetActive(false);
        EXPECT_EQ(log.Take(), c.unload);
        // A reload passes through no page: the old page closes before the new one loads.
        view->SetActive(true);
        log.Take();
        view->ReloadPage();
        EXPECT_EQ(log.Take(), c.unload + c.load);
    }
}

TEST_F(PdfViewTest, ClosingTheDocumentClosesTheViewsFromTheLastToTheFirstBeforeTheDocument) {
    EngineCallLog log; // names the pages it sees loaded
    pdf.SetPageNumber(1);
    auto first = MakeView(2);
    auto second = MakeView(3);
    first->SetActive(true);
    second->SetActive(true);
    // The component and its views hold different pages of the document at the same time.
    EXPECT_EQ(pdf.Text(0, 8), "Page one");
    EXPECT_EQ(first->Text(0, 8), "Page two");
    EXPECT_EQ(second->Text(0, 10), "Page three");

    log.Take();
    pdf.SetActive(false);
    EXPECT_EQ(log.Calls(),
              (QStringList{"ClosePage 1", "PageAction 3 close", "BeforeClosePage 3", "ClosePage 3",
                           "PageAction 2 close", "BeforeClosePage 2", "ClosePage 2", "CloseDocument"}));
    EXPECT_FALSE(first->Active());
    EXPECT_FALSE(second->Active());
}

TEST_F(PdfViewTest, LoadedAppliesEachViewsStoredActiveFromTheLastToTheFirst) {
    TPdfView first, second, idle;
    first.SetPageNumber(2);
    second.SetPageNumber(3);
    first.SetActive(true); // unbound: stored, nothing loaded
    second.SetActive(true);
    EXPECT_FALSE(first.Active());
    for (TPdfView* view : {&first, &second, &idle})
        view->SetPdf(&pdf);
    EngineCallLog log;
    pdf.Loaded();
    EXPECT_TRUE(pdf.Active());
    EXPECT_EQ(log.Calls().filter(QRegularExpression("^LoadPage")), (QStringList{"LoadPage 3", "LoadPage 2"}));
    EXPECT_TRUE(first.Active());
    EXPECT_TRUE(second.Active());
    EXPECT_FALSE(idle.Active());
}

TEST_F(PdfViewTest, APageChangeRaisesTheEventOrRepaints) {
    pdf.SetActive(true);
    auto view = MakeView(1);
    view->show();
    ProcessEvents();
    PaintCounter painted(*view);
    QList<QObject*> senders;

    view->SetActive(true);
    ProcessEvents();
    EXPECT_GE(painted.Paints, 1); // no handler: the view repaints

    view->OnPageChange = [&](QObject* sender) {
        senders.append(sender);
    };
    view->SetPageNumber(2);
    EXPECT_EQ(senders, QList<QObject*>{view.get()});
    view->SetPageNumber(2); // the same number: no reload, no event
    EXPECT_EQ(senders.size(), 1);
    view->SetActive(true); // already active: nothing
    EXPECT_EQ(senders.size(), 1);
    // An inactive view only keeps its number.
    view->SetActive(false);
    view->SetPageNumber(3);
    EXPECT_EQ(senders.size(), 1);
    EXPECT_FALSE(view->Active());
}

TEST_F(PdfViewTest, AViewLeavesTheListWhenDestroyedOrBoundElsewhere) {
    pdf.SetActive(true);
    auto view = MakeView(2);
    view->SetActive(true);
    FPDF_PAGE page = view->Page();
    view.reset();
    pdf.InvalidateView(page); // nothing listed shows it any more
    pdf.SetActive(false);

    TPdf other;
    other.SetFileName(pdf.FileName());
    pdf.SetActive(true);
    auto moved = MakeView(2);
    {
        EngineCallLog log;
        moved->SetActive(true);
        log.Take();
        moved->SetPdf(&other);
        // Its page of the first document closes with that document's form-fill events.
        EXPECT_EQ(log.Calls(), (QStringList{"PageAction 2 close", "BeforeClosePage 2", "ClosePage 2"}));
    }
    EXPECT_FALSE(moved->Active());
    moved->SetActive(true);
    EXPECT_TRUE(other.Active());
    {
        EngineCallLog log;
        pdf.SetActive(false); // no longer its view
        EXPECT_EQ(log.Calls(), QStringList{"CloseDocument"});
    }
    EXPECT_TRUE(moved->Active());
}

TEST_F(PdfViewTest, AComponentDestroyedFirstLeavesItsViewsUnbound) {
    auto component = std::make_unique<TPdf>();
    component->SetFileName(pdf.FileName());
    auto view = MakeView(1, component.get());
    view->SetActive(true);
    component.reset();
    EXPECT_EQ(view->Pdf(), nullptr);
    EXPECT_FALSE(view->Active());
    EXPECT_EQ(ErrorOf([&] { view->ReloadPage(); }), "Pdf property not set");
    view->SetActive(true); // unbound again: stored only
    EXPECT_FALSE(view->Active());
}

TEST_F(PdfViewTest, TheFormFillRepaintGoesToTheFirstViewShowingThatEnginePage) {
    REQUIRE_TESTDATA("pdf/text_form.pdf");
    pdf.SetFileName(testDataPath("pdf/text_form.pdf"));
    pdf.SetActive(true);
    auto first = MakeView(1);
    auto second = MakeView(1);
    for (TPdfView* view : {first.get(), second.get()}) {
        view->resize(300, 300);
        view->SetActive(true);
        view->show();
    }
    ProcessEvents();
    ASSERT_NE(first->Page(), second->Page());
    PaintCounter firstPainted(*first), secondPainted(*second);

    // A click into the text field: the engine asks to repaint the second view's page.
    ClickPagePoint(*second, 120, 120);
    ProcessEvents();
    EXPECT_GE(secondPainted.Paints, 1);
    EXPECT_EQ(firstPainted.Paints, 0);

    firstPainted.Paints = secondPainted.Paints = 0;
    pdf.InvalidateView(first->Page());
    ProcessEvents();
    EXPECT_GE(firstPainted.Paints, 1);
    EXPECT_EQ(secondPainted.Paints, 0);
}

TEST_F(PdfViewTest, TheCacheSparesTheRenderOfAnUnchangedPage) {
    struct Case {
        const char* change;
        std::function<void(TPdfView&)> apply;
        int withCache;
        int withoutCache;
    };
    const QList<Case> cases = {
        {"nothing", [](TPdfView&) {}, 0, 1},
        {"size", [](TPdfView& v) { v.resize(300, 400); }, 1, 1},
        {"rotation", [](TPdfView& v) { v.SetRotation(ro90); }, 1, 1},
        {"options",
         [](TPdfView& v) {
             v.SetOptions({reAnnotations, reGrayscale});
         },
         1, 1},
        {"invalidated", [](TPdfView& v) { v.Invalidate(); }, 1, 1},
        {"page", [](TPdfView& v) { v.SetPageNumber(2); }, 1, 1},
    };
    pdf.SetActive(true);
    for (const Case& c : cases)
        for (bool cache : {true, false}) {
            SCOPED_TRACE(QStringLiteral("%1, cache %2").arg(c.change).arg(cache).toStdString());
            auto view = MakeView(1);
            view->SetCache(cache);
            view->SetActive(true);
            EngineCallLog log;
            view->grab();
            EXPECT_EQ(log.Renders(), 1);
            c.apply(*view);
            view->grab();
            EXPECT_EQ(log.Renders(), 1 + (cache ? c.withCache : c.withoutCache));
        }
}

TEST_F(PdfViewTest, DrawsThePageAsTheEngineRendersItAtTheViewsSize) {
    pdf.SetPageNumber(3);
    pdf.SetActive(true);
    auto view = MakeView(3);
    view->resize(306, 396);
    view->SetActive(true);
    for (TRotation rotation : {ro0, ro90}) {
        view->SetRotation(rotation);
        const QImage drawn = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage engine = pdf.RenderPage(0, 0, 306, 396, rotation, {reAnnotations}, clWhite);
        EXPECT_EQ(drawn, engine.convertToFormat(QImage::Format_RGB32));
    }
}

TEST_F(PdfViewTest, LinksUnderAPointOfTheView) {
    pdf.SetActive(true);
    auto view = MakeView(1);
    view->SetActive(true);
    // The link covers x 72 to 216 and y 72 to 108 of the page; the view shows a point as a pixel.
    struct Case {
        TRotation rotation;
        double pageX, pageY;
        int link;
    };
    const QList<Case> cases = {{ro0, 144, 90, 0},   {ro0, 73, 107, 0},  {ro0, 300, 90, -1},
                               {ro0, 144, 700, -1}, {ro90, 144, 90, 0}, {ro180, 144, 90, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 at %2,%3").arg(c.rotation).arg(c.pageX).arg(c.pageY).toStdString());
        view->SetRotation(c.rotation);
        int x = 0, y = 0;
        ASSERT_TRUE(view->PageToDevice(c.pageX, c.pageY, x, y));
        EXPECT_EQ(view->LinkAnnotationAtPos(x, y), c.link);
    }
    EXPECT_EQ(view->LinkAnnotation(0).PageNumber, 3);
    EXPECT_EQ(ErrorOf([&] { view->LinkAnnotation(1); }), "Incorrect index");
}

TEST_F(PdfViewTest, WebLinksUnderAPointOfTheView) {
    REQUIRE_TESTDATA("pdf/weblinks.pdf");
    pdf.SetFileName(testDataPath("pdf/weblinks.pdf"));
    auto view = MakeView(1);
    view->SetActive(true);
    ASSERT_GT(view->WebLinkCount(), 1);
    for (int i = 0; i < view->WebLinkCount(); ++i) {
        const TPdfRectangle r = view->WebLink(i).Rectangles.first();
        int x = 0, y = 0;
        view->PageToDevice((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, x, y);
        EXPECT_EQ(view->WebLinkAtPos(x, y), i) << view->WebLink(i).Url.toStdString();
    }
    EXPECT_EQ(view->WebLinkAtPos(1, 1), -1);
    EXPECT_EQ(view->LinkAnnotationAtPos(1, 1), -1);
}

TEST_F(PdfViewTest, SearchOnTheViewsPageAndItsSelection) {
    pdf.SetActive(true);
    auto view = MakeView(2);
    view->SetActive(true);
    EXPECT_EQ(ErrorOf([&] { view->FindNext(); }), "Uninitialized search");
    EXPECT_EQ(view->FindFirst(QStringLiteral("two"), {}, 0, true), 5);
    EXPECT_EQ(view->FoundRange(), (TTextRange{5, 3}));
    // The component's own search tells the same match through the page state they share.
    pdf.SetPageNumber(2);
    EXPECT_EQ(ErrorOf([&] { pdf.FoundCount(); }), "Uninitialized search");
    EXPECT_EQ(pdf.FindFirst(QStringLiteral("two"), {}, 0, true), 5);
    EXPECT_EQ(pdf.FoundCount(), 3);
    EXPECT_EQ(view->FindNext(), -1);
    EXPECT_EQ(view->FindFirst(QStringLiteral("one"), {}, 0, true), -1);

    const QImage plain = view->grab().toImage();
    view->SetSelection({{5, 3}}, 0);
    const QImage selected = view->grab().toImage();
    // The selection tints the word's rectangles and nothing else.
    const TPdfRectangle word = view->TextRectangles(5, 3).first();
    int left = 0, top = 0, right = 0, bottom = 0;
    view->PageToDevice(word.Left, word.Top, left, top);
    view->PageToDevice(word.Right, word.Bottom, right, bottom);
    const QRect area = QRect(QPoint(left, top), QPoint(right, bottom)).normalized();
    EXPECT_NE(plain.pixel(area.center()), selected.pixel(area.center()));
    EXPECT_EQ(plain.pixel(area.bottomRight() + QPoint(40, 40)),
              selected.pixel(area.bottomRight() + QPoint(40, 40)));

    // Out-of-range current: none is current. A page change clears the selection.
    view->SetSelection({{5, 3}}, 4);
    EXPECT_EQ(view->SelectionCurrent(), -1);
    view->SetPageNumber(1);
    EXPECT_TRUE(view->Selection().isEmpty());
}

TEST_F(PdfViewTest, AnEmptyTextMatchesNothingAndEndsTheRunningSearch) {
    // The engine's own search never returns for an empty pattern.
    pdf.SetActive(true);
    auto view = MakeView(2);
    view->SetActive(true);
    ASSERT_EQ(view->FindFirst(QStringLiteral("two"), {}, 0, true), 5);
    for (const bool forwards : {true, false}) {
        SCOPED_TRACE(forwards);
        {
            const Watchdog guard(QStringLiteral("TPdfView::FindFirst with an empty text"),
                                 std::chrono::seconds(60));
            EXPECT_EQ(view->FindFirst(QString(), {}, forwards ? 0 : -1, forwards), -1);
        }
        EXPECT_EQ(view->Find(), nullptr);
        EXPECT_EQ(ErrorOf([&] { view->FindNext(); }), "Uninitialized search");
    }
}

TEST_F(PdfViewTest, AnErrorOfAFormFieldHandlerNeverLeavesTheViewsInput) {
    REQUIRE_TESTDATA("pdf/text_form.pdf");
    pdf.SetFileName(testDataPath("pdf/text_form.pdf"));
    pdf.OnFormFieldEnter = [](QObject*, const QString&) {
        throw EPdfError(QStringLiteral("handler failed"));
    };
    auto view = MakeView(1);
    view->resize(300, 300);
    view->SetActive(true);
    EXPECT_NO_THROW(ClickPagePoint(*view, 120, 120));
    // The error was reported where it happened, not kept for a later, unrelated call.
    EXPECT_EQ(ErrorOf([&] { pdf.SetActive(false); }), "<none>");
}

TEST_F(PdfViewTest, TextTypedIntoAFieldIsSavedWhetherTheFieldOrItsPageIsStillOpen) {
    REQUIRE_TESTDATA("pdf/text_form.pdf");
    pdf.SetFileName(testDataPath("pdf/text_form.pdf"));
    for (bool closePage : {false, true}) {
        SCOPED_TRACE(closePage);
        auto view = MakeView(1);
        view->resize(300, 300);
        view->SetActive(true);
        ClickPagePoint(*view, 120, 120);
        for (QChar c : QStringLiteral("Typed")) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(view.get(), &key);
        }
        if (closePage)
            view->SetActive(false);
        const QString out = folder.filePath("out.pdf");
        ASSERT_TRUE(pdf.SaveAs(out, saNoIncremental, pvUnknown));
        EXPECT_TRUE(RunProgram("pdftotext", {out, "-"}).contains("Typed"));
        pdf.SetActive(false);
    }
}
