#include <windows.h>

#include <cstring>

#include "probes/PcWin32.h"

static_assert(sizeof(OSVERSIONINFOEXA) == 156 && sizeof(OSVERSIONINFOA) == 148,
              "the plain record is the leading part of the extended one");
static_assert(kPlatformWin32s == VER_PLATFORM_WIN32s &&
              kPlatformWin32Windows == VER_PLATFORM_WIN32_WINDOWS &&
              kPlatformWin32NT == VER_PLATFORM_WIN32_NT);
static_assert(kSuiteEnterprise == VER_SUITE_ENTERPRISE && kSuiteDatacenter == VER_SUITE_DATACENTER);
static_assert(kProductWorkstation == VER_NT_WORKSTATION &&
              kProductDomainController == VER_NT_DOMAIN_CONTROLLER &&
              kProductServer == VER_NT_SERVER);

OsVersionRecord PcWin32::ReadOsVersionRecord() const {
    OsVersionRecord record;
    OSVERSIONINFOEXA info;
    std::memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        record.kind = VersionRecordKind::Extended;
    } else {
        // Systems older than NT 4.0 Service Pack 6 know only the plain record.
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return record;
        record.kind = VersionRecordKind::Plain;
    }
    record.dwMajorVersion = info.dwMajorVersion;
    record.dwMinorVersion = info.dwMinorVersion;
    record.dwBuildNumber = info.dwBuildNumber;
    record.dwPlatformId = info.dwPlatformId;
    record.szCSDVersion.assign(info.szCSDVersion,
                               ::strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
    if (record.kind == VersionRecordKind::Extended) {
        record.wSuiteMask = info.wSuiteMask;
        record.wProductType = info.wProductType;
    }
    return record;
}
