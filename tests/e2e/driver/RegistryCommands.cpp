#include "tests/e2e/driver/RegistryCommands.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "platform/Win32Handles.h"
#include "tests/e2e/driver/Session.h"

namespace uidriver {

namespace {

struct KeyPath {
    HKEY root = nullptr;
    REGSAM view = 0;
    std::wstring subkey;
};

struct RootName {
    const wchar_t* name;
    HKEY root;
};

const RootName kRoots[] = {
    {L"HKLM", HKEY_LOCAL_MACHINE},     {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {L"HKCU", HKEY_CURRENT_USER},      {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKCR", HKEY_CLASSES_ROOT},      {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {L"HKU", HKEY_USERS},              {L"HKEY_USERS", HKEY_USERS},
};

KeyPath ParseKey(const std::wstring& key) {
    const auto slash = key.find(L'\\');
    std::wstring root = key.substr(0, slash);
    KeyPath path;
    if (slash != std::wstring::npos) path.subkey = key.substr(slash + 1);
    if (root.size() > 2 && root.compare(root.size() - 2, 2, L"32") == 0) {
        path.view = KEY_WOW64_32KEY;
        root.resize(root.size() - 2);
    } else if (root.size() > 2 && root.compare(root.size() - 2, 2, L"64") == 0) {
        path.view = KEY_WOW64_64KEY;
        root.resize(root.size() - 2);
    }
    for (const RootName& candidate : kRoots) {
        if (::CompareStringOrdinal(root.c_str(), -1, candidate.name, -1, TRUE) == CSTR_EQUAL)
            path.root = candidate.root;
    }
    if (!path.root || path.subkey.empty())
        throw DriverError(L"registry: not a key path: " + key);
    return path;
}

std::wstring ErrorText(LONG status) {
    return L" (error " + std::to_wstring(status) + L")";
}

std::vector<BYTE> ParseHex(const std::wstring& data) {
    if (data.size() % 2 != 0) throw DriverError(L"registry: odd number of hex digits");
    std::vector<BYTE> bytes;
    for (std::size_t i = 0; i < data.size(); i += 2) {
        const std::wstring pair = data.substr(i, 2);
        wchar_t* end = nullptr;
        const unsigned long value = std::wcstoul(pair.c_str(), &end, 16);
        if (end != pair.c_str() + 2) throw DriverError(L"registry: not hex: " + pair);
        bytes.push_back(static_cast<BYTE>(value));
    }
    return bytes;
}

std::vector<BYTE> AsBytes(const std::wstring& text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t));
}

}  // namespace

void SetRegistryValue(const std::wstring& key, const std::wstring& name, const std::wstring& type,
                      const std::wstring& data) {
    const KeyPath path = ParseKey(key);
    DWORD kind = REG_SZ;
    std::vector<BYTE> bytes;
    if (type == L"sz" || type == L"expand_sz") {
        kind = type == L"sz" ? REG_SZ : REG_EXPAND_SZ;
        bytes = AsBytes(data);
    } else if (type == L"multi_sz") {
        kind = REG_MULTI_SZ;
        std::wstring items = data;
        for (auto& c : items) if (c == L'|') c = L'\0';
        items.push_back(L'\0');
        bytes = AsBytes(items);
    } else if (type == L"dword") {
        kind = REG_DWORD;
        wchar_t* end = nullptr;
        const DWORD value = static_cast<DWORD>(std::wcstoul(data.c_str(), &end, 0));
        if (data.empty() || *end != L'\0') throw DriverError(L"registry: not a number: " + data);
        const auto* first = reinterpret_cast<const BYTE*>(&value);
        bytes.assign(first, first + sizeof value);
    } else if (type == L"binary") {
        kind = REG_BINARY;
        bytes = ParseHex(data);
    } else {
        throw DriverError(L"registry: unknown value type " + type);
    }
    platform::UniqueRegKey handle;
    LONG status = ::RegCreateKeyExW(path.root, path.subkey.c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE | path.view, nullptr, handle.Receive(), nullptr);
    if (status != ERROR_SUCCESS) throw DriverError(L"registry: cannot create " + key + ErrorText(status));
    status = ::RegSetValueExW(handle.Get(), name == L"@" ? nullptr : name.c_str(), 0, kind,
                              bytes.data(), static_cast<DWORD>(bytes.size()));
    if (status != ERROR_SUCCESS) throw DriverError(L"registry: cannot set " + name + ErrorText(status));
}

bool DeleteRegistryKey(const std::wstring& key) {
    const KeyPath path = ParseKey(key);
    const auto slash = path.subkey.rfind(L'\\');
    const std::wstring parentName = slash == std::wstring::npos ? L"" : path.subkey.substr(0, slash);
    const std::wstring leaf = slash == std::wstring::npos ? path.subkey : path.subkey.substr(slash + 1);
    platform::UniqueRegKey parent;
    LONG status = ::RegOpenKeyExW(path.root, parentName.c_str(), 0,
                                  KEY_READ | KEY_WRITE | DELETE | path.view, parent.Receive());
    if (status == ERROR_FILE_NOT_FOUND) return false;
    if (status != ERROR_SUCCESS) throw DriverError(L"registry: cannot open " + key + ErrorText(status));
    status = ::RegDeleteTreeW(parent.Get(), leaf.c_str());
    if (status == ERROR_FILE_NOT_FOUND) return false;
    if (status != ERROR_SUCCESS) throw DriverError(L"registry: cannot delete " + key + ErrorText(status));
    // RegDeleteTree empties the key; the key itself goes with RegDeleteKeyEx in the same view.
    status = ::RegDeleteKeyExW(parent.Get(), leaf.c_str(), path.view, 0);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw DriverError(L"registry: cannot delete " + key + ErrorText(status));
    return true;
}

bool DeleteRegistryValue(const std::wstring& key, const std::wstring& name) {
    const KeyPath path = ParseKey(key);
    platform::UniqueRegKey handle;
    LONG status = ::RegOpenKeyExW(path.root, path.subkey.c_str(), 0, KEY_SET_VALUE | path.view,
                                  handle.Receive());
    if (status == ERROR_FILE_NOT_FOUND) return false;
    if (status != ERROR_SUCCESS) throw DriverError(L"registry: cannot open " + key + ErrorText(status));
    status = ::RegDeleteValueW(handle.Get(), name == L"@" ? nullptr : name.c_str());
    if (status == ERROR_FILE_NOT_FOUND) return false;
    if (status != ERROR_SUCCESS) throw DriverError(L"registry: cannot delete " + name + ErrorText(status));
    return true;
}

}  // namespace uidriver
