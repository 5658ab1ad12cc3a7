#include "platform/RegistryWin32.h"
#include "probes/software/EarlierInstallation.h"

std::string ReadClientRootPath() {
    const platform::RegistryWin32 registry(platform::RegistryViews::NativeThen32Bit);
    return ReadClientRootPath(registry);
}

bool CheckEarlierInstallation(std::string& text) {
    const platform::RegistryWin32 registry(platform::RegistryViews::NativeThen32Bit);
    return CheckEarlierInstallation(registry, text);
}
