#include "probes/software/ConflictingServices.h"

#include <algorithm>

#include "platform/Text.h"

namespace {

bool IsServiceEntryInstalled(std::string entry, const ServiceCatalog& services) {
    if (entry.back() == '*') {
        entry.erase(std::remove(entry.begin(), entry.end(), '*'), entry.end());
        return services.AnyServiceNameStartsWith(entry);
    }
    return services.ServiceExists(entry);
}

// Stops at the first installed entry: one is enough to name the product.
bool IsAnyServiceInstalled(const std::string& serviceList, const ServiceCatalog& services) {
    std::size_t pos = 0;
    for (std::string entry = platform::Tokenize(serviceList, ",", pos); !entry.empty();
         entry = platform::Tokenize(serviceList, ",", pos)) {
        if (IsServiceEntryInstalled(entry, services)) return true;
    }
    return false;
}

}  // namespace

std::string FindConflictingServices(const std::string& conflictList,
                                    const ServiceCatalog& services) {
    std::string result;
    std::size_t groupPos = 0;
    for (std::string group = platform::Tokenize(conflictList, ";", groupPos); !group.empty();
         group = platform::Tokenize(conflictList, ";", groupPos)) {
        // Only the first two parts count; a group without ':' has no services to look for.
        std::size_t partPos = 0;
        const std::string product = platform::Tokenize(group, ":", partPos);
        const std::string serviceList = platform::Tokenize(group, ":", partPos);
        if (!IsAnyServiceInstalled(serviceList, services)) continue;
        if (!result.empty()) result += ", ";
        result += product;
    }
    return result;
}
