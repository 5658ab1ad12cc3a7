// Whether a file named by the registry or the environment may run as code in this process: only
// when nobody but the system and its administrators can have put it there, changed it, or can
// swap it or a folder on its path for their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Access rights and entry flags with the values Windows gives them.
inline constexpr std::uint32_t kWriteData = 0x2;   // on a folder: add a file
inline constexpr std::uint32_t kAppendData = 0x4;  // on a folder: add a folder
inline constexpr std::uint32_t kWriteExtendedAttributes = 0x10;
inline constexpr std::uint32_t kDeleteChild = 0x40;
inline constexpr std::uint32_t kWriteAttributes = 0x100;
inline constexpr std::uint32_t kDelete = 0x10000;
inline constexpr std::uint32_t kWriteDac = 0x40000;
inline constexpr std::uint32_t kWriteOwner = 0x80000;
inline constexpr std::uint32_t kGenericAll = 0x10000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint8_t kInheritOnly = 0x08;

// One entry of a discretionary access list. An entry of a kind the reader cannot take apart
// counts as granting `mask` to somebody unknown (an empty SID).
struct AccessEntry {
    bool allows = true;  // false: denies
    std::uint8_t flags = 0;
    std::uint32_t mask = 0;
    std::string sid;  // "S-1-5-18"
};

// A file's or folder's security descriptor, read once.
struct SecurityFacts {
    std::string owner;                             // SID text
    std::optional<std::vector<AccessEntry>> dacl;  // none: a NULL list, which grants everything
};

// One name on the path: the file, its folder, each folder above it, the root.
struct PathComponentFacts {
    std::optional<SecurityFacts> security;  // none when it cannot be read
    bool reparsePoint = false;              // a junction, a symbolic link or another link
};

struct PathFacts {
    bool fixedDrive = false;                     // the drive is a local fixed disk
    std::vector<PathComponentFacts> components;  // in TrustChain's order
};

// The names the rule reads, file first, root last: "C:\Office\x.dll" gives "C:\Office\x.dll",
// "C:\Office" and "C:\". Empty unless the path is a plain local absolute one: a drive letter,
// no empty, "." or ".." names, no stream.
std::vector<std::string> TrustChain(const std::string& path);

// True when `facts`, read for `path`, let nobody but SYSTEM, Administrators and TrustedInstaller
// change the file, add files beside it, or rename, replace or re-permit a folder on its path.
bool OnlyAdministratorsCanChange(const std::string& path, const PathFacts& facts);

}  // namespace platform
