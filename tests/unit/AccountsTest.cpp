#include "probes/software/Accounts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint32_t kMandatory = 0x1;
constexpr std::uint32_t kEnabledByDefault = 0x2;
constexpr std::uint32_t kEnabled = kTokenGroupEnabled;
constexpr std::uint32_t kOwner = 0x8;
constexpr std::uint32_t kUseForDenyOnly = 0x10;

TEST(AccountsAdministratorsVerdict, OnlyAnEnabledAdministratorsGroupCounts) {
    const struct {
        const char* what;
        std::vector<TokenGroup> groups;
        bool expected;
    } cases[] = {
        {"empty token", {}, false},
        {"enabled administrators",
         {{false, kMandatory | kEnabledByDefault | kEnabled},
          {true, kMandatory | kEnabledByDefault | kEnabled | kOwner}},
         true},
        {"the enabled bit alone", {{true, kEnabled}}, true},
        {"deny only", {{true, kUseForDenyOnly}, {false, kMandatory | kEnabledByDefault | kEnabled}},
         false},
        {"enabled by default is not enabled now", {{true, kMandatory | kEnabledByDefault}}, false},
        {"other groups", {{false, kEnabled}, {false, kMandatory | kEnabled}, {false, 0xFFFFFFFFu}},
         false},
        {"enabled entry after a deny-only one",
         {{true, kUseForDenyOnly}, {false, kEnabled}, {true, kEnabled}}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasEnabledAdministratorsGroup(c.groups), c.expected) << c.what;
    }
}

}  // namespace
