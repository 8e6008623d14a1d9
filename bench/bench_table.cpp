// The assignment table as a print job and the settings window wait for it, from 1 to 100,000 rows: loading
// cds.xml as start-up does (read, parse, index, order), and the lookup of a job's printer, for the row that
// stands last in address order and for an address that no row holds. Loading grows with the rows (and their
// ordering, n log n); a lookup halves its way to the row.
#include "app/table/AssignmentTable.h"
#include "app/table/ClientDataSet.h"
#include "app/table/DataPacket.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace AssignmentTable;

// The address of row Number: the rows are written in reverse address order, so that ordering them has work.
QString address(int number) {
    return QStringLiteral("STORE-%1/TILL-2").arg(number, 6, 10, QLatin1Char('0'));
}

// A cds.xml of Rows rows, written once per size in the table's own packet format.
QString tableFile(int rows) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cds-%1.xml").arg(rows));
    if (QFileInfo::exists(path))
        return path;
    QList<QStringList> content;
    for (int row = rows; row > 0; --row)
        content.append(
            {address(row), QStringLiteral("Till %1").arg(row), QStringLiteral("Printer %1").arg(row % 7)});
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.write(DataPacket::Write(
            {{fdModuleAddress, FieldSize}, {fdModuleName, FieldSize}, {fdSpecifyprintername, FieldSize}},
            content)))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void BM_LoadTable(benchmark::State& state) {
    const QString path = tableFile(int(state.range(0)));
    for (auto _ : state) {
        TClientDataSet cds;
        SetUp(cds, path);
        benchmark::DoNotOptimize(cds.RecordCount());
    }
    state.SetComplexityN(state.range(0));
}

void lookUp(benchmark::State& state, const QString& wanted) {
    TClientDataSet cds;
    SetUp(cds, tableFile(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(GetPrintName(cds, wanted, [] { return QStringLiteral("default"); }));
    state.SetComplexityN(state.range(0));
}

void BM_LookUpTheLastRow(benchmark::State& state) {
    lookUp(state, address(int(state.range(0))));
}

void BM_LookUpAMissingAddress(benchmark::State& state) {
    lookUp(state, QStringLiteral("STORE-X"));
}

constexpr int Largest = 100000;

BENCHMARK(BM_LoadTable)->RangeMultiplier(10)->Range(1, Largest)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_LookUpTheLastRow)
    ->RangeMultiplier(10)
    ->Range(1, Largest)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oLogN);
BENCHMARK(BM_LookUpAMissingAddress)
    ->RangeMultiplier(10)
    ->Range(1, Largest)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oLogN);

} // namespace

BENCHMARK_MAIN();
