#include <windows.h>

#include <vector>

#include "platform/SystemLibraryWin32.h"
#include "probes/PcWin32.h"

std::string PcWin32::ReadLibraryString(const std::string& libraryPath, unsigned id,
                                       std::size_t maxChars) const {
    if (maxChars == 0) return std::string();
    // The library is named by the registry or found by search: it is only mapped for its
    // resources, so none of its code runs, and it is unmapped again on return.
    const platform::UniqueLibrary library = platform::LoadLibraryAsData(libraryPath);
    if (!library) return std::string();
    std::vector<char> buffer(maxChars, '\0');
    const int length =
        ::LoadStringA(library.Get(), id, buffer.data(), static_cast<int>(buffer.size()));
    if (length <= 0) return std::string();
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}
