#include "probes/software/Version.h"

#include "platform/Text.h"

bool Version::IsAtLeast(const Version& minimum) const {
    if (major != minimum.major) return major > minimum.major;
    if (minor != minimum.minor) return minor > minimum.minor;
    return build >= minimum.build;
}

std::string Version::Text() const {
    return platform::Format("%d.%d.%d", static_cast<int>(major), static_cast<int>(minor),
                            static_cast<int>(build));
}
