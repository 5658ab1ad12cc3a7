// Internet Explorer: its version (that of its shell library) and whether the current
// user's zone settings let ActiveX controls run for a given address.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "probes/software/ModuleVersion.h"

// The library whose version is taken as the browser's.
inline constexpr char kIeVersionLibrary[] = "shlwapi.dll";

// The ActiveX actions whose policy is checked, in the order they are reported.
inline constexpr std::uint32_t kUrlActionActiveXRun = 0x1200;
inline constexpr std::uint32_t kUrlActionDownloadSignedActiveX = 0x1001;
inline constexpr std::uint32_t kUrlActionScriptSafeActiveX = 0x1405;
inline constexpr std::uint32_t kUrlPolicyDisallow = 3;

// What the browser probe asks of the system: module versions and the zone settings.
class IeSource : public virtual ModuleVersionSource {
public:
    // The current user's policy for each of `actions` in the zone of `url` (the Internet
    // zone when the address cannot be mapped); an entry is empty when its query failed.
    // Empty when the browser's zone managers cannot be created.
    virtual std::optional<std::vector<std::optional<std::uint32_t>>> ReadActionPolicies(
        const std::string& url, const std::vector<std::uint32_t>& actions) = 0;
};

// "Internet Explorer 6.0.2900", or the text saying that none was found.
std::string DescribeIeVersion(const IeSource& system);
// The browser version is at least `minimum`; an unreadable version counts as 0.0.0.
bool IsIeVersionAtLeast(const IeSource& system, const Version& minimum);
// Appends the findings ("OK" or the disallowed actions) to `detail`; true when no ActiveX
// action is disallowed for the zone of `url`. False with nothing appended when the
// browser's zone managers cannot be created.
bool CheckActiveXZonePolicy(IeSource& system, const std::string& url, std::string& detail);
