// Each kind of queue gets the stream its driver takes, at the queue's own resolution and on its own sheet:
// what reaches each test printer, decoded where it is an image.
#include "app/job/PagePrinting.h"
#include "app/log/DataFolder.h"
#include "app/printing/CupsDestination.h"
#include "app/printing/Printer.h"
#include "pdf/Pdf.h"
#include "support/PdfFixtures.h"
#include "support/PrintSystem.h"
#include "support/PrintedSheets.h"
#include "support/Programs.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The label a ZPL job draws (~DG graphic, as CUPS's label driver writes it), 1 for a dot; a null image when
// the job holds none. Hex digits may be preceded by repeat counts (G-Y for 1 to 19, g-z for 20 to 400), ':'
// repeats the line before and ',' fills the rest of the line with 0.
QImage ZplLabel(const QByteArray& zpl) {
    static const QRegularExpression graphic(QStringLiteral("~DG[^,]*,(\\d+),(\\d+),"));
    const auto found = graphic.match(QString::fromLatin1(zpl));
    if (!found.hasMatch())
        return {};
    const int total = found.captured(1).toInt();
    const int perLine = found.captured(2).toInt();
    QImage label(perLine * 8, total / perLine, QImage::Format_Mono);
    label.fill(0);
    QByteArray line, previous;
    int row = 0;
    int repeat = 0;
    const auto endLine = [&] {
        const QByteArray bytes = QByteArray::fromHex(line);
        std::memcpy(label.scanLine(row++), bytes.constData(),
                    size_t(std::min<qsizetype>(bytes.size(), perLine)));
        previous = line;
        line.clear();
    };
    for (qsizetype i = found.capturedEnd(); i < zpl.size() && row < label.height(); ++i) {
        const char c = zpl[i];
        if (c >= 'G' && c <= 'Y') {
            repeat += c - 'F';
        } else if (c >= 'g' && c <= 'z') {
            repeat += (c - 'f') * 20;
        } else if (c == ':') {
            line = previous;
            endLine();
        } else if (c == ',') {
            line.append(2 * perLine - line.size(), '0');
            endLine();
        } else if (std::isxdigit(static_cast<unsigned char>(c))) {
            line.append(std::max(repeat, 1), c);
            repeat = 0;
            if (line.size() >= 2 * perLine)
                endLine();
        }
    }
    return label;
}

QRect InkOf(const QImage& label) {
    QRect ink;
    for (int y = 0; y < label.height(); ++y)
        for (int x = 0; x < label.width(); ++x)
            if (label.pixelIndex(x, y) == 1)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

class QueueStreamsTest : public testing::Test {
protected:
    void SetUp() override {
        if (!System.Started())
            GTEST_SKIP() << "no private print system: " << System.Error().toStdString();
        ASSERT_TRUE(Folder.isValid());
        DataFolder::SetPath(Folder.path());
    }
    void TearDown() override { DataFolder::SetPath({}); }

    // Prints the fixture's two pages through the program's print path on PrinterName, Queue itself or an
    // instance of it; what Queue's printer received.
    QByteArray Print(const QString& queue, const TOptionValues& options = {},
                     const QString& printerName = {}) {
        const QString file =
            WritePdf(Folder.path(), "two.pdf",
                     {{FixturePage{{612, 792}, "Kestrova"}, FixturePage{{612, 792}, "Two"}}});
        PDFium::TPdf pdf;
        TPrinter printer;
        printPDf(pdf, printer, printerName.isEmpty() ? queue : printerName, file, "Print", options);
        QFile printed(System.WaitForOutput(queue));
        return printed.open(QIODevice::ReadOnly) ? printed.readAll() : QByteArray();
    }

    PrintSystem& System = PrintSystem::Shared();
    QTemporaryDir Folder;
};

// The label printer's driver takes CUPS raster at 203 dpi on its default 4 x 5 in label: the page lands
// whole, from the label's top-left corner, not on a strip of the first paper listed.
TEST_F(QueueStreamsTest, ALabelPrinterTakesCupsRasterOnItsOwnLabel) {
    EXPECT_EQ(TCupsDestination(System.LabelPrinter()).Stream({}), TQueueStream::CupsRaster);
    const QImage label = ZplLabel(Print(System.LabelPrinter()));
    ASSERT_FALSE(label.isNull());
    EXPECT_NEAR(label.width(), 4 * 203, 8);
    EXPECT_NEAR(label.height(), 5 * 203, 2);
    // "Kestrova" in Helvetica 24 an inch from the top left of a Letter page stretched to the label's width:
    // about a sixth of the label wide, in its top fifth.
    const QRect ink = InkOf(label);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.top(), label.height() / 5);
    EXPECT_GT(ink.width(), label.width() / 8);
    EXPECT_LT(ink.right(), label.width() / 2);
}

