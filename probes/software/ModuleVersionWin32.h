// Version exports and version resources as Windows provides them.
#pragma once

#include "probes/software/ModuleVersion.h"

class ModuleVersionSourceWin32 : public virtual ModuleVersionSource {
public:
    // A bare name is loaded from the system directory only; a path is loaded from exactly
    // there, with its own folder first in the search for its dependencies.
    bool QueryDllGetVersion(const std::string& fileName, ModuleVersion& version) const override;
    // Read as data: the file's code never runs. A bare name is found the way the version
    // functions search for it.
    std::optional<std::string> QueryFileVersionString(const std::string& path) const override;
    std::string WindowsDirectory() const override;
    std::string SystemDirectory() const override;
    platform::PathFacts ReadPathFacts(const std::string& path) const override;
};
