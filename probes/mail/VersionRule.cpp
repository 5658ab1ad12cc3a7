#include "probes/mail/VersionRule.h"

#include "platform/Text.h"

namespace {

bool ReachesMinimum(std::int32_t major, std::int32_t minor, std::int32_t build,
                    std::int32_t minMajor, std::int32_t minMinor, std::int32_t minBuild) {
    if (major != minMajor) return major > minMajor;
    if (minor != minMinor) return minor > minMinor;
    return build >= minBuild;
}

}  // namespace

bool IsVersionAccepted(std::int32_t major, std::int32_t minor, std::int32_t build,
                       std::int32_t minMajor, std::int32_t minMinor, std::int32_t minBuild,
                       const std::string& blacklist) {
    if (!ReachesMinimum(major, minor, build, minMajor, minMinor, minBuild)) return false;
    // Every entry ends with ';', so 5.0.1 is not taken for 5.0.11. A plain substring search
    // could still match the tail of a longer entry (0.0.2627 inside 10.0.2627), but no
    // version that small reaches the minima in use.
    const std::string key = text::Format("%d.%d.%d;", static_cast<int>(major),
                                         static_cast<int>(minor), static_cast<int>(build));
    return blacklist.find(key) == std::string::npos;
}
