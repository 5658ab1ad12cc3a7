// The registry seen through the Win32 API, read-only with KEY_QUERY_VALUE. A key or value
// missing from the program's own view (32-bit or 64-bit) is looked up in the other one.
#pragma once

#include "platform/Registry.h"

namespace platform {

class RegistryWin32 : public virtual RegistryReader {
public:
    bool KeyExists(RegistryRoot root, const std::string& subkey) const override;
    std::optional<std::string> ReadString(RegistryRoot root, const std::string& subkey,
                                          const std::string& name,
                                          std::size_t maxBytes) const override;
    std::optional<std::uint32_t> ReadDword(RegistryRoot root, const std::string& subkey,
                                           const std::string& name) const override;
};

}  // namespace platform
