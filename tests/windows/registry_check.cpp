// Registry reads where the exe cannot show them: a REG_EXPAND_SZ path is expanded, its size
// limit holds for what is stored; only a REG_DWORD value gives a DWORD. Prints error=<what>.
#include <windows.h>

#include <cstdio>

#include "platform/RegistryWin32.h"

int main() {
    const char key[] = "Software\\Tarnvik Registry Check";
    const char path[] = "%ProgramFiles%\\x.dll";  // expands to more than it stores
    const DWORD seven = 7;
    HKEY values = nullptr;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &values,
                      nullptr);
    ::RegSetValueExA(values, "path", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path),
                     sizeof(path));
    ::RegSetValueExA(values, "dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), 4);
    ::RegSetValueExA(values, "binary", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&seven), 4);
    ::RegCloseKey(values);

    const platform::RegistryWin32 registry;
    const auto user = platform::RegistryRoot::CurrentUser;
    char expanded[MAX_PATH] = {};
    ::ExpandEnvironmentStringsA(path, expanded, MAX_PATH);
    const struct {
        bool holds;
        const char* error;
    } checks[] = {
        {expanded[0] != '%' && registry.ReadString(user, key, "path", sizeof(path)) == expanded,
         "REG_EXPAND_SZ read unexpanded"},
        {!registry.ReadString(user, key, "path", sizeof(path) - 1), "stored size not limited"},
        {registry.ReadDword(user, key, "dword") == 7u, "REG_DWORD not read"},
        {!registry.ReadDword(user, key, "binary"), "REG_BINARY read as a DWORD"},
    };
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key);
    int failures = 0;
    for (const auto& check : checks) {
        if (check.holds) continue;
        std::printf("error=%s\n", check.error);
        ++failures;
    }
    return failures;
}
