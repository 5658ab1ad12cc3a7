#include <gtest/gtest.h>

#include "FakePc.h"
#include "probes/software/EarlierInstallation.h"

TEST(ConflictingServices, ProductsWithAnInstalledServiceInOrder) {
    // The list shipped against real services: the Windows tier.
    struct Case {
        const char* conflictList;
        std::set<std::string> installed;
        const char* products;
    };
    const Case cases[] = {
        {"A:x,z;;B:y", {"x", "y", "z"}, "A, B"},
        // A group without ':' has no services; ":w3proxy" is a product without any either.
        {"ISA Server;:w3proxy", {"w3proxy", "ISA Server"}, ""},
        {"Any:*", {"Spooler"}, "Any"},
    };
    for (const Case& c : cases) {
        FakePc pc;
        pc.services = c.installed;
        EXPECT_EQ(FindConflictingServices(c.conflictList, pc), c.products) << c.conflictList;
    }
}

TEST(Accounts, OnlyAnEnabledAdministratorsGroupCounts) {
    constexpr std::uint32_t kDenyOnly = 0x10;
    FakePc pc;
    pc.tokenGroups = {{true, kDenyOnly}, {false, kTokenGroupEnabled}};
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
