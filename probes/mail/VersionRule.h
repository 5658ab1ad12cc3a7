// The rule both mail client probes judge an installed version by: a minimum and a blacklist.
#pragma once

#include <cstdint>
#include <string>

// True when the version reaches the minimum (compared component by component as signed
// numbers) and its key "major.minor.build;" does not occur anywhere in `blacklist`, a text
// of such entries written back to back ("5.0.11;6.0.0;").
bool IsVersionAccepted(std::int32_t major, std::int32_t minor, std::int32_t build,
                       std::int32_t minMajor, std::int32_t minMinor, std::int32_t minBuild,
                       const std::string& blacklist);
