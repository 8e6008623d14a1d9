// GetPrintName: the first row in address order whose address begins with the request without regard to
// case, its printer name as stored; else the printing interface's current printer.
#include "TableFixtures.h"

namespace {

struct LookupCase {
    const char* name;
    QStringList stored;
    QString request;
    QString expected; // "P-" and the address of the matching row, or the default printer
};

void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << c.name;
}

const QString defaultPrinter = QStringLiteral("Office Laser");

// Every row's printer is "P-" followed by its address.
const LookupCase lookupCases[] = {
    {"ExactAddress", {"A1", "A10"}, "A1", "P-A1"},
    {"OtherCase", {"A1", "A10"}, "a1", "P-A1"},
    {"PrefixFindsShortestFirst", {"A10", "A1"}, "A", "P-A1"},
    {"PrefixOfLongerAddress", {"A10"}, "A1", "P-A10"},
    {"LongerThanStoredFallsBack", {"A10"}, "A100", defaultPrinter},
    {"EmptyTable", {}, "A1", defaultPrinter},
    {"EmptyRequestFallsBack", {"A1", "B"}, "", defaultPrinter},
    {"EmptyRequestFindsStar", {"A1", "*"}, "", "P-*"},
    {"StarIsLiteral", {"A1"}, "*", defaultPrinter},
    {"StarRowMatchesOnlyStar", {"*"}, "A", defaultPrinter},
    {"QuotesAreLiteral", {"\"Q\"1", "Q1"}, "\"q\"", "P-\"Q\"1"},
    {"CaseTwinsTakeIndexOrder", {"a1", "A1"}, "A1", "P-A1"},
    {"MiddleOfAddressDoesNotMatch", {"XA1"}, "A1", defaultPrinter},
    {"AmongRowsBeforeAndAfter", {"C4", "b3", "A1", "B2", "Ba"}, "b", "P-B2"},
    {"BetweenRowsWithoutMatch", {"A1", "C4", "B"}, "AZ", defaultPrinter},
    {"NonAsciiIgnoresCase",
     {QStringLiteral("Ärzte-1")},
     QStringLiteral("ärzte"),
     QStringLiteral("P-Ärzte-1")},
};

class Lookup : public TableTest, public testing::WithParamInterface<LookupCase> {};

TEST_P(Lookup, FindsPrinter) {
    const LookupCase& c = GetParam();
    for (const QString& address : c.stored)
        appendRow(cds, address, QStringLiteral("name"), QStringLiteral("P-") + address);
    EXPECT_EQ(AssignmentTable::GetPrintName(cds, c.request, [] { return defaultPrinter; }), c.expected);
    if (c.expected != defaultPrinter) {
        EXPECT_EQ(QStringLiteral("P-") + cds.FieldValue(AssignmentTable::fdModuleAddress), c.expected)
            << "the matching row becomes current";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Lookup, testing::ValuesIn(lookupCases),
                         [](const testing::TestParamInfo<LookupCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
