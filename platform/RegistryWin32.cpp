#include "platform/RegistryWin32.h"

#include <windows.h>

#include <vector>

#include "platform/Win32Handles.h"

namespace platform {
namespace {

HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    }
    return HKEY_LOCAL_MACHINE;
}

UniqueRegKey OpenKey(RegistryRoot root, const std::string& subkey, REGSAM view) {
    UniqueRegKey key;
    if (::RegOpenKeyExA(RootKey(root), subkey.c_str(), 0, KEY_QUERY_VALUE | view, key.Receive()) !=
        ERROR_SUCCESS) {
        key.Reset();
    }
    return key;
}

// Reads raw value data of at most maxBytes and its type; false when the key or value is
// missing or too big.
bool ReadRaw(RegistryRoot root, const std::string& subkey, const std::string& name,
             std::size_t maxBytes, REGSAM view, std::vector<char>& data, DWORD& type) {
    UniqueRegKey key = OpenKey(root, subkey, view);
    if (!key) return false;
    data.assign(maxBytes + 1, '\0');  // one spare zero ends text that was stored without one
    DWORD size = static_cast<DWORD>(maxBytes);
    if (::RegQueryValueExA(key.Get(), name.empty() ? nullptr : name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
        return false;
    }
    data.resize(size);
    return true;
}

// "%ProgramFiles%\..." as the path it stands for; empty when it cannot be expanded.
std::optional<std::string> ExpandEnvironment(const std::string& text) {
    const DWORD size = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::vector<char> expanded(size + 1, '\0');
    const DWORD length = ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size + 1);
    if (length == 0 || length > size + 1) return std::nullopt;
    return std::string(expanded.data());
}

// The view that is not the program's own: 32-bit installers write into the 32-bit view of
// 64-bit Windows, 64-bit ones into the 64-bit view that a 32-bit program does not see.
constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

template <typename Read>
auto InViews(Read read) -> decltype(read(REGSAM{0})) {
    auto result = read(REGSAM{0});
    if (!result) result = read(kOtherView);
    return result;
}

}  // namespace

bool RegistryWin32::KeyExists(RegistryRoot root, const std::string& subkey) const {
    return InViews([&](REGSAM view) { return static_cast<bool>(OpenKey(root, subkey, view)); });
}

std::optional<std::string> RegistryWin32::ReadString(RegistryRoot root, const std::string& subkey,
                                                     const std::string& name,
                                                     std::size_t maxBytes) const {
    return InViews([&](REGSAM view) -> std::optional<std::string> {
        std::vector<char> data;
        DWORD type = REG_NONE;
        if (!ReadRaw(root, subkey, name, maxBytes, view, data, type)) return std::nullopt;
        data.push_back('\0');
        // The size limit holds for what is stored; the expanded path may be longer.
        if (type == REG_EXPAND_SZ) return ExpandEnvironment(data.data());
        return std::string(data.data());
    });
}

std::optional<std::uint32_t> RegistryWin32::ReadDword(RegistryRoot root, const std::string& subkey,
                                                      const std::string& name) const {
    return InViews([&](REGSAM view) -> std::optional<std::uint32_t> {
        UniqueRegKey key = OpenKey(root, subkey, view);
        if (!key) return std::nullopt;
        DWORD value = 0;
        DWORD size = sizeof(value);
        DWORD type = REG_NONE;
        if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof(value)) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(value);
    });
}

}  // namespace platform
