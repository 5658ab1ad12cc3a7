// Internet Explorer: its version (that of its shell library) and whether the current
// user's zone settings let ActiveX controls run for a given address.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class ModuleVersion;

// The library whose version is taken as the browser's.
inline constexpr char kIeVersionLibrary[] = "shlwapi.dll";

// The ActiveX actions whose policy is checked, in the order they are reported.
inline constexpr std::uint32_t kUrlActionActiveXRun = 0x1200;
inline constexpr std::uint32_t kUrlActionDownloadSignedActiveX = 0x1001;
inline constexpr std::uint32_t kUrlActionScriptSafeActiveX = 0x1405;
inline constexpr std::uint32_t kUrlPolicyDisallow = 3;

// --- Windows entry points (each builds its own ModuleVersion or COM objects) ---

// "Internet Explorer 6.0.2900", or the text saying that none was found.
std::string DescribeIeVersion();
// The browser version is at least the given one; an unreadable version counts as 0.0.0.
bool IsIeVersionAtLeast(std::int32_t major, std::int32_t minor, std::int32_t build);
// Appends the findings ("OK" or the disallowed actions) to `detail`; true when no ActiveX
// action is disallowed for the zone of `url`. False with nothing appended when the
// browser's zone managers cannot be created.
bool CheckActiveXZonePolicy(std::string url, std::string& detail);

// --- The rules, independent of where the numbers and policies come from ---

std::string DescribeIeVersion(const ModuleVersion& version);
// Compares the numbers as they stand, without looking at `found`.
bool IsIeVersionAtLeast(const ModuleVersion& version, std::int32_t major, std::int32_t minor,
                        std::int32_t build);

// The browser's URL zone settings as the ActiveX check needs them.
class ZonePolicySource {
public:
    virtual ~ZonePolicySource() = default;
    // Prepares to answer for the zone of `url`; when the address cannot be mapped, the
    // Internet zone is assumed. False when the zone managers cannot be created.
    virtual bool OpenZoneOf(const std::string& url) = 0;
    // The current user's policy for `action` in that zone; empty when the query fails.
    virtual std::optional<std::uint32_t> ActionPolicy(std::uint32_t action) const = 0;
};

bool CheckActiveXZonePolicy(ZonePolicySource& source, const std::string& url,
                            std::string& detail);
