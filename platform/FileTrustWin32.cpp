#include "platform/FileTrustWin32.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "platform/Win32Handles.h"

namespace platform {
namespace {

std::string SidText(PSID sid) {
    char* text = nullptr;
    if (sid == nullptr || !::ConvertSidToStringSidA(sid, &text)) return std::string();
    const UniqueLocalMemory owned(text);
    return text;
}

// An entry of a kind not taken apart here grants all to somebody unknown, so that it fails
// the rule wherever it could matter.
AccessEntry EntryOf(const ACE_HEADER* header) {
    AccessEntry entry;
    entry.flags = header->AceFlags;
    switch (header->AceType) {
        case ACCESS_DENIED_ACE_TYPE:
        case ACCESS_DENIED_OBJECT_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE: entry.allows = false; break;
        case ACCESS_ALLOWED_ACE_TYPE:
        case ACCESS_ALLOWED_CALLBACK_ACE_TYPE: {
            // A conditional (callback) entry is laid out alike; its condition may hold.
            const auto* allowed = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
            entry.mask = allowed->Mask;
            entry.sid = SidText(const_cast<DWORD*>(&allowed->SidStart));
            break;
        }
        default: entry.mask = ~0u;
    }
    return entry;
}

std::optional<SecurityFacts> ReadSecurity(const std::string& name) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoA(name.c_str(), SE_FILE_OBJECT,
                                OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                                nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueLocalMemory owned(descriptor);
    SecurityFacts facts;
    facts.owner = SidText(owner);
    if (dacl == nullptr) return facts;
    facts.dacl.emplace();
    for (WORD index = 0; index < dacl->AceCount; ++index) {
        void* ace = nullptr;
        if (!::GetAce(dacl, index, &ace)) return std::nullopt;
        facts.dacl->push_back(EntryOf(static_cast<const ACE_HEADER*>(ace)));
    }
    return facts;
}

}  // namespace

PathFacts ReadPathFacts(const std::string& path) {
    PathFacts facts;
    const std::vector<std::string> chain = TrustChain(path);
    if (chain.empty()) return facts;
    facts.fixedDrive = ::GetDriveTypeA(chain.back().c_str()) == DRIVE_FIXED;
    for (const std::string& name : chain) {
        const DWORD attributes = ::GetFileAttributesA(name.c_str());
        facts.components.push_back(
            {ReadSecurity(name), attributes == INVALID_FILE_ATTRIBUTES ||
                                     (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    }
    return facts;
}

}  // namespace platform
