// A conflict list against services that exist when their name's length is odd.
#include <cstdint>
#include <string>

#include "probes/software/ConflictingServices.h"

namespace {

class OddServices final : public ServiceCatalog {
public:
    bool ServiceExists(const std::string& keyName) const override { return keyName.size() % 2; }
    bool AnyServiceNameStartsWith(const std::string& prefix) const override {
        return prefix.empty() || prefix[0] % 2;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FindConflictingServices(std::string(reinterpret_cast<const char*>(data), size), OddServices());
    return 0;
}
