#include "platform/FileSecurityWin32.h"

#include <windows.h>
#include <aclapi.h>

#include "platform/Win32Handles.h"

namespace platform {
namespace {

// Every right that changes a file or folder, its content, its name or who may do so.
constexpr ACCESS_MASK kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                     FILE_WRITE_ATTRIBUTES | DELETE | FILE_DELETE_CHILD |
                                     WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

bool IsEveryUsersGroup(PSID sid) {
    for (const WELL_KNOWN_SID_TYPE group :
         {WinBuiltinUsersSid, WinAuthenticatedUserSid, WinWorldSid, WinInteractiveSid}) {
        if (::IsWellKnownSid(sid, group)) return true;
    }
    return false;
}

bool GrantsUsersWrite(ACE_HEADER* header) {
    // An inherit-only entry is handed down to what a folder will hold; the folder keeps none
    // of it. Denials only take rights away, and the allowing entries are checked whatever
    // order they stand in.
    if ((header->AceFlags & INHERIT_ONLY_ACE) != 0) return false;
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE &&
        header->AceType != ACCESS_ALLOWED_CALLBACK_ACE_TYPE) {
        return false;
    }
    // A conditional (callback) entry is laid out alike; its condition may hold, so it counts.
    auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
    return (allowed->Mask & kWriteRights) != 0 && IsEveryUsersGroup(&allowed->SidStart);
}

}  // namespace

bool OnlyAdministratorsCanWrite(const std::string& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const UniqueLocalMemory owned(descriptor);
    if (dacl == nullptr) return false;  // no list at all lets everybody do everything
    for (WORD index = 0; index < dacl->AceCount; ++index) {
        void* ace = nullptr;
        if (!::GetAce(dacl, index, &ace) || GrantsUsersWrite(static_cast<ACE_HEADER*>(ace))) {
            return false;
        }
    }
    return true;
}

}  // namespace platform
