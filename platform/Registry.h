// Read-only registry access as the probes need it: "read this value, at most N bytes".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

enum class RegistryRoot { LocalMachine, ClassesRoot, CurrentUser };

class RegistryReader {
public:
    virtual ~RegistryReader() = default;

    // True when the key opens for querying values.
    virtual bool KeyExists(RegistryRoot root, const std::string& subkey) const = 0;

    // The value's data as text, up to its first zero byte, whatever its registry type; a
    // REG_EXPAND_SZ value with its environment references expanded. Empty optional when the
    // key does not open, the value is missing or its stored data is larger than `maxBytes`.
    // An empty `name` reads the key's default value.
    virtual std::optional<std::string> ReadString(RegistryRoot root, const std::string& subkey,
                                                  const std::string& name,
                                                  std::size_t maxBytes) const = 0;

    // A REG_DWORD value; empty for a value of any other type.
    virtual std::optional<std::uint32_t> ReadDword(RegistryRoot root, const std::string& subkey,
                                                   const std::string& name) const = 0;
};

}  // namespace platform
