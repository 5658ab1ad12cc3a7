#include "probes/software/ConflictingServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// Installed services by key name; every question asked is logged so that tests see which
// lookups were made. Matching without regard to case is the service manager's business
// and is left out here.
class FakeServiceCatalog : public ServiceCatalog {
public:
    explicit FakeServiceCatalog(Names installed) : m_installed(std::move(installed)) {}

    bool ServiceExists(const std::string& keyName) const override {
        calls.push_back("exists " + keyName);
        return std::find(m_installed.begin(), m_installed.end(), keyName) != m_installed.end();
    }
    bool AnyServiceNameStartsWith(const std::string& prefix) const override {
        calls.push_back("prefix " + prefix);
        return std::any_of(m_installed.begin(), m_installed.end(),
                           [&](const std::string& name) { return name.rfind(prefix, 0) == 0; });
    }

    mutable Names calls;

private:
    Names m_installed;
};

struct Case {
    const char* conflicts;
    Names installed;
    const char* expected;
    std::optional<Names> calls;  // not checked when empty
};

void Check(const Case& c) {
    SCOPED_TRACE(c.conflicts);
    FakeServiceCatalog services(c.installed);
    EXPECT_EQ(FindConflictingServices(c.conflicts, services), c.expected);
    if (c.calls) {
        EXPECT_EQ(services.calls, *c.calls);
    }
}

TEST(ConflictingServicesProducts, ProductsWithAnInstalledServiceAreJoinedInTheirOrder) {
    const char* const products =
        "MS Exchange:MSExchangeSA,MSExchangeIS,MSExchangeDS,MSExchangeMTA,MSExchangeMSMI,"
        "MSExchangeDX,MSExchangeIMC,MSExchangeFB,MSExchangeES,MSPOP3Connector;ISA Server:w3proxy;"
        "Lotus Domino Server:Lotus Domino Server*";
    const Case cases[] = {
        // Nothing installed: every entry is asked once.
        {products, {}, "",
         Names{"exists MSExchangeSA", "exists MSExchangeIS", "exists MSExchangeDS",
               "exists MSExchangeMTA", "exists MSExchangeMSMI", "exists MSExchangeDX",
               "exists MSExchangeIMC", "exists MSExchangeFB", "exists MSExchangeES",
               "exists MSPOP3Connector", "exists w3proxy", "prefix Lotus Domino Server"}},
        // The first installed entry ends its group.
        {products, {"MSExchangeIS", "MSExchangeDS"}, "MS Exchange",
         Names{"exists MSExchangeSA", "exists MSExchangeIS", "exists w3proxy",
               "prefix Lotus Domino Server"}},
        {products, {"w3proxy", "MSPOP3Connector", "MSExchangeSA"}, "MS Exchange, ISA Server",
         std::nullopt},
        {products, {"Lotus Domino Server (Lotusdominodata)", "w3proxy", "MSExchangeES"},
         "MS Exchange, ISA Server, Lotus Domino Server", std::nullopt},
    };
    for (const Case& c : cases) Check(c);
}

// Groups are "product:service,service,..." separated by ';'. Runs of delimiters count as
// one, a group without ':' has no services and parts after the second ':' are ignored.
TEST(ConflictingServicesGrammar, OnlyProductAndServiceListOfEachGroupCount) {
    const Case cases[] = {
        // Names are passed unchanged, case and spaces included.
        {"MS Exchange:msexchangeis", {"msexchangeis"}, "MS Exchange", Names{"exists msexchangeis"}},
        {"Spaced: MSExchangeIS ", {"MSExchangeIS"}, "", Names{"exists  MSExchangeIS "}},
        // Every star goes when the last character is one; otherwise stars are name characters.
        {"P:Lo*tus**;Q:*;R:*abc;S:a*b", {}, "",
         Names{"prefix Lotus", "prefix ", "exists *abc", "exists a*b"}},
        {"Any:*", {"Spooler"}, "Any", Names{"prefix "}},
        {"ISA Server;B:y", {"ISA Server", "y"}, "B", Names{"exists y"}},
        {":w3proxy", {"w3proxy"}, "", Names{}},  // the leading ':' is skipped: no services
        {"A:x;;B:y", {"x", "y"}, "A, B", Names{"exists x", "exists y"}},
        {";;C::,,q,,z,;", {"z"}, "C", Names{"exists q", "exists z"}},
        {"A:x:y", {"y"}, "", Names{"exists x"}},
        {"", {"x"}, "", Names{}},
        {";;;", {"x"}, "", Names{}},
        {"A:,,;:", {"x"}, "", Names{}},
    };
    for (const Case& c : cases) Check(c);
}

}  // namespace
