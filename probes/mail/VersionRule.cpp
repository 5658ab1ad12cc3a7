#include "probes/mail/VersionRule.h"

bool IsVersionAccepted(const Version& version, const Version& minimum,
                       const std::string& blacklist) {
    // Every entry ends with ';', so 5.0.1 is not taken for 5.0.11. A plain substring search
    // could still match the tail of a longer entry (0.0.2627 inside 10.0.2627), but no
    // version that small reaches the minima in use.
    return version.IsAtLeast(minimum) && blacklist.find(version.Text() + ";") == std::string::npos;
}
