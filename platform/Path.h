// What a path names, told from its text alone: the program decides by it whether a file may
// be loaded as code.
#pragma once

#include <string>

namespace platform {

// A file name without any directory part ("shlwapi.dll"): the system's own library.
bool IsBareName(const std::string& fileName);
// A full path on a drive of this PC: "C:\..." (not "\\server\...", "\\?\...", "C:x" or "x\y").
bool IsLocalAbsolutePath(const std::string& fileName);
// The folder that holds the file of a local absolute path: "C:\Notes" for "C:\Notes\x.dll",
// "C:\" for "C:\x.dll".
std::string FolderOf(const std::string& localAbsolutePath);

}  // namespace platform
