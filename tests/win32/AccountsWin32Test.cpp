#include "probes/software/Accounts.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// What the system's own membership check says about the Administrators alias.
bool SystemSaysAdministrator() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                    DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                    &administrators)) {
        ADD_FAILURE() << "AllocateAndInitializeSid failed: " << ::GetLastError();
        return false;
    }
    BOOL member = FALSE;
    const BOOL checked = ::CheckTokenMembership(nullptr, administrators, &member);
    ::FreeSid(administrators);
    EXPECT_TRUE(checked) << "CheckTokenMembership failed: " << ::GetLastError();
    return member != FALSE;
}

// The highest of 64 new kernel handles. Handles take the lowest free slots of the table,
// so any handle a call leaves open pushes this value up. (Under Wine the process's handle
// count is not reported.)
std::uintptr_t HighestOfNewHandles() {
    std::vector<HANDLE> events;
    std::uintptr_t highest = 0;
    for (int i = 0; i < 64; ++i) {
        HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        EXPECT_NE(event, nullptr) << "CreateEventW failed: " << ::GetLastError();
        events.push_back(event);
        highest = std::max(highest, reinterpret_cast<std::uintptr_t>(event));
    }
    for (HANDLE event : events) ::CloseHandle(event);
    return highest;
}

TEST(AccountsWin32, WineUserIsAnAdministrator) {
    EXPECT_TRUE(IsUserInAdministrators());
    EXPECT_EQ(IsUserInAdministrators(), SystemSaysAdministrator());
}

TEST(AccountsWin32, WorkgroupGivesEmptyDomainName) {
    EXPECT_EQ(GetPrimaryDomainName(), "");
}

TEST(AccountsWin32, RepeatedCallsKeepNoHandles) {
    // Warm up whatever the system caches on first use.
    IsUserInAdministrators();
    GetPrimaryDomainName();
    const std::uintptr_t before = HighestOfNewHandles();
    for (int i = 0; i < 200; ++i) {
        EXPECT_TRUE(IsUserInAdministrators());
        EXPECT_EQ(GetPrimaryDomainName(), "");
    }
    EXPECT_EQ(HighestOfNewHandles(), before);
}

}  // namespace
