// Version exports and version resources as Windows provides them.
#pragma once

#include "probes/software/ModuleVersionDetection.h"

namespace module_version {

class VersionSourceWin32 final : public VersionSource {
public:
    // A bare name is loaded from the system directory only; a path is loaded from exactly
    // there, with its own folder first in the search for its dependencies.
    std::optional<DllVersion> QueryDllGetVersion(const std::string& fileName) const override;
    // Read as data: the file's code never runs. A bare name is found the way the version
    // functions search for it.
    std::optional<std::string> QueryFileVersionString(const std::string& path) const override;
    std::string WindowsDirectory() const override;
    std::string SystemDirectory() const override;
};

}  // namespace module_version
