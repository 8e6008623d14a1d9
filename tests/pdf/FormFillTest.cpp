// The form-fill environment on the real engine: set up and torn down with the document, the focus events, the
// report of a field's new value, and the one timer that the engine drives through the component.
#include "pdf/Pdf.h"
#include "pdf/engine/FPdfFormFill.h"
#include "support/PdfFixtures.h"
#include "support/TestData.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace PDFium;

namespace {

// What the engine's timer functions were called with.
int firstCalls = 0;
int secondCalls = 0;
int lastTimerId = 0;
void FirstTimerFunc(int id) {
    ++firstCalls;
    lastTimerId = id;
}
void SecondTimerFunc(int id) {
    ++secondCalls;
    lastTimerId = id;
}

// Runs the event loop until Done holds, for at most ten seconds.
template <typename Done> bool ProcessEventsUntil(Done done) {
    QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

struct FocusEvents {
    QStringList entered;
    int exits = 0;

    void Watch(TPdf& pdf) {
        pdf.OnFormFieldEnter = [this, &pdf](QObject* sender, const QString& text) {
            EXPECT_EQ(sender, &pdf);
            entered.append(text);
        };
        pdf.OnFormFieldExit = [this, &pdf](QObject* sender) {
            EXPECT_EQ(sender, &pdf);
            ++exits;
        };
    }
};

QTimer* TimerOf(const TPdf& pdf) {
    return pdf.findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

TEST(FormFill, TheHandleLivesAsLongAsTheDocumentWhenFormFillIsOn) {
    const QByteArray bytes = MakePdf({});
    for (bool formFill : {false, true}) {
        SCOPED_TRACE(formFill);
        TPdf pdf;
        EXPECT_TRUE(pdf.FormFill()); // the default
        pdf.SetFormFill(formFill);
        pdf.LoadDocument(bytes);
        EXPECT_EQ(pdf.FormHandle() != nullptr, formFill);
        pdf.SetActive(false);
        EXPECT_EQ(pdf.FormHandle(), nullptr);
        pdf.CreateDocument();
        EXPECT_EQ(pdf.FormHandle() != nullptr, formFill);
    }
}

TEST(FormFill, FormTypeOfTheDocument) {
    struct Case {
        const char* file;
        TPdfFormType type;
    };
    const Case cases[] = {{"pdf/hello_world.pdf", ftNone},
                          {"pdf/text_form.pdf", ftAcroForm},
                          {"pdf/click_form.pdf", ftAcroForm},
                          {"pdf/simple_xfa.pdf", ftXfaFull}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        REQUIRE_TESTDATA(c.file);
        for (bool formFill : {true, false}) {
            TPdf pdf;
            pdf.SetFormFill(formFill);
            pdf.SetFileName(testDataPath(c.file));
            pdf.SetPageNumber(1);
            pdf.SetActive(true);
            EXPECT_EQ(pdf.FormType(), c.type);
            // Rendering draws the fields when there is a form handle, in printing mode too.
            EXPECT_EQ(pdf.RenderPage(0, 0, 50, 50, ro0, AllRenderOptions, clWhite).size(), QSize(50, 50));
        }
    }
}

TEST(FormFill, DecodedFormTypes) {
    const std::pair<int, TPdfFormType> cases[] = {{0, ftNone},          {1, ftAcroForm}, {2, ftXfaFull},
                                                  {3, ftXfaForeground}, {4, ftUnknown},  {-1, ftUnknown}};
    for (auto [code, type] : cases)
        EXPECT_EQ(DecodeFormType(code), type) << code;
}

TEST(FormFill, FocusRaisesEnterWithTheTextOrExitOnly) {
    TPdf pdf;
    FocusEvents events;
    events.Watch(pdf);
    const char16_t text[] = u"Kestrova";
    pdf.SetTextFieldFocus(reinterpret_cast<const FPDF_WCHAR*>(text), 8, 1);
    pdf.SetTextFieldFocus(reinterpret_cast<const FPDF_WCHAR*>(text), 0, 1);
    pdf.SetTextFieldFocus(nullptr, 0, 1);
    EXPECT_EQ(events.entered, (QStringList{"Kestrova", "", ""}));
    EXPECT_EQ(events.exits, 0);
    pdf.SetTextFieldFocus(reinterpret_cast<const FPDF_WCHAR*>(text), 8, 0);
    EXPECT_EQ(events.entered.size(), 3);
    EXPECT_EQ(events.exits, 1);

    // Without handlers nothing happens.
    TPdf quiet;
    quiet.SetTextFieldFocus(reinterpret_cast<const FPDF_WCHAR*>(text), 8, 1);
    quiet.SetTextFieldFocus(nullptr, 0, 0);
}

TEST(FormFill, TimerIdentitiesDifferAndAreNeverZero) {
    TPdf first;
    TPdf second;
    EXPECT_NE(first.TimerIdentity(), 0);
    EXPECT_NE(second.TimerIdentity(), 0);
    EXPECT_NE(first.TimerIdentity(), second.TimerIdentity());
    EXPECT_EQ(TimerOf(first), nullptr); // created on the engine's first request only
}

TEST(FormFill, TheTimerCallsTheEngineWithItsIdentityUntilKilledByIt) {
    TPdf pdf;
    firstCalls = secondCalls = lastTimerId = 0;
    const int id = pdf.StartFormTimer(5, &FirstTimerFunc);
    EXPECT_EQ(id, pdf.TimerIdentity());
    QTimer* timer = TimerOf(pdf);
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 5);
    ASSERT_TRUE(ProcessEventsUntil([] { return firstCalls >= 2; }));
    EXPECT_EQ(lastTimerId, id);

    // Another identifier is not ours: the timer keeps running.
    pdf.StopFormTimer(id + 1);
    pdf.StopFormTimer(0);
    EXPECT_TRUE(timer->isActive());
    const int before = firstCalls;
    ASSERT_TRUE(ProcessEventsUntil([&] { return firstCalls > before; }));

    pdf.StopFormTimer(id);
    EXPECT_FALSE(timer->isActive());
}

TEST(FormFill, ASecondTimerRequestReplacesFunctionAndInterval) {
    TPdf pdf;
    firstCalls = secondCalls = lastTimerId = 0;
    const int first = pdf.StartFormTimer(5000, &FirstTimerFunc);
    const int second = pdf.StartFormTimer(3, &SecondTimerFunc);
    EXPECT_EQ(first, second);
    EXPECT_EQ(pdf.findChildren<QTimer*>().size(), 1);
    EXPECT_EQ(TimerOf(pdf)->interval(), 3);
    ASSERT_TRUE(ProcessEventsUntil([] { return secondCalls >= 2; }));
    EXPECT_EQ(firstCalls, 0);
    EXPECT_EQ(lastTimerId, second);
    pdf.StopFormTimer(second);
}

// A click into the text field of a real form: the engine reports the focus through its callback, and the
// caret's blinking asks the component for its timer.
TEST(FormFill, ClickingIntoATextFieldOfARealFormRaisesEnterThenExit) {
    REQUIRE_TESTDATA("pdf/text_form.pdf");
    TPdf pdf;
    FocusEvents events;
    events.Watch(pdf);
    pdf.SetFileName(testDataPath("pdf/text_form.pdf"));
    pdf.SetPageNumber(1);
    pdf.SetActive(true);
    ASSERT_NE(pdf.FormHandle(), nullptr);
    FORM_OnAfterLoadPage(pdf.Page(), pdf.FormHandle());
    FORM_OnLButtonDown(pdf.FormHandle(), pdf.Page(), 0, 120, 120);
    FORM_OnLButtonUp(pdf.FormHandle(), pdf.Page(), 0, 120, 120);
    EXPECT_EQ(events.entered.size(), 1);
    EXPECT_EQ(events.exits, 0);
    FORM_ForceToKillFocus(pdf.FormHandle());
    EXPECT_EQ(events.exits, 1);
    FORM_OnBeforeClosePage(pdf.Page(), pdf.FormHandle());
    pdf.SetActive(false);
    EXPECT_EQ(pdf.FormHandle(), nullptr);
}

// The engine reports a field's new value once the field takes it (when it lets go of the focus, or is told to
// commit), not key by key; text typed and deleted again is no new value. A handler's error comes out of the
// call that committed the value.
TEST(FormFill, AFieldsNewValueIsReportedOnceTheFieldTakesIt) {
    REQUIRE_TESTDATA("pdf/text_form.pdf");
    TPdf pdf;
    int changes = 0;
    pdf.OnFormChange = [&](QObject* sender) {
        EXPECT_EQ(sender, &pdf);
        ++changes;
    };
    pdf.SetFileName(testDataPath("pdf/text_form.pdf"));
    pdf.SetPageNumber(1);
    pdf.SetActive(true);
    FORM_OnAfterLoadPage(pdf.Page(), pdf.FormHandle());
    auto type = [&](const QString& keys) {
        FORM_OnLButtonDown(pdf.FormHandle(), pdf.Page(), 0, 120, 120);
        FORM_OnLButtonUp(pdf.FormHandle(), pdf.Page(), 0, 120, 120);
        for (const QChar key : keys)
            FORM_OnChar(pdf.FormHandle(), pdf.Page(), key.unicode(), 0);
    };
    type(QStringLiteral("42"));
    EXPECT_EQ(changes, 0);
    pdf.CommitFormInput();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pdf.FormField(0), QStringLiteral("42"));
    type(QStringLiteral("7\b"));
    pdf.CommitFormInput();
    EXPECT_EQ(changes, 1);
    pdf.OnFormChange = [](QObject*) {
        throw EPdfError(QStringLiteral("handler failed"));
    };
    type(QStringLiteral("8"));
    EXPECT_THROW(pdf.CommitFormInput(), EPdfError);
    FORM_OnBeforeClosePage(pdf.Page(), pdf.FormHandle());
}

TEST(FormFill, AFieldRendersWithoutHighlightInPrintingModeAndWithItOtherwise) {
    REQUIRE_TESTDATA("pdf/text_form.pdf");
    TPdf pdf;
    pdf.SetFileName(testDataPath("pdf/text_form.pdf"));
    pdf.SetPageNumber(1);
    pdf.SetActive(true);
    // The field's highlight (0xFFE4DD, which the engine reads as blue FF, green E4, red DD, at alpha 100 over
    // white) shows on screen but not in print, and the
    // printing render leaves the highlight in force for the next screen render.
    const auto highlighted = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                count += qBlue(p) == 255 && qRed(p) < 250 && qGreen(p) < 250 ? 1 : 0;
            }
        return count;
    };
    const QImage screen = pdf.RenderPage(0, 0, 300, 300, ro0, {}, clWhite);
    const QImage print = pdf.RenderPage(0, 0, 300, 300, ro0, {rePrinting}, clWhite);
    const QImage screenAgain = pdf.RenderPage(0, 0, 300, 300, ro0, {}, clWhite);
    EXPECT_GT(highlighted(screen), 100);
    EXPECT_EQ(highlighted(print), 0);
    EXPECT_EQ(screenAgain, screen);
}