// A raster driver prints at its queue's default resolution, 300 dpi for CUPS's LaserJet, not the lowest that
// the print system lists for PWG raster.
TEST_F(QueueStreamsTest, ALaserJetTakesCupsRasterAtItsDefaultResolution) {
    const QString queue = System.LaserJetPrinter();
    EXPECT_EQ(TCupsDestination(queue).Stream({}), TQueueStream::CupsRaster);
    EXPECT_EQ(TCupsDestination(queue).PageSetup().Resolution, 300);
    const QByteArray pcl = Print(queue);
    EXPECT_TRUE(pcl.startsWith("\033E"));
    EXPECT_EQ(pcl.count("\033*t300R"), 2);
}

// PostScript and PDF queues take the document itself, its pages placed as a PDF: the driver draws them as
// sharp as the printer prints, and the text stays text.
TEST_F(QueueStreamsTest, PostScriptAndPdfQueuesTakeThePlacedDocument) {
    EXPECT_EQ(TCupsDestination(System.PostScriptPrinter()).Stream({}), TQueueStream::Pdf);
    const QByteArray postScript = Print(System.PostScriptPrinter());
    EXPECT_TRUE(postScript.startsWith("%!PS"));
    EXPECT_EQ(postScript.count("\n%%Page: "), 2);

    const QString queue = System.DefaultPrinter();
    EXPECT_EQ(TCupsDestination(queue).Stream({}), TQueueStream::Pdf);
    const QByteArray pdf = Print(queue, {{"page-ranges", "2"}});
    const QString printed = Folder.filePath("printed.pdf");
    QFile file(printed);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();
    EXPECT_EQ(PdfInfoField(printed, "Pages"), "1");
    EXPECT_EQ(RunProgram("pdftotext", {printed, "-"}).trimmed(), "Two");
    EXPECT_TRUE(RunProgram("pdfimages", {"-list", printed}).split('\n', Qt::SkipEmptyParts).size() <= 2)
        << "the page went as an image";
}

// A raw queue takes the document as it is, as from lp, and the run log says that placement and options were
// left to the printer.
TEST_F(QueueStreamsTest, ARawQueueTakesTheDocumentAsItIs) {
    const QString queue = System.RawPrinter();
    EXPECT_EQ(TCupsDestination(queue).Stream({}), TQueueStream::Raw);
    const QByteArray received = Print(queue, {{"copies", "2"}});
    QFile source(Folder.filePath("two.pdf"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    EXPECT_EQ(received, source.readAll());
    QFile log(Folder.filePath("log/" + QDate::currentDate().toString("yyyyMMdd") + ".log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("is a raw queue: the document goes to it as it is"));
}

// Options of lp's filters that Kestrova does not carry out, here an instance's number-up, are not lost
// without a word: the run log names each.
TEST_F(QueueStreamsTest, AnOptionNotAppliedIsLogged) {
    const QString instance = System.LaserJetPrinter() + "/twoup";
    ASSERT_TRUE(
        PrintSystem::Administer("lpoptions", {"-p", instance, "-o", "number-up=2", "-o", "page-set=odd"}));
    Print(System.LaserJetPrinter(), {}, instance);
    PrintSystem::Administer("lpoptions", {"-x", instance});
    QFile log(Folder.filePath("log/" + QDate::currentDate().toString("yyyyMMdd") + ".log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray lines = log.readAll();
    for (const char* option : {"number-up=2", "page-set=odd"})
        EXPECT_TRUE(lines.contains(QByteArray("The print option ") + option + " of the printer \"" +
                                   instance.toUtf8() + "\" is not applied by Kestrova"))
            << lines.toStdString();
}

} // namespace
