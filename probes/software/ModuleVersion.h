// The version of a library or program file: three numbers and whether any was found.
#pragma once

#include <cstdint>
#include <string>

namespace module_version {
class VersionSource;
}

class ModuleVersion {
public:
    // Runs the whole detection (Windows build only): the library's DllGetVersion export,
    // then the FileVersion text of its version resource. Never fails; see `found`.
    explicit ModuleVersion(const std::string& fileName);
    virtual ~ModuleVersion() = default;

    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t build = 0;
    bool found = false;

protected:
    ModuleVersion() = default;
    // The same detection over any source of version exports and version resources.
    ModuleVersion(const module_version::VersionSource& source, const std::string& fileName);
};
