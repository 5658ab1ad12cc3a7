// Service lookups against the local service control manager. Names go through UTF-16 so
// that the program's code page 1250 texts match whatever the PC's ANSI code page is.

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/EncodingWin32.h"
#include "platform/Win32Handles.h"
#include "probes/PcWin32.h"

namespace {

struct ServiceHandleTraits {
    static SC_HANDLE Invalid() { return nullptr; }
    static void Close(SC_HANDLE h) { ::CloseServiceHandle(h); }
};
using UniqueServiceHandle = platform::UniqueHandle<SC_HANDLE, ServiceHandleTraits>;

// Looking up and listing services is all the probe does; asking for more rights would be
// refused to users without administrator rights and hide every installed service from them.
UniqueServiceHandle OpenServiceManager() {
    return UniqueServiceHandle(
        ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE));
}

std::wstring Lowered(std::wstring s) {
    if (!s.empty()) ::CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

bool StartsWith(const std::wstring& s, const std::wstring& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool PcWin32::ServiceExists(const std::string& keyName) const {
    const UniqueServiceHandle manager = OpenServiceManager();
    if (!manager) return false;
    const std::wstring name = platform::WideFromProgramText(keyName);
    // Display names hold at most 256 characters; a buffer that is still too small proves
    // the service exists just as well, since the name is not needed.
    WCHAR displayName[257] = {};
    DWORD size = ARRAYSIZE(displayName);
    return ::GetServiceDisplayNameW(manager.Get(), name.c_str(), displayName, &size) ||
           ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

bool PcWin32::AnyServiceNameStartsWith(const std::string& prefix) const {
    const std::wstring lowered = Lowered(platform::WideFromProgramText(prefix));
    const UniqueServiceHandle manager = OpenServiceManager();
    if (!manager) return false;

    // The manager hands out as many records as fit and reports ERROR_MORE_DATA with the
    // size the rest needs; the resume handle makes the next call go on from there.
    constexpr DWORD kRecordSize = sizeof(ENUM_SERVICE_STATUSW);
    std::vector<ENUM_SERVICE_STATUSW> records(1);
    DWORD resume = 0;
    for (;;) {
        const DWORD offered = static_cast<DWORD>(records.size()) * kRecordSize;
        DWORD needed = 0;
        DWORD returned = 0;
        const bool complete =
            ::EnumServicesStatusW(manager.Get(), SERVICE_WIN32, SERVICE_STATE_ALL, records.data(),
                                  offered, &needed, &returned, &resume) != FALSE;
        if (!complete && ::GetLastError() != ERROR_MORE_DATA) return false;
        for (DWORD i = 0; i < returned; ++i) {
            if (StartsWith(Lowered(records[i].lpServiceName), lowered)) return true;
        }
        if (complete) return false;
        if (returned == 0 && needed <= offered) return false;  // no way forward
        records.resize(
            std::max<std::size_t>(records.size(), (needed + kRecordSize - 1) / kRecordSize));
    }
}
