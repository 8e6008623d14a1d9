// Packets as the dataset engine writes them, with and without a change log, in the encodings it uses; and
// the packet this program writes.
#include "app/table/DataPacket.h"

#include <gtest/gtest.h>

namespace {

QByteArray withFields(const QByteArray& params, const QByteArray& rows) {
    return "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
           "<FIELD attrname=\"fdModuleAddress\" fieldtype=\"string.uni\" WIDTH=\"512\"/>"
           "<FIELD attrname=\"fdModuleName\" fieldtype=\"string.uni\" WIDTH=\"512\"/>"
           "<FIELD attrname=\"fdSpecifyprintername\" fieldtype=\"string.uni\" WIDTH=\"512\"/></FIELDS>" +
           params + "</METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

struct PacketCase {
    const char* name;
    QByteArray packet;
    QList<QStringList> rows;
};

void PrintTo(const PacketCase& c, std::ostream* os) {
    *os << c.name;
}

const PacketCase packetCases[] = {
    {"Plain",
     withFields("<PARAMS/>",
                "<ROW fdModuleAddress=\"A1\" fdModuleName=\"Front\" fdSpecifyprintername=\"Lab\"/>"
                "<ROW fdModuleAddress=\"B\"/>"),
     {{"A1", "Front", "Lab"}, {"B", "", ""}}},
    {"CharacterReferences",
     withFields("<PARAMS/>",
                "<ROW fdModuleAddress=\"K&#252;che&#10;2\" fdModuleName=\"&quot;&lt;&amp;&gt;&apos;\" "
                "fdSpecifyprintername=\"&#x1F5A8;\"/>"),
     {{QStringLiteral("K\u00fcche\n2"), "\"<&>'", QStringLiteral("\U0001F5A8")}}},
    {"Utf8Declared",
     "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>" +
         withFields("<PARAMS/>", "<ROW fdModuleAddress=\"K\xc3\xbc\" fdModuleName=\"\xe2\x82\xac\"/>")
             .mid(int(qstrlen("<?xml version=\"1.0\" standalone=\"yes\"?>"))),
     {{QStringLiteral("K\u00fc"), QStringLiteral("\u20ac"), ""}}},
    {"Windows1252Declared",
     "<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"yes\"?>" +
         withFields("<PARAMS/>", "<ROW fdModuleAddress=\"K\xfc\" fdModuleName=\"\x80\"/>")
             .mid(int(qstrlen("<?xml version=\"1.0\" standalone=\"yes\"?>"))),
     {{QStringLiteral("K\u00fc"), QStringLiteral("\u20ac"), ""}}},
    {"Utf8ByteOrderMark",
     "\xef\xbb\xbf" + withFields("<PARAMS/>", "<ROW fdModuleAddress=\"A\"/>"),
     {{"A", "", ""}}},
    {"LaidOutOnLines",
     "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n<DATAPACKET Version=\"2.0\">\r\n  <METADATA>\r\n    "
     "<FIELDS>\r\n"
     "      <FIELD attrname=\"fdModuleAddress\" fieldtype=\"string.uni\" WIDTH=\"512\"/>\r\n"
     "      <FIELD attrname=\"fdModuleName\" fieldtype=\"string.uni\" WIDTH=\"512\"/>\r\n"
     "      <FIELD attrname=\"fdSpecifyprintername\" fieldtype=\"string.uni\" WIDTH=\"512\"/>\r\n"
     "    </FIELDS>\r\n    <PARAMS DEFAULT_ORDER=\"1\" PRIMARY_KEY=\"1\" LCID=\"1033\"/>\r\n  </METADATA>\r\n"
     "  <ROWDATA>\r\n    <ROW fdModuleAddress=\"A\" fdModuleName=\"x\" fdSpecifyprintername=\"y\"/>\r\n  "
     "</ROWDATA>\r\n"
     "</DATAPACKET>\r\n",
     {{"A", "x", "y"}}},
    {"InsertedRows",
     withFields("<PARAMS CHANGE_LOG=\"1 0 4 2 0 4\"/>",
                "<ROW RowState=\"4\" fdModuleAddress=\"A\" fdModuleName=\"a\"/>"
                "<ROW RowState=\"4\" fdModuleAddress=\"B\" fdModuleName=\"b\"/>"),
     {{"A", "a", ""}, {"B", "b", ""}}},
    {"ModifiedRowTakesUnchangedFieldsFromItsOriginal",
     withFields(
         "<PARAMS CHANGE_LOG=\"3 1 8\"/>",
         "<ROW RowState=\"1\" fdModuleAddress=\"A\" fdModuleName=\"old\" fdSpecifyprintername=\"Lab\"/>"
         "<ROW fdModuleAddress=\"B\" fdModuleName=\"b\" fdSpecifyprintername=\"Lab\"/>"
         "<ROW RowState=\"8\" fdModuleName=\"new\"/>"),
     {{"B", "b", "Lab"}, {"A", "new", "Lab"}}},
    {"ModifiedTwice",
     withFields("<PARAMS CHANGE_LOG=\"2 1 8 3 2 8\"/>",
                "<ROW RowState=\"1\" fdModuleAddress=\"A\" fdModuleName=\"n1\" fdSpecifyprintername=\"p1\"/>"
                "<ROW RowState=\"9\" fdModuleName=\"n2\"/><ROW RowState=\"8\" fdSpecifyprintername=\"p3\"/>"),
     {{"A", "n2", "p3"}}},
    {"DeletedRows",
     withFields("<PARAMS CHANGE_LOG=\"3 1 2 4 0 4 4 0 6\"/>",
                "<ROW RowState=\"1\" fdModuleAddress=\"A\"/><ROW fdModuleAddress=\"B\"/>"
                "<ROW RowState=\"2\" fdModuleAddress=\"A\"/><ROW RowState=\"6\" fdModuleAddress=\"C\"/>"),
     {{"B", "", ""}}},
    {"RowStatesWithoutLog",
     withFields("<PARAMS/>",
                "<ROW RowState=\"1\" fdModuleAddress=\"A\" fdModuleName=\"old\"/>"
                "<ROW RowState=\"8\" fdModuleName=\"new\"/><ROW RowState=\"4\" fdModuleAddress=\"N\"/>"),
     {{"A", "new", ""}, {"N", "", ""}}},
    {"AnsiStringFieldsAndExtraField",
     "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
     "<FIELD attrname=\"fdModuleAddress\" fieldtype=\"string\" WIDTH=\"20\"/>"
     "<FIELD attrname=\"fdNote\" fieldtype=\"string.uni\" WIDTH=\"100\"/></FIELDS><PARAMS/></METADATA>"
     "<ROWDATA><ROW fdModuleAddress=\"A\" fdNote=\"n\" fdUnknown=\"u\"/></ROWDATA></DATAPACKET>",
     {{"A", "n"}}},
};

class EnginePacket : public testing::TestWithParam<PacketCase> {};

TEST_P(EnginePacket, ReadsMergedRows) {
    const DataPacket::TContent content = DataPacket::Read(GetParam().packet);
    EXPECT_EQ(content.Rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(DataPacket, EnginePacket, testing::ValuesIn(packetCases),
                         [](const testing::TestParamInfo<PacketCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(DataPacket, ReadsFieldSizesFromTheirWidth) {
    const DataPacket::TContent content = DataPacket::Read(packetCases[std::size(packetCases) - 1].packet);
    ASSERT_EQ(content.FieldDefs.size(), 2);
    EXPECT_EQ(content.FieldDefs.at(0).Name, QStringLiteral("fdModuleAddress"));
    EXPECT_EQ(content.FieldDefs.at(0).Size, 20) << "an 8-bit field counts one byte a character";
    EXPECT_EQ(content.FieldDefs.at(1).Size, 50) << "a wide field counts two bytes a character";
}

struct BadPacketCase {
    const char* name;
    QByteArray packet;
    const char* problem;
};

void PrintTo(const BadPacketCase& c, std::ostream* os) {
    *os << c.name;
}

const BadPacketCase badPackets[] = {
    {"LogBeyondRows",
     withFields("<PARAMS CHANGE_LOG=\"2 0 4\"/>", "<ROW RowState=\"4\" fdModuleAddress=\"A\"/>"),
     "refers to a row"},
    {"LogForwardReference", withFields("<PARAMS CHANGE_LOG=\"1 2 8\"/>", "<ROW/><ROW/>"), "refers to a row"},
    {"LogIncomplete", withFields("<PARAMS CHANGE_LOG=\"1 0\"/>", "<ROW/>"), "incomplete"},
    {"RowStateNotANumber", withFields("<PARAMS/>", "<ROW RowState=\"x\"/>"), "RowState is not a number"},
    {"UnsupportedFieldType",
     "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"n\" "
     "fieldtype=\"i4\"/></FIELDS></METADATA></DATAPACKET>",
     "field n has the type \"i4\""},
    {"FieldTwice",
     "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"n\" fieldtype=\"string\" WIDTH=\"2\"/>"
     "<FIELD attrname=\"n\" fieldtype=\"string\" WIDTH=\"2\"/></FIELDS></METADATA></DATAPACKET>",
     "field n is defined twice"},
    {"InvalidCharacterReference", withFields("<PARAMS/>", "<ROW fdModuleAddress=\"&#1;\"/>"),
     "not well-formed"},
    {"WideFieldOfOneByte",
     "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"n\" fieldtype=\"string.uni\" WIDTH=\"001\"/>"
     "</FIELDS></METADATA></DATAPACKET>",
     "field n has no width"},
    {"FieldNameOutsideAscii",
     "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"K&#252;che\" fieldtype=\"string\" WIDTH=\"2\"/>"
     "</FIELDS></METADATA></DATAPACKET>",
     "field K\xfc"
     "che has a name outside ASCII"},
    {"RawLatin1WithoutDeclaration", withFields("<PARAMS/>", "<ROW fdModuleAddress=\"K\xfc\"/>"),
     "not well-formed"},
};

class BadPacket : public testing::TestWithParam<BadPacketCase> {};

TEST_P(BadPacket, NamesTheProblem) {
    try {
        DataPacket::Read(GetParam().packet);
        FAIL() << "the packet was accepted";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(QLatin1String(GetParam().problem)))
            << error.Message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(DataPacket, BadPacket, testing::ValuesIn(badPackets),
                         [](const testing::TestParamInfo<BadPacketCase>& info) {
                             return std::string(info.param.name);
                         });

const QList<TFieldDef> tableFields{
    {"fdModuleAddress", 256}, {"fdModuleName", 256}, {"fdSpecifyprintername", 256}};

TEST(DataPacket, WritesTheEngineFormInAscii) {
    const QList<QStringList> rows{
        {"A1", QStringLiteral("K\u00fcche \"1\" & <2>"), QStringLiteral("\U0001F5A8 Lab")},
        {"B", "", "x\ty\r\nz"}};
    EXPECT_EQ(DataPacket::Write(tableFields, rows).toStdString(),
              "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
              "<FIELD attrname=\"fdModuleAddress\" fieldtype=\"string.uni\" WIDTH=\"512\"/>"
              "<FIELD attrname=\"fdModuleName\" fieldtype=\"string.uni\" WIDTH=\"512\"/>"
              "<FIELD attrname=\"fdSpecifyprintername\" fieldtype=\"string.uni\" WIDTH=\"512\"/>"
              "</FIELDS><PARAMS/></METADATA><ROWDATA>"
              "<ROW fdModuleAddress=\"A1\" fdModuleName=\"K&#252;che &quot;1&quot; &amp; &lt;2&gt;\" "
              "fdSpecifyprintername=\"&#128424; Lab\"/>"
              "<ROW fdModuleAddress=\"B\" fdSpecifyprintername=\"x&#9;y&#13;&#10;z\"/>"
              "</ROWDATA></DATAPACKET>\n");
}

TEST(DataPacket, ReadsBackWhatItWrites) {
    const QList<QStringList> rows{
        {QStringLiteral(" lead"), QStringLiteral("\u4e2d\u6587 \U0001F5A8"), "a\tb\nc\r"},
        {"*", "", "'\"<>&"}};
    const DataPacket::TContent content = DataPacket::Read(DataPacket::Write(tableFields, rows));
    EXPECT_EQ(content.Rows, rows);
    ASSERT_EQ(content.FieldDefs.size(), tableFields.size());
    for (int i = 0; i < tableFields.size(); ++i) {
        EXPECT_EQ(content.FieldDefs.at(i).Name, tableFields.at(i).Name);
        EXPECT_EQ(content.FieldDefs.at(i).Size, tableFields.at(i).Size);
    }
}

} // namespace
