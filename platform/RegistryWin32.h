// The registry seen through the Win32 API, read-only with KEY_QUERY_VALUE.
#pragma once

#include "platform/Registry.h"

namespace platform {

enum class RegistryViews {
    NativeOnly,
    // 32-bit programs write HKLM\SOFTWARE and HKCR into their own view on 64-bit
    // Windows: a key or value missing from the native view is looked up there too.
    NativeThen32Bit,
};

class RegistryWin32 final : public RegistryReader {
public:
    explicit RegistryWin32(RegistryViews views) : m_views(views) {}

    bool KeyExists(RegistryRoot root, const std::string& subkey) const override;
    std::optional<std::string> ReadString(RegistryRoot root, const std::string& subkey,
                                          const std::string& name,
                                          std::size_t maxBytes) const override;
    std::optional<std::uint32_t> ReadDword(RegistryRoot root, const std::string& subkey,
                                           const std::string& name) const override;

private:
    RegistryViews m_views;
};

}  // namespace platform
