// How ModuleVersion finds a version: the seam to the system and the rules that do not
// depend on it (where to look, which resource string to read, how to parse it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace module_version {

// The places a version resource is looked for, in the order they are tried.
enum class SearchLocation { WindowsDirectory, SystemDirectory, AsGiven, DriveRoot };

inline constexpr SearchLocation kSearchOrder[] = {
    SearchLocation::WindowsDirectory, SearchLocation::SystemDirectory, SearchLocation::AsGiven,
    SearchLocation::DriveRoot};

struct DllVersion {
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t build = 0;
};

class VersionSource {
public:
    virtual ~VersionSource() = default;

    // What the library's own DllGetVersion export reports. Empty when the library does not
    // load, has no such export or the export fails.
    virtual std::optional<DllVersion> QueryDllGetVersion(const std::string& fileName) const = 0;

    // The FileVersion text of the file's version resource, already cut to what the
    // parser may see (see ClipVersionText). Empty when the file, its version resource or
    // the string is missing.
    virtual std::optional<std::string> QueryFileVersionString(const std::string& path) const = 0;

    // Empty when the directory cannot be obtained.
    virtual std::string WindowsDirectory() const = 0;
    virtual std::string SystemDirectory() const = 0;
};

// True for a name without any directory part ("shlwapi.dll"): such a library is the
// system's own and is loaded from the system directory only.
bool IsBareName(const std::string& fileName);

// The path tried at `location`. A directory that could not be obtained (empty) leaves
// the name unchanged.
std::string BuildSearchPath(const std::string& fileName, SearchLocation location,
                            const std::string& windowsDirectory,
                            const std::string& systemDirectory);

// The sub-block that holds the FileVersion string. `translation` is the raw
// "\VarFileInfo\Translation" value (null when the query failed), `byteCount` its length:
// a single language and code-page pair names the block; otherwise the user's default
// language with the Unicode code page is assumed.
std::string FileVersionSubBlock(const unsigned char* translation, std::size_t byteCount,
                                std::uint16_t userDefaultLanguage);

// The part of a version string the parser sees: a reported length of 256 or more keeps
// only the first 250 characters.
std::string ClipVersionText(const char* text, std::size_t reportedLength);

// Reads "6.00.2900.2180 (xpsp...)" or "5, 50, 4807, 2300" as three numbers. Each number is
// stored as soon as it is parsed, also when the whole parse fails. True when three
// components were found.
bool ParseVersionTriple(const std::string& text, std::int32_t& major, std::int32_t& minor,
                        std::int32_t& build);

// One attempt at one location: true when the file there has a parsable FileVersion.
bool ReadVersionResource(const VersionSource& source, const std::string& fileName,
                         SearchLocation location, std::int32_t& major, std::int32_t& minor,
                         std::int32_t& build);

}  // namespace module_version
