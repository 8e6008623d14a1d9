// The allowed sources: which addresses lie within a listed origin once case, default ports and
// percent-encoding are normalised, and which list entries are no origin at all.
#include "app/trust/AllowedSources.h"
#include "app/trust/ETrustError.h"

#include <QUrl>
#include <gtest/gtest.h>

namespace {

struct SourceCase {
    const char* Name;
    QStringList Allow;
    QString Address;
    bool Allowed;
};

void PrintTo(const SourceCase& c, std::ostream* os) {
    *os << c.Name;
}

class TrustSources : public testing::TestWithParam<SourceCase> {};

TEST_P(TrustSources, AllowOnlyTheirOrigins) {
    const SourceCase& source = GetParam();
    EXPECT_EQ(TAllowedSources::Parse(source.Allow).Allows(QUrl(source.Address, QUrl::TolerantMode)),
              source.Allowed);
}

const QStringList Erp{"https://erp.example.test", "http://127.0.0.1:8080"};

INSTANTIATE_TEST_SUITE_P(
    Table, TrustSources,
    testing::Values(
        SourceCase{"SameOrigin", Erp, "https://erp.example.test/docs/a.pdf?id=1", true},
        SourceCase{"OtherCase", Erp, "HTTPS://ERP.Example.TEST/a.pdf", true},
        SourceCase{"DefaultPortWritten", Erp, "https://erp.example.test:443/a.pdf", true},
        SourceCase{"PortOnTheList", Erp, "http://127.0.0.1:8080/a.pdf", true},
        SourceCase{"PercentEncodedHost", Erp, "https://erp.%65xample.test/a.pdf", true},
        SourceCase{"ListedWithDefaultPortAndSlash",
                   {"HTTPS://erp.example.test:443/"},
                   "https://erp.example.test/a",
                   true},
        SourceCase{"OtherPort", Erp, "https://erp.example.test:8443/a.pdf", false},
        SourceCase{"HttpWhereHttpsIsListed", Erp, "http://erp.example.test/a.pdf", false},
        SourceCase{"HostWithListedPrefix", Erp, "https://erp.example.test.evil.test/a.pdf", false},
        SourceCase{"ListedHostAsUserName", Erp, "https://erp.example.test@evil.test/a.pdf", false},
        SourceCase{"UserInformationOnAListedHost", Erp, "https://user@erp.example.test/a.pdf", false},
        SourceCase{"OtherScheme", Erp, "ftp://erp.example.test/a.pdf", false},
        SourceCase{"LocalhostForTheListedAddress", Erp, "http://localhost:8080/a.pdf", false},
        SourceCase{"EmptyList", {}, "https://erp.example.test/a.pdf", false},
        SourceCase{"Ipv6", {"http://[::1]:8080"}, "http://[0:0::1]:8080/a.pdf", true}),
    [](const testing::TestParamInfo<SourceCase>& info) { return std::string(info.param.Name); });

TEST(TrustSources, EntriesThatAreNoOriginAreRefusedByName) {
    for (const QString entry :
         {"https://erp.example.test/docs", "https://erp.example.test/?a=1", "erp.example.test",
          "ftp://erp.example.test", "https://user@erp.example.test", "https://"}) {
        try {
            TAllowedSources::Parse({"https://fine.test", entry});
            ADD_FAILURE() << "taken: " << entry.toStdString();
        } catch (const ETrustError& error) {
            EXPECT_EQ(error.Message(),
                      QStringLiteral("\"%1\" is not an origin (scheme://host[:port])").arg(entry));
        }
    }
}

TEST(TrustSources, KeepTheirOriginsInNormalForm) {
    EXPECT_EQ(TAllowedSources::Parse(
                  {" HTTPS://Erp.Example.test ", "http://127.0.0.1:8080/", "https://erp.example.test:443"})
                  .Origins(),
              (QStringList{"https://erp.example.test:443", "http://127.0.0.1:8080"}));
}

} // namespace
