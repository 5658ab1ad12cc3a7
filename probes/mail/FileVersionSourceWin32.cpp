#include "probes/mail/FileVersionSourceWin32.h"

#include "probes/software/ModuleVersion.h"

FileVersion ModuleVersionSource::Read(const std::string& fileName) const {
    const ModuleVersion module(fileName);
    FileVersion version;
    version.major = module.major;
    version.minor = module.minor;
    version.build = module.build;
    version.found = module.found;
    return version;
}
