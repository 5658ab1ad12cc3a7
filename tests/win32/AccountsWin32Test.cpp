#include "probes/software/Accounts.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// The highest of 64 new kernel handles. Handles take the lowest free slots of the table,
// so any handle a call leaves open pushes this value up. (Under Wine the process's handle
// count is not reported.)
std::uintptr_t HighestOfNewHandles() {
    std::vector<HANDLE> events(64);
    for (HANDLE& event : events) EXPECT_NE(event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr);
    std::uintptr_t highest = 0;
    for (HANDLE event : events) {
        highest = std::max(highest, reinterpret_cast<std::uintptr_t>(event));
        ::CloseHandle(event);
    }
    return highest;
}

TEST(AccountsWin32, WineUserIsAnAdministratorInAWorkgroup) {
    // The system's own membership check is the reference.
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof administrators;
    ASSERT_TRUE(::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size));
    BOOL member = FALSE;
    ASSERT_TRUE(::CheckTokenMembership(nullptr, administrators, &member));
    EXPECT_TRUE(member);
    EXPECT_TRUE(IsUserInAdministrators());
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
