// The version of a library or program file: three numbers and whether any was found.
// Read through the library's own DllGetVersion export, else the FileVersion text of its
// version resource, looked for in the Windows directory, the system directory, as given
// and at the root of the current drive. Asking the export runs the library's code, so only
// the system's own libraries and libraries that only administrators can change are asked;
// any other file is read as data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileTrust.h"
#include "probes/software/Version.h"

class ModuleVersion;

// What the version reading asks of the system.
class ModuleVersionSource {
public:
    virtual ~ModuleVersionSource() = default;

    // Asks the library's DllGetVersion export; sets the numbers of `version` only when it
    // answers. Asked for bare names (the system's libraries) and for files that only
    // administrators can have changed. False when the library does not load, lacks the
    // export or the export fails.
    virtual bool QueryDllGetVersion(const std::string& fileName, ModuleVersion& version) const = 0;
    // The FileVersion text of the file's version resource, already cut to what the parser
    // may see (ClipVersionText). Empty when the file, its resource or the string is missing.
    virtual std::optional<std::string> QueryFileVersionString(const std::string& path) const = 0;
    // Empty when the directory cannot be obtained.
    virtual std::string WindowsDirectory() const = 0;
    virtual std::string SystemDirectory() const = 0;
    // Who owns and who may change each name on the path of a file, for the rule that decides
    // whether it may run (platform::OnlyAdministratorsCanChange).
    virtual platform::PathFacts ReadPathFacts(const std::string& path) const = 0;
};

// Asks ModuleVersion to read a file as data only, as for a program file: it exports no
// DllGetVersion, and loading it would run its code.
struct ReadAsData {};

class ModuleVersion : public Version {
public:
    ModuleVersion() = default;
    // Runs the whole detection; never fails, see `found`. When nothing is found the numbers
    // keep whatever a partial parse left in them.
    ModuleVersion(const ModuleVersionSource& source, const std::string& fileName);
    // The version resource alone.
    ModuleVersion(const ModuleVersionSource& source, const std::string& fileName, ReadAsData);
    virtual ~ModuleVersion() = default;

    bool found = false;
};

// The sub-block that holds the FileVersion string. `translation` is the raw
// "\VarFileInfo\Translation" value (null when the query failed), `byteCount` its length:
// a single language and code-page pair names the block; otherwise the user's default
// language with the Unicode code page is assumed.
std::string FileVersionSubBlock(const unsigned char* translation, std::size_t byteCount,
                                std::uint16_t userDefaultLanguage);

// What the parser sees of a version string: a reported length of 256 or more keeps only
// the first 250 characters.
std::string ClipVersionText(const char* text, std::size_t reportedLength);

// Reads "6.00.2900.2180 (xpsp...)" or "5, 50, 4807, 2300" as three numbers. Each number is
// stored as soon as it is parsed, also when the whole parse fails. True when three
// components were found.
bool ParseVersionTriple(const std::string& text, Version& version);
