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

    // The value's data as text, up to its first zero byte, whatever its registry type.
    // Empty optional when the key does not open, the value is missing or its data is
    // larger than `maxBytes`. An empty `name` reads the key's default value.
    virtual std::optional<std::string> ReadString(RegistryRoot root, const std::string& subkey,
                                                  const std::string& name,
                                                  std::size_t maxBytes) const = 0;

    // The first four bytes of the value's data, whatever its registry type.
    virtual std::optional<std::uint32_t> ReadDword(RegistryRoot root, const std::string& subkey,
                                                   const std::string& name) const = 0;
};

}  // namespace platform
