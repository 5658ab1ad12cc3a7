#include <windows.h>

#include "platform/SystemLibraryWin32.h"
#include "probes/PcWin32.h"
#include "probes/mail/StringTableBlock.h"

std::string PcWin32::ReadLibraryString(const std::string& libraryPath, unsigned id,
                                       std::size_t maxChars) const {
    if (maxChars == 0) return std::string();
    // The library is named by the registry or found by search: it is only mapped for its
    // resources, so none of its code runs, and it is unmapped again on return.
    const platform::UniqueLibrary library = platform::LoadLibraryAsData(libraryPath);
    if (!library) return std::string();
    const HRSRC resource = ::FindResourceA(
        library.Get(), MAKEINTRESOURCEA(id / kStringsPerBlock + 1), RT_STRING);
    const HGLOBAL loaded = resource != nullptr ? ::LoadResource(library.Get(), resource) : nullptr;
    const void* block = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (block == nullptr) return std::string();
    const auto text = StringTableEntry(static_cast<const std::uint8_t*>(block),
                                       ::SizeofResource(library.Get(), resource),
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
