// The link intake: the command-line reader, the split of the link into the memo's lines and the decoding of
// its two parameters.
#include "app/intake/EUrlError.h"
#include "app/intake/GetParamStr.h"
#include "app/intake/InvocationUrlParts.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct CommandLineCase {
    QString commandLine;
    QString program;
    QString link;
};

void PrintTo(const CommandLineCase& c, std::ostream* os) {
    *os << c.commandLine.toStdString();
}

class CommandLine : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, SecondTokenIsTheLink) {
    const QString& commandLine = GetParam().commandLine;
    QString program, link;
    const QChar* next = GetParamStr(commandLine.constData(), program);
    GetParamStr(next, link);
    EXPECT_EQ(program, GetParam().program);
    EXPECT_EQ(link, GetParam().link);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, CommandLine,
    testing::Values(CommandLineCase{"Kestrova.exe", "Kestrova.exe", ""},
                    CommandLineCase{"Kestrova.exe \"\"", "Kestrova.exe", ""},
                    CommandLineCase{"Kestrova.exe \"\" \"\"  ", "Kestrova.exe", ""},
                    CommandLineCase{"\"C:\\Program Files\\Kestrova.exe\" \"kestrova://p/?a=1 b\"",
                                    "C:\\Program Files\\Kestrova.exe", "kestrova://p/?a=1 b"},
                    CommandLineCase{"ab\"c d\"e x", "abc de", "x"},
                    CommandLineCase{" \t\x01prog\x1f"
                                    "arg tail",
                                    "prog", "arg"},
                    CommandLineCase{"prog \"\" \"\" link", "prog", "link"},
                    CommandLineCase{"prog \"\"x", "prog", "x"},
                    CommandLineCase{"prog \"a\"\"b\"", "prog", "ab"},
                    CommandLineCase{"prog \"open to the end", "prog", "open to the end"},
                    CommandLineCase{"prog \u00e9\u4e2d\U0001F600", "prog", "\u00e9\u4e2d\U0001F600"}));

// One link: the memo's lines, the two values, and the error that ends the intake (empty when none).
struct LinkCase {
    const char* name;
    QString link;
    QStringList lines;
    QString moduleAddress;
    QString pdfurl;
    QString error;
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.name;
}

class Link : public testing::TestWithParam<LinkCase> {};

