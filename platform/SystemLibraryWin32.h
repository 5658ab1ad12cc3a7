// Loading libraries without ever running a planted copy: the system's own libraries come
// from the system directory only, and a library named by the registry brings its own
// dependencies from its folder and the system directory only.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Win32Handles.h"

namespace platform {

// Makes the system directory the only place the process looks for libraries from now on,
// also for those that system libraries load themselves. The first thing the program does.
void RestrictLibrarySearch();

// Loads `fileName` from the system directory only: never from the program's folder,
// the current directory or PATH.
UniqueLibrary LoadSystemLibrary(const std::string& fileName);

// Loads the library at a local absolute path so that its dependencies come from its own
// folder and the system directory only. Null for any other path: it is never loaded as code.
UniqueLibrary LoadLibraryAtAbsolutePath(const std::string& path);

// Adds a folder to the places libraries are looked for while it lives: the default search
// becomes the system directory and the added folder, then the system directory alone again.
// Where that search cannot be set (Windows XP, Vista and 7 without update KB2533623), the
// folder takes the place of the one that SetDllDirectory names meanwhile.
class LibraryDirectoryScope {
public:
    explicit LibraryDirectoryScope(const std::string& folder);
    LibraryDirectoryScope(const LibraryDirectoryScope&) = delete;
    LibraryDirectoryScope& operator=(const LibraryDirectoryScope&) = delete;
    ~LibraryDirectoryScope();

private:
    void* m_pCookie = nullptr;  // what AddDllDirectory returned
    bool m_bDirectorySet = false;
};

// Maps a library as data (resources only, no code runs). Used for files named by the
// registry or found by search.
UniqueLibrary LoadLibraryAsData(const std::string& path);

// The function `name` of a loaded library, typed as `Function` (a function type, such as
// decltype(::InternetOpenA)); null when the library or the function is missing.
template <typename Function>
Function* LibraryFunction(HMODULE library, const char* name) {
    if (library == nullptr) return nullptr;
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<Function*>(
        reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

// The system library `fileName`, loaded from the system directory at first use and kept for
// the life of the process, since its functions stay in use. Null when it cannot be loaded.
HMODULE KeptSystemLibrary(const char* fileName);

}  // namespace platform

// SYSTEM_FUNCTION("wininet.dll", InternetOpenA): the typed function of a kept system library,
// by its declared name. Keep the result in a static: each function is looked up once.
#define SYSTEM_FUNCTION(library, name) \
    platform::LibraryFunction<decltype(::name)>(platform::KeptSystemLibrary(library), #name)
