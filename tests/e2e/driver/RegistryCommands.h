// Changing the PC's registry between two test runs of the same program instance.
#pragma once

#include <string>

namespace uidriver {

// `key` is "<root>\<subkey>", root one of HKLM, HKCU, HKCR, HKU (or the long names); a root
// ending in "32" (HKLM32) means the 32-bit view, in "64" the 64-bit view. `name` "@" is the
// key's default value. `type` is sz, expand_sz, multi_sz (items separated by "|"), dword
// (decimal or 0x hex) or binary (hex digits).
void SetRegistryValue(const std::wstring& key, const std::wstring& name, const std::wstring& type,
                      const std::wstring& data);
// Deletes a key with everything below it; returns false when it did not exist.
bool DeleteRegistryKey(const std::wstring& key);
// Deletes one value; returns false when it did not exist.
bool DeleteRegistryValue(const std::wstring& key, const std::wstring& name);

}  // namespace uidriver
