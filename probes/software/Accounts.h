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
inline constexpr std::uint32_t kTokenGroupEnabled = 0x4;

// What the account probes ask of the system.
class AccountsSource {
public:
    virtual ~AccountsSource() = default;
    // The groups of the running process's token; empty when the token cannot be read.
    virtual std::vector<TokenGroup> ReadTokenGroups() = 0;
    // The name of the NT domain the PC is a member of, in the program's text encoding;
    // empty for a workgroup or when the policy cannot be read.
    virtual std::string GetPrimaryDomainName() = 0;
};

// True when a group of the token is the Administrators alias and enabled. A group kept only
// for deny checks (as under User Account Control) has the enabled bit clear.
bool IsUserInAdministrators(AccountsSource& system);
