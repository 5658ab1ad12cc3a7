// Helpers for the program's 8-bit texts (Windows code page 1250, held in std::string).
#pragma once

#include <cstddef>
#include <string>

namespace text {

// printf-style formatting into a new string.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// White space as the C locale classifies it: space, \t, \n, \v, \f, \r.
bool IsSpace(char c);
std::string TrimRight(std::string s);
std::string TrimLeft(std::string s);
// Right end first, then left end.
std::string Trim(std::string s);

// The string class's tokenizer: skips delimiters at `pos`, returns the following run of
// non-delimiters and moves `pos` past it and one delimiter. Returns an empty token (and
// leaves `pos` at the end) when only delimiters or nothing remain, which ends a split.
std::string Tokenize(const std::string& s, const std::string& delimiters, std::size_t& pos);

// Replaces every occurrence of `from` (non-empty) by `to`, left to right, without overlap.
std::string ReplaceAll(std::string s, const std::string& from, const std::string& to);

// A file name without any directory part ("shlwapi.dll"): the system's own library.
bool IsBareName(const std::string& fileName);
// A full path on a drive of this PC: "C:\..." (not "\\server\...", "\\?\...", "C:x" or "x\y").
bool IsLocalAbsolutePath(const std::string& fileName);
// The folder that holds the file of a local absolute path: "C:\Notes" for "C:\Notes\x.dll",
// "C:\" for "C:\x.dll".
std::string FolderOf(const std::string& localAbsolutePath);

}  // namespace text
