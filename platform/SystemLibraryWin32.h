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

// Loads the library at an absolute path so that its dependencies come from its own folder
// and the system directory only. Null for any other path: it is never loaded as code.
UniqueLibrary LoadLibraryAtAbsolutePath(const std::string& path);

// Maps a library as data (resources only, no code runs). Used for files named by the
// registry or found by search.
UniqueLibrary LoadLibraryAsData(const std::string& path);

// The address of `name` in the system library `fileName`, which is loaded at first use and
// stays loaded for the life of the process. Null when either is missing.
FARPROC FindSystemFunction(const char* fileName, const char* name);

// The same, typed: SystemFunction<decltype(::InternetOpenA)>("wininet.dll", "InternetOpenA").
// Keep the result in a static so that each function is looked up once.
template <typename Function>
Function* SystemFunction(const char* fileName, const char* name) {
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<Function*>(
        reinterpret_cast<void (*)()>(FindSystemFunction(fileName, name)));
}

}  // namespace platform

// SYSTEM_FUNCTION("wininet.dll", InternetOpenA): the typed system function, by its
// declared name.
#define SYSTEM_FUNCTION(library, name) platform::SystemFunction<decltype(::name)>(library, #name)
