#include "platform/FileTrust.h"

#include <algorithm>

namespace platform {
namespace {

// What generic rights stand for on files and folders (FILE_GENERIC_WRITE, FILE_ALL_ACCESS).
constexpr std::uint32_t kFileGenericWrite = 0x120116;
constexpr std::uint32_t kFileAllAccess = 0x1F01FF;

// Rights that let someone change what a name holds, where the name points or who may do so.
constexpr std::uint32_t kReplaceRights = kDelete | kWriteDac | kWriteOwner;
constexpr std::uint32_t kFileRights =
    kReplaceRights | kWriteData | kAppendData | kWriteExtendedAttributes | kWriteAttributes;
// Deleting a child lets a file be deleted and one of the user's own put in its place.
constexpr std::uint32_t kFolderRights = kFileRights | kDeleteChild;
// Higher up only the name matters: a folder renamed away can be replaced by the user's own.
constexpr std::uint32_t kAboveRights = kReplaceRights | kDeleteChild;

const char kSystem[] = "S-1-5-18";
const char kAdministrators[] = "S-1-5-32-544";
const char kTrustedInstaller[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
// Stands for whoever creates a file below; it grants nothing to anyone on the entry's own object.
const char kCreatorOwner[] = "S-1-3-0";

bool IsAdministrative(const std::string& sid) {
    return sid == kSystem || sid == kAdministrators || sid == kTrustedInstaller;
}

std::uint32_t SpecificRights(std::uint32_t mask) {
    if (mask & kGenericWrite) mask |= kFileGenericWrite;
    if (mask & kGenericAll) mask |= kFileAllAccess;
    return mask;
}

// Deny entries never make a name safe: the order of entries and group membership decide
// whether they apply, so only what is allowed is judged.
bool GrantsOthers(const AccessEntry& entry, std::uint32_t rights) {
    return entry.allows && !(entry.flags & kInheritOnly) &&
           (SpecificRights(entry.mask) & rights) != 0 && !IsAdministrative(entry.sid) &&
           entry.sid != kCreatorOwner;
}

bool IsSafe(const PathComponentFacts& component, std::uint32_t rights) {
    if (component.reparsePoint || !component.security) return false;
    const SecurityFacts& security = *component.security;
    if (!IsAdministrative(security.owner) || !security.dacl) return false;
    return std::none_of(security.dacl->begin(), security.dacl->end(),
                        [&](const AccessEntry& entry) { return GrantsOthers(entry, rights); });
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::vector<std::string> TrustChain(const std::string& path) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (path.size() < 4 || !letter(path[0]) || path[1] != ':' || !IsSeparator(path[2]) ||
        path.find(':', 2) != std::string::npos) {
        return {};
    }
    std::vector<std::string> chain = {path.substr(0, 3)};
    std::size_t start = 3;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        const std::string name = path.substr(start, end - start);
        if (name.empty() || name == "." || name == "..") return {};
        chain.insert(chain.begin(), path.substr(0, end));
        start = end + 1;
    }
    return chain;
}

bool OnlyAdministratorsCanChange(const std::string& path, const PathFacts& facts) {
    const std::size_t count = TrustChain(path).size();
    if (!facts.fixedDrive || count == 0 || facts.components.size() != count) return false;
    for (std::size_t level = 0; level < count; ++level) {
        const std::uint32_t rights = level == 0   ? kFileRights
                                     : level == 1 ? kFolderRights
                                                  : kAboveRights;
        if (!IsSafe(facts.components[level], rights)) return false;
    }
    return true;
}

}  // namespace platform