TEST_P(Link, LinesValuesAndError) {
    const LinkCase& c = GetParam();
    QStringList lines;
    QString moduleAddress, pdfurl;
    QString error;
    try {
        ReadInvocationUrl(
            c.link, [&](const QString& line) { lines << line; }, moduleAddress, pdfurl);
    } catch (const EUrlError& e) {
        error = e.Message();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(moduleAddress, c.moduleAddress);
    EXPECT_EQ(pdfurl, c.pdfurl);
}

// The six lines of a link "kestrova://print/?<params>".
QStringList printLines(const QString& params) {
    return {"protocol :kestrova", "Host :print",      "Path :/", "URI :kestrova://print/?" + params,
            "Document :",         "Params :" + params};
}

// A link whose module address is Encoded; the PDF address is "X".
// The error of a parameter that does not decode, naming it.
QString notEncoded(const char* parameter, const QString& error) {
    return QStringLiteral("The link's parameter \"%1\" is not well encoded: %2").arg(parameter, error);
}

LinkCase module(const char* name, const QString& link, const QString& decoded, const QString& error = {}) {
    const QString params = link.mid(QStringLiteral("kestrova://print/?").size());
    return {name,
            link,
            printLines(params),
            decoded,
            error.isEmpty() ? "X" : "",
            error.isEmpty() ? error : notEncoded("moduleaddress", error)};
}

const QString invalidUtf8 = "No mapping for the Unicode character exists in the target multi-byte code page";

INSTANTIATE_TEST_SUITE_P(
    Cases, Link,
    testing::Values(
        LinkCase{
            "WorkedExample",
            "Kestrova://print/?moduleaddress=Desk%2001&pdfurl=http%3A%2F%2F127.0.0.1%3A8080%2Fdocs%2Fa.pdf",
            {"protocol :Kestrova", "Host :print", "Path :/",
             "URI "
             ":Kestrova://print/?moduleaddress=Desk%2001&pdfurl=http%3A%2F%2F127.0.0.1%3A8080%2Fdocs%2Fa.pdf",
             "Document :",
             "Params :moduleaddress=Desk%2001&pdfurl=http%3A%2F%2F127.0.0.1%3A8080%2Fdocs%2Fa.pdf"},
            "Desk 01",
            "http://127.0.0.1:8080/docs/a.pdf",
            ""},
        LinkCase{"NoHost",
                 "Kestrova://?moduleaddress=A1&pdfurl=X",
                 {"protocol :Kestrova", "Host :", "Path :/"},
                 "",
                 "",
                 "Host field is empty"},
        LinkCase{"NoSlashesAfterScheme",
                 "Kestrova:?moduleaddress=A1&pdfurl=http%3A%2F%2Fh%2Fa.pdf",
                 {"protocol :", "Host :", "Path :"},
                 "",
                 "",
                 "Protocol field is empty"},
        LinkCase{"PlainWord", "hello", {"protocol :", "Host :", "Path :"}, "", "", "Protocol field is empty"},
        LinkCase{"FirstSchemeSeparatorInQueryCounts",
                 "Kestrova:?moduleaddress=A1&pdfurl=http://h/a.pdf",
                 {"protocol :Kestrova:?moduleaddress=A1&pdfurl=http", "Host :h", "Path :/",
                  "URI :Kestrova:?moduleaddress=A1&pdfurl=http://h/a.pdf", "Document :a.pdf", "Params :"},
                 "",
                 "",
                 ""},
        LinkCase{"NoQuery",
                 "kestrova://print/dir/doc.pdf",
                 {"protocol :kestrova", "Host :print", "Path :/dir/", "URI :kestrova://print/dir/doc.pdf",
                  "Document :doc.pdf", "Params :"},
                 "",
                 "",
                 ""},
        LinkCase{"FragmentCutOff", "kestrova://print/?moduleaddress=A1&pdfurl=X#top",
                 printLines("moduleaddress=A1&pdfurl=X"), "A1", "X", ""},
        LinkCase{"BackslashesBeforeQuery",
                 "kestrova://print\\sub\\doc?moduleaddress=a\\b&pdfurl=X",
                 {"protocol :kestrova", "Host :print", "Path :/sub/",
                  "URI :kestrova://print/sub/doc?moduleaddress=a\\b&pdfurl=X", "Document :doc",
                  "Params :moduleaddress=a\\b&pdfurl=X"},
                 "a\\b",
                 "X",
                 ""},
        LinkCase{"UserPortAndIPv6",
                 "kestrova://user:pw@[::1]:8080/a/b/c.pdf?pdfurl=X#frag",
                 {"protocol :kestrova", "Host :::1", "Path :/a/b/",
                  "URI :kestrova://[::1]:8080/a/b/c.pdf?pdfurl=X", "Document :c.pdf", "Params :pdfurl=X"},
                 "",
                 "X",
                 ""},
        LinkCase{"DefaultPortDropped",
                 "HTTPS://h:443/x",
                 {"protocol :HTTPS", "Host :h", "Path :/", "URI :HTTPS://h/x", "Document :x", "Params :"},
                 "",
                 "",
                 ""},
        LinkCase{
            "OtherProtocolKeepsPort",
            "kestrova://h:80/",
            {"protocol :kestrova", "Host :h", "Path :/", "URI :kestrova://h:80/", "Document :", "Params :"},
            "",
            "",
            ""},
        module("NamesIgnoreCase", "kestrova://print/?ModuleAddress=A1&PDFURL=X", "A1"),
        module("FirstOfTwoWins", "kestrova://print/?moduleaddress=A1&moduleaddress=B2&pdfurl=X", "A1"),
        module("NameWithoutEqualsDoesNotMatch", "kestrova://print/?moduleaddress&pdfurl=X", ""),
        module("LongerNameDoesNotMatch", "kestrova://print/?moduleaddressx=A&pdfurl=X", ""),
        module("FurtherEqualsKept", "kestrova://print/?moduleaddress=a=b&pdfurl=X", "a=b"),
        module("PlusIsSpace", "kestrova://print/?moduleaddress=A+1&pdfurl=X", "A 1"),
        module("EncodedPlus", "kestrova://print/?moduleaddress=A%2B1&pdfurl=X", "A+1"),
        module("EncodedAmpersandStaysInValue", "kestrova://print/?moduleaddress=A%261&pdfurl=X", "A&1"),
        module("DoublePercent", "kestrova://print/?moduleaddress=5%%25&pdfurl=X", "5%25"),
        module("MultiByte", "kestrova://print/?moduleaddress=%E4%B8%AD&pdfurl=X", "\u4e2d"),
        module("LowerCaseHex", "kestrova://print/?moduleaddress=%e4%b8%ad&pdfurl=X", "\u4e2d"),
        module("RawNonAscii", "kestrova://print/?moduleaddress=\u00e9\U0001F600&pdfurl=X",
               "\u00e9\U0001F600"),
        module("ByteOrderMarkKept", "kestrova://print/?moduleaddress=%EF%BB%BFx&pdfurl=X",
               QChar(0xFEFF) + QString("x")),
        module("BadEscape", "kestrova://print/?moduleaddress=a%zz&pdfurl=X", "",
               "Invalid URL encoded character (%zz) at position 2"),
        module("BadEscapeLooksLikePlaceholder", "kestrova://print/?moduleaddress=a%2z&pdfurl=X", "",
               "Invalid URL encoded character (%2z) at position 2"),
        module("TruncatedEscape", "kestrova://print/?moduleaddress=50%&pdfurl=X", "",
               "Error decoding URL style (%XX) encoded string at position 3"),
        module("TruncatedEscapeOneChar", "kestrova://print/?moduleaddress=5%2&pdfurl=X", "",
               "Error decoding URL style (%XX) encoded string at position 2"),
        module("InvalidUtf8", "kestrova://print/?moduleaddress=%FF&pdfurl=X", "", invalidUtf8),
        module("TruncatedUtf8", "kestrova://print/?moduleaddress=%E4%B8&pdfurl=X", "", invalidUtf8),
        module("OverlongUtf8", "kestrova://print/?moduleaddress=%C0%AF&pdfurl=X", "", invalidUtf8),
        module("EncodedSurrogate", "kestrova://print/?moduleaddress=%ED%A0%80&pdfurl=X", "", invalidUtf8),
        LinkCase{"ModuleKeptWhenPdfurlFails", "kestrova://print/?moduleaddress=A1&pdfurl=%FF",
                 printLines("moduleaddress=A1&pdfurl=%FF"), "A1", "", notEncoded("pdfurl", invalidUtf8)},
        LinkCase{"ControlCharactersSplitLines", "kestrova://print/?moduleaddress=A\tB\r\nC&pdfurl=X\x01",
                 printLines("moduleaddress=A\tB\r\nC&pdfurl=X\x01"), "A\tB", "X\x01", ""},
        LinkCase{"EncodedNul", "kestrova://print/?moduleaddress=A%00B&pdfurl=X",
                 printLines("moduleaddress=A%00B&pdfurl=X"), QString("A") + QChar(0) + "B", "X", ""}),
    [](const testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

TEST(LinkSize, HundredKilobytesAreReadWhole) {
    const QString value = QString(QStringLiteral("%41b")).repeated(25 * 1024);
    QStringList lines;
    QString moduleAddress, pdfurl;
    ReadInvocationUrl(
        "kestrova://print/?pdfurl=X&moduleaddress=" + value, [&](const QString& line) { lines << line; },
        moduleAddress, pdfurl);
    EXPECT_EQ(lines.size(), 6);
    EXPECT_EQ(moduleAddress, QString(QStringLiteral("Ab")).repeated(25 * 1024));
    EXPECT_EQ(pdfurl, "X");
}

} // namespace
