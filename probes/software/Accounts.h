// Whether the logged-on user acts as a local administrator, and the NT domain of the PC.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One group of the process's access token, reduced to what the verdict needs.
struct TokenGroup {
    bool isAdministrators = false;  // the SID is the built-in Administrators alias
    std::uint32_t attributes = 0;   // the group's SE_GROUP_* bits
};

// The group is in force for access checks (SE_GROUP_ENABLED).
constexpr std::uint32_t kTokenGroupEnabled = 0x4;

// True when any group of the token is the Administrators alias and enabled. A group kept
// only for deny checks (as under User Account Control) has the enabled bit clear.
bool HasEnabledAdministratorsGroup(const std::vector<TokenGroup>& groups);

// Windows build only. False on any failure of the token functions.
bool IsUserInAdministrators();

// Windows build only. The name of the NT domain the PC is a member of, in the program's
// text encoding; empty for a workgroup or when the policy cannot be read.
std::string GetPrimaryDomainName();
