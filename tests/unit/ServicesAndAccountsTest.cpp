// Conflicting services by product groups, the Administrators rule, the installation trace.
#include <gtest/gtest.h>

#include "FakePc.h"
#include "probes/software/EarlierInstallation.h"

TEST(ConflictingServices, EachProductWithAnInstalledServiceIsNamedOnceInGroupOrder) {
    // The list shipped against real services: the Windows tier.
    const std::tuple<std::string, std::set<std::string>, const char*> cases[] = {
        {"A:x,z;;B:y", {"x", "y", "z"}, "A, B"},
        // A group without ':' has no services; ":w3proxy" is a product without any either.
        {"ISA Server;:w3proxy", {"w3proxy", "ISA Server"}, ""},
        {"Any:*", {"Spooler"}, "Any"},
    };
    for (const auto& [groups, services, expected] : cases) {
        FakePc pc;
        pc.services = services;
        EXPECT_EQ(FindConflictingServices(groups, pc), expected) << groups;
    }
}

TEST(Accounts, OnlyAnEnabledAdministratorsGroupCounts) {
    FakePc pc;
    pc.tokenGroups = {{true, 0x10}, {false, kTokenGroupEnabled}};  // deny-only Administrators
    EXPECT_FALSE(IsUserInAdministrators(pc));
    pc.tokenGroups.push_back({true, kTokenGroupEnabled});
    EXPECT_TRUE(IsUserInAdministrators(pc));
}

TEST(EarlierInstallation, AnEmptyRootLeavesNoTrace) {
    FakePc pc;
    pc.registry["HKLM\\SOFTWARE\\Devadozededa|Root"] = "";
    std::string text = "stale";
    EXPECT_TRUE(CheckEarlierInstallation(pc, text));
    EXPECT_EQ(text, "Tarnvik nie je nainštalovaný.");
}
