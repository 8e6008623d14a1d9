// Printing from kestrova-view on the private print system: the print dialog offers what the chosen printer
// supports, Ctrl+P prints the shown document through Kestrova's print path with the options chosen there,
// read back from the PWG raster the driverless printers received, and a bad page range prints nothing.
#include "PrintDialog.h"
#include "ViewTestSupport.h"
#include "app/printing/PrinterList.h"
#include "support/PdfFixtures.h"
#include "support/PrintSystem.h"
#include "support/PwgRaster.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <cups/raster.h>

namespace {

const FixtureDocument ThreePages{{{{612, 792}, "One"}, {{612, 792}, "Two"}, {{612, 792}, "Three"}}};

// The values a combo box offers, by their data.
QList<QByteArray> Offered(const QComboBox* box) {
    QList<QByteArray> values;
    for (int i = 0; i < box->count(); ++i)
        values.append(box->itemData(i).toByteArray());
    return values;
}

// Chooses the entry whose data is Value.
void Choose(QComboBox* box, const QByteArray& value) {
    const int index = box->findData(value);
    ASSERT_GE(index, 0) << value.toStdString();
    box->setCurrentIndex(index);
}

// The queues a case prints on.
enum class Queue { Driverless, Duplex, Instance };

QString QueueName(Queue queue) {
    const PrintSystem& system = PrintSystem::Shared();
    switch (queue) {
    case Queue::Driverless:
        return system.DriverlessPrinter();
    case Queue::Duplex:
        return system.DuplexPrinter();
    case Queue::Instance:
        return system.DuplexPrinter() + "/a4duplex";
    }
    return {};
}

class ViewerPrint : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (!PrintSystem::Shared().Started())
            GTEST_SKIP() << "no private print system: " << PrintSystem::Shared().Error().toStdString();
        if (PrintSystem::Shared().DuplexPrinter().isEmpty())
            GTEST_SKIP() << "no driverless printers: "
                         << PrintSystem::Shared().DriverlessError().toStdString();
        // An instance of the two-sided printer whose own options are two sides on A4.
        ASSERT_TRUE(PrintSystem::Administer("lpoptions",
                                            {"-p", QueueName(Queue::Instance), "-o",
                                             "sides=two-sided-long-edge", "-o", "media=iso_a4_210x297mm"}));
        // The dialog is the real one, filled in by Fill and confirmed, or cancelled, as a person would.
        window.AskPrint = [this](int pageCount) -> std::optional<TPrintRequest> {
            TPrintDialog dialog(ReadPrinterList(), pageCount, &window);
            Fill(dialog);
            dialog.findChild<QDialogButtonBox*>("bbButtons")
                ->button(cancel ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)
                ->click();
            dialogError = dialog.findChild<QLabel*>("lError")->text();
            if (dialog.result() != QDialog::Accepted)
                return std::nullopt;
            return dialog.Request();
        };
        Open(WritePdf(folder.path(), "three.pdf", ThreePages));
        jobsBefore = PrintSystem::PrintingJobCount();
    }

    void TearDown() override {
        if (PrintSystem::Shared().Started() && !PrintSystem::Shared().DuplexPrinter().isEmpty())
            PrintSystem::Administer("lpoptions", {"-x", QueueName(Queue::Instance)});
        ViewerTest::TearDown();
    }

    // Ctrl+P in the window, as a person presses it.
    void PressPrint() {
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
        Settle();
    }

    std::function<void(TPrintDialog&)> Fill;
    bool cancel = false;
    QString dialogError;
    int jobsBefore = 0;
};

