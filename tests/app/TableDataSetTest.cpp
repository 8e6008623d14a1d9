// The table's own rules: address order, unique addresses with case, values cut to the field size, and the
// append/edit/post/cancel/delete cycle with its events.
#include "TableFixtures.h"

using AssignmentTable::fdModuleAddress;
using AssignmentTable::fdModuleName;
using AssignmentTable::fdSpecifyprintername;

namespace {

TEST_F(TableTest, RowsStandInAddressOrder) {
    for (const char* address : {"b", "A10", "a2", "A1", "B0"})
        appendRow(cds, QString::fromLatin1(address), QStringLiteral("n"), QStringLiteral("p"));
    EXPECT_EQ(addresses(cds), QStringList({"A1", "A10", "a2", "b", "B0"}));
}

TEST_F(TableTest, DuplicateAddressFailsAndIsNotStored) {
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("first"), QStringLiteral("p"));
    cds.Append();
    cds.SetFieldValue(fdModuleAddress, QStringLiteral("A1"));
    cds.SetFieldValue(fdModuleName, QStringLiteral("second"));
    try {
        cds.Post();
        FAIL() << "a duplicate address was posted";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Key violation."));
    }
    EXPECT_EQ(cds.State(), TDataSetState::dsInsert);
    cds.Cancel();
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(addresses(cds), QStringList({"A1"}));
    EXPECT_EQ(cds.FieldValue(fdModuleName), QStringLiteral("first"));

    appendRow(cds, QStringLiteral("a1"), QStringLiteral("other case"), QStringLiteral("p"));
    EXPECT_EQ(addresses(cds), QStringList({"A1", "a1"}));
}

TEST_F(TableTest, EditToDuplicateIsCancelledBackToOldValues) {
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("one"), QStringLiteral("p1"));
    appendRow(cds, QStringLiteral("B1"), QStringLiteral("two"), QStringLiteral("p2"));
    ASSERT_EQ(cds.FieldValue(fdModuleAddress), QStringLiteral("B1"));
    cds.Edit();
    cds.SetFieldValue(fdModuleAddress, QStringLiteral("A1"));
    EXPECT_THROW(cds.Post(), EDatabaseError);
    cds.Cancel();
    EXPECT_EQ(cds.FieldValue(fdModuleAddress), QStringLiteral("B1"));
    EXPECT_EQ(addresses(cds), QStringList({"A1", "B1"}));

    cds.Edit();
    cds.SetFieldValue(fdModuleAddress, QStringLiteral("0"));
    cds.Post();
    EXPECT_EQ(addresses(cds), QStringList({"0", "A1"}));
    EXPECT_EQ(cds.FieldValue(fdModuleName), QStringLiteral("two")) << "the edited row stays current";
}

struct StoredCase {
    const char* name;
    QString typed;
    QString stored;
};

void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << c.name;
}

const StoredCase storedCases[] = {
    {"Short", QStringLiteral(" lead and trail "), QStringLiteral(" lead and trail ")},
    {"Exactly256", QString(256, u'x'), QString(256, u'x')},
    {"LongerIsCut", QString(300, u'x'), QString(256, u'x')},
    {"PairAtTheCutIsNotSplit", QString(255, u'x') + QStringLiteral("\U0001F5A8z"), QString(255, u'x')},
    {"PairBeforeTheCutStays", QString(254, u'x') + QStringLiteral("\U0001F5A8z"),
     QString(254, u'x') + QStringLiteral("\U0001F5A8")},
    {"ControlCharactersDropped",
     QStringLiteral("a\x01"
                    "b\x1F"
                    "c\tz"),
     QStringLiteral("abc\tz")},
    {"LoneSurrogateDropped", QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b"), QStringLiteral("ab")},
};

class Stored : public TableTest, public testing::WithParamInterface<StoredCase> {};

TEST_P(Stored, AsTheFieldHoldsItAndAfterReload) {
    appendRow(cds, GetParam().typed, QStringLiteral("n"), QStringLiteral("p"));
    EXPECT_EQ(cds.FieldValue(fdModuleAddress), GetParam().stored);
    TClientDataSet reloaded;
    AssignmentTable::SetUp(reloaded, path);
    EXPECT_EQ(reloaded.FieldValue(fdModuleAddress), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Table, Stored, testing::ValuesIn(storedCases),
                         [](const testing::TestParamInfo<StoredCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(TableTest, DeleteMovesToTheNextRow) {
    for (const char* address : {"A", "B", "C"})
        appendRow(cds, QString::fromLatin1(address), QStringLiteral("n"), QStringLiteral("p"));
    cds.SetCurrentIndex(1);
    cds.Delete();
    EXPECT_EQ(cds.FieldValue(fdModuleAddress), QStringLiteral("C"));
    cds.Delete();
    EXPECT_EQ(cds.FieldValue(fdModuleAddress), QStringLiteral("A"));
    cds.Delete();
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_EQ(cds.CurrentIndex(), -1);
    EXPECT_THROW(cds.Delete(), EDatabaseError);
}

TEST_F(TableTest, FailingAfterPostUndoesThePostAndRaises) {
    cds.AfterPost = [](TClientDataSet*) {
        throw EDatabaseError(QStringLiteral("disk full"));
    };
    try {
        appendRow(cds, QStringLiteral("A1"), QStringLiteral("n"), QStringLiteral("p"));
        FAIL() << "the after-post error was swallowed";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("disk full"));
    }
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(addresses(cds), QStringList()) << "memory keeps what the file holds";
}

TEST_F(TableTest, FieldsOnlyChangeWhileEditing) {
    EXPECT_THROW(cds.SetFieldValue(fdModuleAddress, QStringLiteral("x")), EDatabaseError);
    EXPECT_THROW(cds.Post(), EDatabaseError);
    EXPECT_THROW(cds.Edit(), EDatabaseError) << "an empty table has no row to edit";
    cds.Append();
    EXPECT_THROW(cds.Append(), EDatabaseError);
    EXPECT_THROW(cds.SetFieldValue(QStringLiteral("fdNoSuchField"), QStringLiteral("x")), EDatabaseError);
    EXPECT_EQ(cds.FieldValue(fdSpecifyprintername), QString());
}

} // namespace
