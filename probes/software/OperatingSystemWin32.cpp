#include <windows.h>

#include <cstring>

#include "platform/RegistryWin32.h"
#include "probes/software/OperatingSystem.h"

static_assert(sizeof(OSVERSIONINFOEXA) == 156 && sizeof(OSVERSIONINFOA) == 148,
              "the plain record is the leading part of the extended one");

OsVersionRecord ReadOsVersionRecord() {
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

std::string DescribeOperatingSystem() {
    const platform::RegistryWin32 registry(platform::RegistryViews::NativeOnly);
    return DescribeOperatingSystem(ReadOsVersionRecord(), registry);
}
