#include "probes/software/EarlierInstallation.h"

#include <cstddef>

namespace {

constexpr char kClientKey[] = "SOFTWARE\\Devadozededa";
constexpr char kRootValue[] = "Root";
constexpr std::size_t kRootBytes = 8000;

}  // namespace

bool CheckEarlierInstallation(const platform::RegistryReader& registry, std::string& text) {
    // Any root path counts, whether or not it still exists on disk.
    const auto root = registry.ReadString(platform::RegistryRoot::LocalMachine, kClientKey,
                                          kRootValue, kRootBytes);
    if (!root || root->empty()) {
        text = "Tarnvik nie je nainštalovaný.";
        return true;
    }
    text = "Tarnvik už je alebo bol niekedy nainštalovaný.";
    return false;
}