TEST_F(ViewerPrint, TheDialogOffersWhatThePrinterSupportsWithItsDefaultsChosen) {
    struct Offer {
        Queue Printer;
        QList<QByteArray> Sides;
        QList<QByteArray> Colors;
        QByteArray Side;  // chosen
        QByteArray Paper; // chosen
    };
    const QList<QByteArray> allSides{"one-sided", "two-sided-long-edge", "two-sided-short-edge"};
    for (const Offer& expected :
         {Offer{Queue::Driverless, {"one-sided"}, {{}}, "one-sided", "na_letter_8.5x11in"},
          Offer{Queue::Duplex, allSides, {"monochrome", "color"}, "one-sided", "na_letter_8.5x11in"},
          Offer{Queue::Instance,
                allSides,
                {"monochrome", "color"},
                "two-sided-long-edge",
                "iso_a4_210x297mm"}}) {
        const QString printer = QueueName(expected.Printer);
        SCOPED_TRACE(printer.toStdString());
        TPrintDialog dialog(ReadPrinterList(), 3, &window);
        auto* printers = dialog.findChild<QComboBox*>("cbPrinter");
        EXPECT_EQ(printers->currentText(), PrintSystem::Shared().DefaultPrinter());
        printers->setCurrentText(printer);
        ASSERT_EQ(printers->currentText(), printer);
        const auto* sides = dialog.findChild<QComboBox*>("cbSides");
        EXPECT_EQ(Offered(sides), expected.Sides);
        EXPECT_EQ(sides->isEnabled(), expected.Sides.size() > 1);
        EXPECT_EQ(sides->currentData().toByteArray(), expected.Side);
        const auto* colors = dialog.findChild<QComboBox*>("cbColor");
        EXPECT_EQ(Offered(colors), expected.Colors);
        EXPECT_EQ(colors->isEnabled(), expected.Colors.size() > 1);
        const auto* paper = dialog.findChild<QComboBox*>("cbPaper");
        EXPECT_EQ(paper->currentData().toByteArray(), expected.Paper);
        EXPECT_TRUE(Offered(paper).contains("iso_a4_210x297mm"));
        EXPECT_FALSE(Offered(paper).contains("iso_a3_297x420mm"));
        // Left as it is, the dialog asks for a job without options: the printer's own defaults.
        EXPECT_EQ(dialog.Request().PrinterName, printer);
        EXPECT_TRUE(dialog.Request().Options.isEmpty());
    }
}

struct PrintCase {
    const char* Name;
    Queue Printer;
    QByteArray Paper;
    const char* Sent; // how many pages, as the status bar says
    int Sheets;
    int Copies = 1;
    QByteArray Sides = {}; // empty: as the dialog has it
    QByteArray Color = {}; // empty: as the dialog has it
    QString Pages = {};
    bool TwoSided = false;
    bool Tumble = false;
    bool ColourByDefault = false; // an instance of the colour printer takes its queue's colour default
};

void PrintTo(const PrintCase& c, std::ostream* os) {
    *os << c.Name;
}

class ViewerPrints : public ViewerPrint, public testing::WithParamInterface<PrintCase> {};

TEST_P(ViewerPrints, WithTheOptionsChosenInTheDialog) {
    const PrintCase& expected = GetParam();
    const QString printer = QueueName(expected.Printer);
    Fill = [&](TPrintDialog& dialog) {
        dialog.findChild<QComboBox*>("cbPrinter")->setCurrentText(printer);
        dialog.findChild<QSpinBox*>("seCopies")->setValue(expected.Copies);
        if (!expected.Sides.isEmpty())
            Choose(dialog.findChild<QComboBox*>("cbSides"), expected.Sides);
        Choose(dialog.findChild<QComboBox*>("cbPaper"), expected.Paper);
        if (!expected.Color.isEmpty())
            Choose(dialog.findChild<QComboBox*>("cbColor"), expected.Color);
        dialog.findChild<QLineEdit*>("edPageRanges")->setText(expected.Pages);
    };
    window.GoToPage(2);
    PressPrint();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    const QList<PwgPage> sheets =
        ReadPwgRaster(PrintSystem::Shared().WaitForOutput(printer.section('/', 0, 0)));
    ASSERT_EQ(sheets.size(), expected.Sheets);
    for (const PwgPage& sheet : sheets) {
        EXPECT_EQ(sheet.Media, expected.Paper);
        EXPECT_EQ(sheet.Duplex, expected.TwoSided);
        EXPECT_EQ(sheet.Tumble, expected.Tumble);
        EXPECT_EQ(sheet.ColorSpace,
                  expected.Color == "color" || expected.ColourByDefault ? CUPS_CSPACE_SRGB : CUPS_CSPACE_SW);
    }
    EXPECT_EQ(PrintSystem::LastJobTitle(printer.section('/', 0, 0)), "three.pdf");
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("%1 sent to %2").arg(QLatin1String(expected.Sent), printer));
    // The window shows the page it showed before.
    EXPECT_EQ(window.View().PageNumber(), 2);
    EXPECT_EQ(window.View().Text(0, 3), "Two");
}

