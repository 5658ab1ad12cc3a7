#include "probes/software/Accounts.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kMandatory = 0x1;
constexpr std::uint32_t kEnabledByDefault = 0x2;
constexpr std::uint32_t kOwner = 0x8;
constexpr std::uint32_t kUseForDenyOnly = 0x10;

TEST(AccountsAdministratorsVerdict, EmptyTokenIsNotAdministrator) {
    EXPECT_FALSE(HasEnabledAdministratorsGroup({}));
}

TEST(AccountsAdministratorsVerdict, EnabledAdministratorsGroupCounts) {
    EXPECT_TRUE(HasEnabledAdministratorsGroup(
        {{false, kMandatory | kEnabledByDefault | kTokenGroupEnabled},
         {true, kMandatory | kEnabledByDefault | kTokenGroupEnabled | kOwner}}));
    // The enabled bit alone is enough.
    EXPECT_TRUE(HasEnabledAdministratorsGroup({{true, kTokenGroupEnabled}}));
}

TEST(AccountsAdministratorsVerdict, DenyOnlyAdministratorsGroupDoesNotCount) {
    EXPECT_FALSE(HasEnabledAdministratorsGroup(
        {{true, kUseForDenyOnly}, {false, kMandatory | kEnabledByDefault | kTokenGroupEnabled}}));
    // Enabled by default is not the same as enabled now.
    EXPECT_FALSE(HasEnabledAdministratorsGroup({{true, kMandatory | kEnabledByDefault}}));
}

TEST(AccountsAdministratorsVerdict, EnabledGroupsOtherThanAdministratorsDoNotCount) {
    EXPECT_FALSE(HasEnabledAdministratorsGroup({{false, kTokenGroupEnabled},
                                                {false, kMandatory | kTokenGroupEnabled},
                                                {false, 0xFFFFFFFFu}}));
}

TEST(AccountsAdministratorsVerdict, EnabledEntryAfterDenyOnlyEntryIsFound) {
    EXPECT_TRUE(HasEnabledAdministratorsGroup({{true, kUseForDenyOnly},
                                               {false, kTokenGroupEnabled},
                                               {true, kTokenGroupEnabled}}));
}

}  // namespace
