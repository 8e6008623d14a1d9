// The print system's queues on printer drivers, its raw queue and its driverless queue without compression,
// each with a printer that keeps what it receives: what plain lp of a PDF makes reach each printer.
#include "support/PdfFixtures.h"
#include "support/PrintSystem.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

struct DriverQueue {
    const char* Name;
    const QString& (PrintSystem::*Printer)() const;
    const char* Extension; // of the file the printer keeps
    // What that file starts with; none: it is the PDF sent, byte for byte.
    std::optional<QByteArray> Start;
};

void PrintTo(const DriverQueue& c, std::ostream* os) {
    *os << c.Name;
}

class DriverQueuesTest : public testing::TestWithParam<DriverQueue> {
protected:
    void SetUp() override {
        if (!System.Started())
            GTEST_SKIP() << "no private print system: " << System.Error().toStdString();
        if ((System.*GetParam().Printer)().isEmpty())
            GTEST_SKIP() << "no driverless printer: " << System.DriverlessError().toStdString();
    }

    PrintSystem& System = PrintSystem::Shared();
};

TEST_P(DriverQueuesTest, APdfSentWithLpReachesThePrinter) {
    const DriverQueue& expected = GetParam();
    const QString queue = (System.*expected.Printer)();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const FixtureDocument document{{FixturePage{{612, 792}, "Kestrova"}}};
    ASSERT_TRUE(PrintSystem::Administer("lp", {"-d", queue, WritePdf(folder.path(), "page.pdf", document)}));

    const QString printed = System.WaitForOutput(queue);
    ASSERT_TRUE(printed.endsWith(expected.Extension))
        << "printed on " << queue.toStdString() << ": " << printed.toStdString();
    QFile file(printed);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray received = file.readAll();
    EXPECT_EQ(expected.Start ? received.left(expected.Start->size()) : received,
              expected.Start.value_or(MakePdf(document)));
}

INSTANTIATE_TEST_SUITE_P(
    Queues, DriverQueuesTest,
    testing::Values(DriverQueue{"PostScript", &PrintSystem::PostScriptPrinter, ".ps", "%!PS"},
                    DriverQueue{"LaserJet", &PrintSystem::LaserJetPrinter, ".pcl", "\033E"},
                    DriverQueue{"Raw", &PrintSystem::RawPrinter, ".raw", std::nullopt},
                    DriverQueue{"DriverlessPlain", &PrintSystem::DriverlessPlainPrinter, ".pwg", "RaS2"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
