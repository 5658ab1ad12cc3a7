// Loading the system's own libraries without ever running a planted copy.
#pragma once

#include <string>

#include "platform/Win32Handles.h"

namespace platform {

// The system directory joined with `fileName` ("C:\Windows\system32\shlwapi.dll").
// Empty when the system directory cannot be obtained.
std::string SystemDirectoryPath(const std::string& fileName);

// Loads `fileName` from the system directory only: never from the program's folder,
// the current directory or PATH.
UniqueLibrary LoadSystemLibrary(const std::string& fileName);

// Maps a library as data (resources only, no code runs). Used for files named by the
// registry or found by search.
UniqueLibrary LoadLibraryAsData(const std::string& path);

}  // namespace platform
