#include <windows.h>

#include <algorithm>

#include "platform/Path.h"
#include "platform/SystemLibraryWin32.h"
#include "platform/Text.h"
#include "probes/PcWin32.h"
#include "probes/mail/StringTableBlock.h"

namespace {

// A bare name as the system's search path finds it, PATH included: the library search
// itself looks in the system directory only.
std::string FindOnSearchPath(const std::string& name) {
    if (!platform::IsBareName(name)) return name;
    char path[MAX_PATH] = {};
    const DWORD length = ::SearchPathA(nullptr, name.c_str(), nullptr, MAX_PATH, path, nullptr);
    if (length == 0 || length >= MAX_PATH) return name;
    return std::string(path, length);
}

// The bytes of the resource that are really there: its size comes from the file, the
// mapping ends where the file's image does.
std::size_t MappedSize(const void* block, std::size_t claimed) {
    MEMORY_BASIC_INFORMATION region = {};
    if (::VirtualQuery(block, &region, sizeof(region)) == 0 || region.State != MEM_COMMIT ||
        (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0) {
        return 0;
    }
    const auto* end = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    return std::min<std::size_t>(claimed, end - static_cast<const char*>(block));
}

}  // namespace

std::string PcWin32::ReadLibraryString(const std::string& libraryPath, unsigned id,
                                       std::size_t maxChars) const {
    if (maxChars == 0) return std::string();
    // The library is named by the registry or found by search: it is only mapped for its
    // resources, so none of its code runs, and it is unmapped again on return.
    const platform::UniqueLibrary library =
        platform::LoadLibraryAsData(FindOnSearchPath(libraryPath));
    if (!library) return std::string();
    const HRSRC resource =
        ::FindResourceA(library.Get(), MAKEINTRESOURCEA(id / kStringsPerBlock + 1), RT_STRING);
    const HGLOBAL loaded = resource != nullptr ? ::LoadResource(library.Get(), resource) : nullptr;
    const void* block = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (block == nullptr) return std::string();
    const auto text = StringTableEntry(static_cast<const std::uint8_t*>(block),
                                       MappedSize(block, ::SizeofResource(library.Get(), resource)),
                                       id % kStringsPerBlock);
    if (!text || text->empty()) return std::string();
    // As the system's own string loading does: in the ANSI code page, cut to the buffer.
    const auto* wide = reinterpret_cast<const wchar_t*>(text->data());
    const int units = static_cast<int>(text->size());
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide, units, narrow.data(), bytes, nullptr, nullptr);
    if (narrow.size() > maxChars - 1) narrow.resize(maxChars - 1);
    return narrow;
}