INSTANTIATE_TEST_SUITE_P(Cases, ViewerPrints,
                         testing::Values(PrintCase{.Name = "GrayCopiesOfARange",
                                                   .Printer = Queue::Driverless,
                                                   .Paper = "na_letter_8.5x11in",
                                                   .Sent = "4 pages",
                                                   .Sheets = 4,
                                                   .Copies = 2,
                                                   .Pages = "2-3"},
                                         PrintCase{.Name = "TwoSidedColourOnA4",
                                                   .Printer = Queue::Duplex,
                                                   .Paper = "iso_a4_210x297mm",
                                                   .Sent = "3 pages",
                                                   .Sheets = 4,
                                                   .Sides = "two-sided-long-edge",
                                                   .Color = "color",
                                                   .TwoSided = true},
                                         PrintCase{.Name = "ShortEdgeInGray",
                                                   .Printer = Queue::Duplex,
                                                   .Paper = "na_letter_8.5x11in",
                                                   .Sent = "2 pages",
                                                   .Sheets = 2,
                                                   .Sides = "two-sided-short-edge",
                                                   .Color = "monochrome",
                                                   .Pages = "1,3",
                                                   .TwoSided = true,
                                                   .Tumble = true},
                                         PrintCase{.Name = "TheInstanceAsItIs",
                                                   .Printer = Queue::Instance,
                                                   .Paper = "iso_a4_210x297mm",
                                                   .Sent = "3 pages",
                                                   .Sheets = 4,
                                                   .TwoSided = true,
                                                   .ColourByDefault = true},
                                         PrintCase{.Name = "OnePageOfTheInstanceOnOneSide",
                                                   .Printer = Queue::Instance,
                                                   .Paper = "iso_a4_210x297mm",
                                                   .Sent = "1 page",
                                                   .Sheets = 1,
                                                   .Sides = "one-sided",
                                                   .Pages = "2",
                                                   .ColourByDefault = true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ViewerPrint, NothingIsPrintedForABadPageRangeOrACancel) {
    struct Refusal {
        QString Pages;
        bool Cancel;
        QString Message; // shown in the dialog
    };
    for (const Refusal& refusal :
         {Refusal{
              "3-1", false,
              "The print option page-ranges has a malformed value \"3-1\": it takes ascending page ranges "
              "such as 1-3,5"},
          Refusal{"7-9", false, "The page ranges 7-9 name no page of the document, which has 3 pages"},
          Refusal{"2", true, ""}}) {
        SCOPED_TRACE(refusal.Pages.toStdString());
        cancel = refusal.Cancel;
        Fill = [&](TPrintDialog& dialog) {
            dialog.findChild<QComboBox*>("cbPrinter")->setCurrentText(PrintSystem::Shared().DuplexPrinter());
            dialog.findChild<QLineEdit*>("edPageRanges")->setText(refusal.Pages);
        };
        PressPrint();
        EXPECT_EQ(dialogError, refusal.Message);
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        EXPECT_EQ(PrintSystem::PrintingJobCount(), jobsBefore);
        EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
    }
}

// The print system's refusal comes through the window's error seam, and the window stays as it was.
TEST_F(ViewerPrint, APrintSystemRefusalIsShownAsTheWindowsError) {
    const QString printer = PrintSystem::Shared().DuplexPrinter();
    ASSERT_TRUE(PrintSystem::Administer("cupsreject", {printer}));
    Fill = [&](TPrintDialog& dialog) {
        dialog.findChild<QComboBox*>("cbPrinter")->setCurrentText(printer);
    };
    window.GoToPage(3);
    PressPrint();
    PrintSystem::Administer("cupsaccept", {printer});
    EXPECT_EQ(errors, QStringList{QStringLiteral("Destination \"%1\" is not accepting jobs.").arg(printer)});
    EXPECT_EQ(PrintSystem::PrintingJobCount(), jobsBefore);
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(window.View().PageNumber(), 3);
    EXPECT_EQ(window.View().Text(0, 5), "Three");
}

} // namespace
