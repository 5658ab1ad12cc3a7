// Token groups and the LSA primary domain of the running process and the local machine.
#include <windows.h>
#include <ntsecapi.h>

#include <memory>

#include "platform/EncodingWin32.h"
#include "platform/Win32Handles.h"
#include "probes/PcWin32.h"

static_assert(kTokenGroupEnabled == SE_GROUP_ENABLED);

namespace {

struct SidDeleter {
    void operator()(void* sid) const { ::FreeSid(sid); }
};
using UniqueSid = std::unique_ptr<void, SidDeleter>;

struct LsaMemoryDeleter {
    void operator()(void* memory) const { ::LsaFreeMemory(memory); }
};

struct LsaHandleTraits {
    static LSA_HANDLE Invalid() { return nullptr; }
    static void Close(LSA_HANDLE h) { ::LsaClose(h); }
};
using UniqueLsaHandle = platform::UniqueHandle<LSA_HANDLE, LsaHandleTraits>;

UniqueSid MakeAdministratorsSid() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                    DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &sid)) {
        return UniqueSid();
    }
    return UniqueSid(sid);
}

// The TOKEN_GROUPS record of the current process in storage aligned for it; empty when
// the token cannot be read.
std::vector<std::uint64_t> ReadTokenGroupsRecord() {
    platform::UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return {};
    DWORD size = 0;
    if (::GetTokenInformation(token.Get(), TokenGroups, nullptr, 0, &size) ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) {
        return {};
    }
    std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    if (!::GetTokenInformation(token.Get(), TokenGroups, buffer.data(), size, &size)) return {};
    return buffer;
}

}  // namespace

std::vector<TokenGroup> PcWin32::ReadTokenGroups() {
    const std::vector<std::uint64_t> buffer = ReadTokenGroupsRecord();
    if (buffer.empty()) return {};
    const UniqueSid administrators = MakeAdministratorsSid();
    if (!administrators) return {};

    const auto* list = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    std::vector<TokenGroup> groups;
    groups.reserve(list->GroupCount);
    for (DWORD i = 0; i < list->GroupCount; ++i) {
        const SID_AND_ATTRIBUTES& entry = list->Groups[i];
        groups.push_back({::EqualSid(entry.Sid, administrators.get()) != FALSE,
                          static_cast<std::uint32_t>(entry.Attributes)});
    }
    return groups;
}

std::string PcWin32::GetPrimaryDomainName() {
    // Reading the primary domain needs only the view-local right; anything more (such as
    // the generic read right, which includes private information) is refused to users
    // without administrator rights and would hide the domain from them.
    LSA_OBJECT_ATTRIBUTES attributes = {};
    UniqueLsaHandle policy;
    if (::LsaOpenPolicy(nullptr, &attributes, POLICY_VIEW_LOCAL_INFORMATION, policy.Receive()) !=
        0) {
        return std::string();
    }
    void* record = nullptr;
    if (::LsaQueryInformationPolicy(policy.Get(), PolicyPrimaryDomainInformation, &record) != 0) {
        return std::string();
    }
    const std::unique_ptr<void, LsaMemoryDeleter> owner(record);
    const auto* primary = static_cast<const POLICY_PRIMARY_DOMAIN_INFO*>(record);
    // Without a SID the name is that of a workgroup, which does not count as a domain.
    if (primary == nullptr || primary->Sid == nullptr || primary->Name.Buffer == nullptr) {
        return std::string();
    }
    return platform::ProgramTextFromWide(primary->Name.Buffer,
                                         static_cast<int>(primary->Name.Length / sizeof(WCHAR)));
}
