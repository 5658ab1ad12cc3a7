#include "probes/software/ConflictingServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

const char kProductSpecification[] =
    "MS Exchange:MSExchangeSA,MSExchangeIS,MSExchangeDS,MSExchangeMTA,MSExchangeMSMI,"
    "MSExchangeDX,MSExchangeIMC,MSExchangeFB,MSExchangeES,MSPOP3Connector;ISA Server:w3proxy;"
    "Lotus Domino Server:Lotus Domino Server*";

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Installed services by key name, matched without regard to case as the service manager
// does; every question asked is logged so that tests see which lookups were made.
class FakeServiceCatalog : public ServiceCatalog {
public:
    explicit FakeServiceCatalog(std::vector<std::string> installed = {})
        : m_installed(std::move(installed)) {}

    bool ServiceExists(const std::string& keyName) const override {
        m_calls.push_back("exists " + keyName);
        return std::any_of(m_installed.begin(), m_installed.end(),
                           [&](const std::string& name) { return Lower(name) == Lower(keyName); });
    }
    bool AnyServiceNameStartsWith(const std::string& prefix) const override {
        m_calls.push_back("prefix " + prefix);
        return std::any_of(m_installed.begin(), m_installed.end(), [&](const std::string& name) {
            return Lower(name).compare(0, prefix.size(), Lower(prefix)) == 0;
        });
    }

    const std::vector<std::string>& Calls() const { return m_calls; }

private:
    std::vector<std::string> m_installed;
    mutable std::vector<std::string> m_calls;
};

using Calls = std::vector<std::string>;

TEST(ConflictingServicesProducts, NothingInstalledAsksEveryEntryOnce) {
    FakeServiceCatalog services;
    EXPECT_EQ(FindConflictingServices(kProductSpecification, services), "");
    EXPECT_EQ(services.Calls(),
              (Calls{"exists MSExchangeSA", "exists MSExchangeIS", "exists MSExchangeDS",
                     "exists MSExchangeMTA", "exists MSExchangeMSMI", "exists MSExchangeDX",
                     "exists MSExchangeIMC", "exists MSExchangeFB", "exists MSExchangeES",
                     "exists MSPOP3Connector", "exists w3proxy", "prefix Lotus Domino Server"}));
}

TEST(ConflictingServicesProducts, FirstInstalledEntryEndsTheGroup) {
    FakeServiceCatalog services({"MSExchangeIS", "MSExchangeDS"});
    EXPECT_EQ(FindConflictingServices(kProductSpecification, services), "MS Exchange");
    EXPECT_EQ(services.Calls(), (Calls{"exists MSExchangeSA", "exists MSExchangeIS",
                                       "exists w3proxy", "prefix Lotus Domino Server"}));
}

TEST(ConflictingServicesProducts, ProductsAreJoinedOnceEachInSpecificationOrder) {
    FakeServiceCatalog two({"w3proxy", "MSPOP3Connector", "MSExchangeSA"});
    EXPECT_EQ(FindConflictingServices(kProductSpecification, two), "MS Exchange, ISA Server");

    FakeServiceCatalog three({"Lotus Domino Server (Lotusdominodata)", "w3proxy", "MSExchangeES"});
    EXPECT_EQ(FindConflictingServices(kProductSpecification, three),
              "MS Exchange, ISA Server, Lotus Domino Server");
}

TEST(ConflictingServicesProducts, EntryNamesArePassedUnchanged) {
    // Case and spaces are part of the name; matching them is the catalog's business.
    FakeServiceCatalog services({"MSExchangeIS"});
    EXPECT_EQ(FindConflictingServices("MS Exchange:msexchangeis", services), "MS Exchange");
    EXPECT_EQ(FindConflictingServices("Spaced: MSExchangeIS ", services), "");
    EXPECT_EQ(services.Calls(), (Calls{"exists msexchangeis", "exists  MSExchangeIS "}));
}

TEST(ConflictingServicesEntries, EveryStarIsRemovedWhenTheLastCharacterIsAStar) {
    FakeServiceCatalog services;
    FindConflictingServices("P:Lo*tus**;Q:*;R:*abc;S:a*b", services);
    EXPECT_EQ(services.Calls(),
              (Calls{"prefix Lotus", "prefix ", "exists *abc", "exists a*b"}));
}

TEST(ConflictingServicesEntries, LoneStarMatchesAnyService) {
    FakeServiceCatalog some({"Spooler"});
    EXPECT_EQ(FindConflictingServices("Any:*", some), "Any");
    FakeServiceCatalog none;
    EXPECT_EQ(FindConflictingServices("Any:*", none), "");
}

TEST(ConflictingServicesGrammar, GroupWithoutColonHasNoServices) {
    FakeServiceCatalog services({"ISA Server", "y"});
    EXPECT_EQ(FindConflictingServices("ISA Server;B:y", services), "B");
    EXPECT_EQ(services.Calls(), (Calls{"exists y"}));
}

TEST(ConflictingServicesGrammar, LeadingColonMakesTheListTheProduct) {
    FakeServiceCatalog services({"w3proxy"});
    EXPECT_EQ(FindConflictingServices(":w3proxy", services), "");
    EXPECT_TRUE(services.Calls().empty());
}

TEST(ConflictingServicesGrammar, RunsOfDelimitersCountAsOne) {
    FakeServiceCatalog services({"x", "y", "z"});
    EXPECT_EQ(FindConflictingServices("A:x;;B:y", services), "A, B");
    EXPECT_EQ(FindConflictingServices(";;C::,,q,,z,;", services), "C");
    EXPECT_EQ(services.Calls(), (Calls{"exists x", "exists y", "exists q", "exists z"}));
}

TEST(ConflictingServicesGrammar, PartsAfterTheSecondColonAreIgnored) {
    FakeServiceCatalog services({"y"});
    EXPECT_EQ(FindConflictingServices("A:x:y", services), "");
    EXPECT_EQ(services.Calls(), (Calls{"exists x"}));
}

TEST(ConflictingServicesGrammar, EmptyOrDelimiterOnlySpecificationAsksNothing) {
    FakeServiceCatalog services({"x"});
    EXPECT_EQ(FindConflictingServices("", services), "");
    EXPECT_EQ(FindConflictingServices(";;;", services), "");
    EXPECT_EQ(FindConflictingServices("A:,,;:", services), "");
    EXPECT_TRUE(services.Calls().empty());
}

}  // namespace
