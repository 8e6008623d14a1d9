// The resolution pages are printed at comes from the print system, not from Qt's fixed default.
#include "app/printing/DefaultResolution.h"
#include "app/printing/Printer.h"
#include "support/PrintSystem.h"

#include <gtest/gtest.h>

TEST(PrintingResolution, IsThePrintersOwnDefault) {
    if (!PrintSystem::Shared().Started())
        GTEST_SKIP() << "no private print system: " << PrintSystem::Shared().Error().toStdString();
    // The two queues that print to PDF; the driverless queues' resolution is checked where pages print on
    // them: their default is the one the print system copied from the printer, which CUPS now and then
    // leaves out of an answer.
    for (const QString& queue : PrintSystem::Shared().Printers().mid(0, 2))
        EXPECT_EQ(DefaultResolution(queue), 300) << queue.toStdString();
    EXPECT_EQ(DefaultResolution(QStringLiteral("Kestrova_No_Such_Queue")), 0);

    TPrinter printer;
    EXPECT_EQ(printer.Resolution(), 300);
    // Letter at 300 dpi is 2550 pixels wide; the printable area lies within it.
    EXPECT_GT(printer.PageWidth(), 2000);
    EXPECT_LE(printer.PageWidth(), 2550);
}

TEST(PrintingResolution, FollowsAPrinterWhoseDefaultIsNot300) {
    PrintSystem& system = PrintSystem::Shared();
    if (!system.Started())
        GTEST_SKIP() << "no private print system: " << system.Error().toStdString();
    const QString queue = QStringLiteral("Kestrova_600");
    ASSERT_TRUE(system.AddPrinter(queue, 600));
    EXPECT_EQ(DefaultResolution(queue), 600);
    TPrinter printer;
    printer.SetPrinterIndex(FindPrinter(printer.Printers(), queue));
    EXPECT_EQ(printer.Resolution(), 600);
    system.RemovePrinter(queue);
}
