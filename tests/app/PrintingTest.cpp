// The printing interface against the private print system: its printers, the default, and documents that
// land as printed output.
#include "app/printing/EPrinter.h"
#include "app/printing/PageFit.h"
#include "app/printing/Printer.h"
#include "support/PrintSystem.h"
#include "support/Programs.h"

#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

std::optional<QString> failure(const std::function<void()>& action) {
    try {
        action();
    } catch (const EPrinter& error) {
        return error.Message();
    }
    return std::nullopt;
}

// A page image as the renderer hands it over: 8-bit gray, as wide as the printable area.
QImage grayPage(int width, int height, int shade) {
    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(shade);
    return image;
}

class PrintingTest : public testing::Test {
protected:
    void SetUp() override {
        if (!System.Started())
            GTEST_SKIP() << "no private print system: " << System.Error().toStdString();
    }

    PrintSystem& System = PrintSystem::Shared();
};

TEST_F(PrintingTest, ListsThePrintersInTheSystemsOrder) {
    QStringList system;
    for (const QString& line : RunProgram("lpstat", {"-e"}).split('\n', Qt::SkipEmptyParts))
        system << line.trimmed();
    EXPECT_EQ(TPrinter().Printers(), system);
    for (const QString& queue : System.Printers())
        EXPECT_TRUE(system.contains(queue)) << queue.toStdString();
}

TEST_F(PrintingTest, TheCurrentPrinterIsTheDefaultUntilOneIsChosen) {
    TPrinter printer;
    EXPECT_EQ(printer.Printers().value(printer.PrinterIndex()), System.DefaultPrinter());
    const int other = FindPrinter(printer.Printers(), System.Printers()[1].toUpper());
    ASSERT_GE(other, 0);
    printer.SetPrinterIndex(other);
    EXPECT_EQ(printer.Printers().value(printer.PrinterIndex()), System.Printers()[1]);
    printer.SetPrinterIndex(-1);
    EXPECT_EQ(printer.Printers().value(printer.PrinterIndex()), System.DefaultPrinter());
}

TEST_F(PrintingTest, SaysWhenThereIsNoDefaultPrinter) {
    const NoDefaultPrinter none;
    TPrinter printer;
    const QString message = "There is no default printer currently selected";
    EXPECT_EQ(failure([&] { printer.PrinterIndex(); }), message);
    EXPECT_EQ(failure([&] { printer.SetPrinterIndex(-1); }), message);
    EXPECT_EQ(failure([&] { printer.BeginDoc(); }), message);
    EXPECT_FALSE(printer.Printing());
}

TEST_F(PrintingTest, RefusesAPositionOutsideTheList) {
    TPrinter printer;
    EXPECT_EQ(failure([&] { printer.SetPrinterIndex(int(printer.Printers().size())); }),
              "Printer index out of range");
    EXPECT_EQ(failure([&] { printer.SetPrinterIndex(-2); }), "Printer index out of range");
}

TEST_F(PrintingTest, PagesAndTheEndNeedAnOpenDocument) {
    TPrinter printer;
    EXPECT_EQ(failure([&] { printer.NewPage(); }), "Printer is not currently printing");
    EXPECT_EQ(failure([&] { printer.EndDoc(); }), "Printer is not currently printing");
}

struct Queue {
    int Position;       // in the print system's list of queues
    QString PageSize;   // as pdfinfo reports the printed pages
    int PrintableWidth; // 300 dpi, 1/4 inch margins
    int PrintableHeight;
};

class PrintingJobTest : public PrintingTest, public testing::WithParamInterface<Queue> {};

// Two gray page images land as a two-page document of the queue's paper, at 300 dpi, one to one.
TEST_P(PrintingJobTest, PrintsGrayPagesAtTheQueuesResolution) {
    const QString queue = System.Printers()[GetParam().Position];
    TPrinter printer;
    printer.SetPrinterIndex(FindPrinter(printer.Printers(), queue));
    printer.SetTitle("Two gray pages");
    EXPECT_EQ(printer.Resolution(), 300);
    EXPECT_EQ(printer.PageWidth(), GetParam().PrintableWidth);
    EXPECT_EQ(printer.PageHeight(), GetParam().PrintableHeight);

    const TPageFit letter = FitPage(printer.PageWidth(), printer.PageHeight(), 612, 792);
    printer.BeginDoc();
    ASSERT_TRUE(printer.Printing());
    PrintBitmap(printer, grayPage(letter.Width, letter.Height, 64));
    printer.NewPage();
    PrintBitmap(printer, grayPage(letter.Width, letter.Height, 192));
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());

    const QString output = System.WaitForOutput(queue);
    ASSERT_FALSE(output.isEmpty()) << "nothing printed on " << queue.toStdString();
    EXPECT_EQ(PdfInfoField(output, "Pages"), "2");
    EXPECT_TRUE(PdfInfoField(output, "Page size").startsWith(GetParam().PageSize))
        << PdfInfoField(output, "Page size").toStdString();
    EXPECT_EQ(PdfInfoField(output, "Title"), "Two gray pages");

    // pdfimages -list: page num type width height color comp bpc enc interp object id x-ppi y-ppi ...
    const QStringList images =
        RunProgram("pdfimages", {"-list", output}).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_EQ(images.size(), 2);
    for (const QString& image : images) {
        const QStringList fields = image.simplified().split(' ');
        EXPECT_EQ(fields.value(3).toInt(), letter.Width);
        EXPECT_EQ(fields.value(4).toInt(), letter.Height);
        EXPECT_EQ(fields.value(5), "gray");
        EXPECT_EQ(fields.value(7), "8");
        EXPECT_EQ(fields.value(12), "300");
    }
}

INSTANTIATE_TEST_SUITE_P(Queues, PrintingJobTest,
                         testing::Values(Queue{0, "612 x 792 pts", 2400, 3150},
                                         Queue{1, "595 x 842 pts", 2329, 3358}),
                         [](const auto& info) { return info.param.Position == 0 ? "Letter" : "A4"; });

// When the print system refuses the document, beginning it says nothing; the next page or the end does.
TEST_F(PrintingTest, ReportsADocumentThatThePrintSystemRefused) {
    const QString gone = "Kestrova_Gone";
    ASSERT_TRUE(System.AddPrinter(gone));
    TPrinter printer;
    printer.SetPrinterIndex(FindPrinter(printer.Printers(), gone));
    const int width = printer.PageWidth();
    ASSERT_TRUE(System.RemovePrinter(gone));

    printer.BeginDoc();
    EXPECT_FALSE(printer.Printing());
    PrintBitmap(printer, grayPage(width, 100, 0));
    EXPECT_EQ(failure([&] { printer.NewPage(); }), "Printer is not currently printing");
    EXPECT_EQ(failure([&] { printer.EndDoc(); }), "Printer is not currently printing");
    EXPECT_EQ(System.WaitForOutput(gone, 2), QString());
}

} // namespace
