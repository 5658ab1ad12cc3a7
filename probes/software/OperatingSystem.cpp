#include "probes/software/OperatingSystem.h"

#include <cstddef>

#include "platform/Text.h"
#include "probes/software/Version.h"

namespace {

using platform::RegistryRoot;

constexpr char kVersionUnknown[] =
    "Nebolo možné rozpoznať verziu OS - používate neštandardný alebo zastaralý OS! ";
constexpr char kRegistryUnreadable[] =
    " Nie je možné čítať z registrov. Ďalšie údaje nebudú detekované! ";

constexpr char kProductOptionsKey[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
constexpr std::size_t kProductTypeBytes = 80;
// Its mere presence tells Service Pack 6a from the withdrawn Service Pack 6.
constexpr char kServicePack6aKey[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

// Windows 95 and 98 mark their second releases in the service-pack text.
char ReleaseMark(const std::string& servicePack) {
    return servicePack.size() > 1 ? servicePack[1] : '\0';
}

std::string DescribeWindows9x(const OsVersionRecord& version) {
    if (version.dwMajorVersion != 4) return std::string();
    const char mark = ReleaseMark(version.szCSDVersion);
    switch (version.dwMinorVersion) {
        case 0:
            return std::string("Microsoft Windows 95 ") +
                   (mark == 'C' || mark == 'B' ? "OSR2 " : "");
        case 10: return std::string("Microsoft Windows 98 ") + (mark == 'A' ? "SE " : "");
        case 90: return "Microsoft Windows Millennium Edition";
        default: return std::string();
    }
}

// Windows from NT 6.0 on, by version and first build. The version record cannot tell Home
// from Professional, so these systems get no edition.
struct NamedRelease {
    Version first;  // its version and first build
    const char* workstation;
    const char* server;  // also for a domain controller
};
constexpr NamedRelease kNamedReleases[] = {
    {{6, 0, 0}, "Vista", "Server 2008"},   {{6, 1, 0}, "7", "Server 2008 R2"},
    {{6, 2, 0}, "8", "Server 2012"},       {{6, 3, 0}, "8.1", "Server 2012 R2"},
    {{10, 0, 0}, "10", "Server 2016"},     {{10, 0, 17763}, "10", "Server 2019"},
    {{10, 0, 20348}, "10", "Server 2022"}, {{10, 0, 22000}, "11", "Server 2022"},
    {{10, 0, 26100}, "11", "Server 2025"},
};

std::string NamedReleaseName(const OsVersionRecord& version) {
    const Version running = {static_cast<std::int32_t>(version.dwMajorVersion),
                             static_cast<std::int32_t>(version.dwMinorVersion),
                             static_cast<std::int32_t>(version.dwBuildNumber)};
    const NamedRelease* found = nullptr;
    for (const NamedRelease& release : kNamedReleases) {
        if (release.first.major == running.major && release.first.minor == running.minor &&
            running.IsAtLeast(release.first)) {
            found = &release;
        }
    }
    if (found == nullptr) {
        return platform::Format("Microsoft Windows %d.%d ",
                                static_cast<int>(version.dwMajorVersion),
                                static_cast<int>(version.dwMinorVersion));
    }
    const bool server =
        version.wProductType == kProductServer || version.wProductType == kProductDomainController;
    return std::string("Microsoft Windows ") + (server ? found->server : found->workstation) + " ";
}

const char* NtProductName(const OsVersionRecord& version) {
    const std::uint32_t major = version.dwMajorVersion;
    const std::uint32_t minor = version.dwMinorVersion;
    if (major == 5 && minor == 2) return " Microsoft Windows Server 2003 family, ";
    if (major == 5 && minor == 1) return "Microsoft Windows XP ";
    if (major == 5 && minor == 0) return "Microsoft Windows 2000 ";
    if (major <= 4) return "Microsoft Windows NT ";
    return "";  // 5.3 to 5.9 were never released
}

const char* NtEditionFromRecord(const OsVersionRecord& version) {
    const bool datacenter = (version.wSuiteMask & kSuiteDatacenter) != 0;
    const bool enterprise = (version.wSuiteMask & kSuiteEnterprise) != 0;
    const std::uint32_t major = version.dwMajorVersion;
    const std::uint32_t minor = version.dwMinorVersion;

    if (version.wProductType == kProductWorkstation) {
        return major == 4 ? "Workstation 4.0 " : "Professional ";
    }
    if (version.wProductType != kProductServer) return "";
    if (major == 5 && minor == 2) {
        if (datacenter) return "Datacenter Edition ";
        return enterprise ? "Enterprise Edition " : "Standard Edition ";
    }
    if (major == 5 && minor == 0) {
        if (datacenter) return "Datacenter Server ";
        return enterprise ? "Advanced Server " : "Server ";
    }
    return enterprise ? "Server 4.0, Enterprise Edition " : "Server 4.0 ";
}

// Early NT systems keep their edition only in the registry. False when it cannot be read.
bool AppendNtEditionFromRegistry(const OsVersionRecord& version,
                                 const platform::RegistryReader& registry, std::string& result) {
    const auto productType = registry.ReadString(RegistryRoot::LocalMachine, kProductOptionsKey,
                                                 "ProductType", kProductTypeBytes);
    if (!productType) return false;
    if (platform::EqualsIgnoringAsciiCase(*productType, "WINNT")) result += "Workstation ";
    if (platform::EqualsIgnoringAsciiCase(*productType, "LANMANNT")) result += "Server ";
    if (platform::EqualsIgnoringAsciiCase(*productType, "SERVERNT")) result += "Advanced Server ";
    result += platform::Format(" Version %d.%d", static_cast<int>(version.dwMajorVersion),
                               static_cast<int>(version.dwMinorVersion));
    return true;
}

std::string ServicePackPiece(const OsVersionRecord& version,
                             const platform::RegistryReader& registry) {
    // The build number is shown as Windows reports it, all 32 bits.
    const int build = static_cast<int>(version.dwBuildNumber);
    if (version.dwMajorVersion == 4 &&
        platform::EqualsIgnoringAsciiCase(version.szCSDVersion, "Service Pack 6") &&
        registry.KeyExists(RegistryRoot::LocalMachine, kServicePack6aKey)) {
        return platform::Format("Service Pack 6a (Build %d)", build);
    }
    return platform::Format("%s (Build %d)", version.szCSDVersion.c_str(), build);
}

std::string DescribeWindowsNt(const OsVersionRecord& version,
                              const platform::RegistryReader& registry) {
    if (version.dwMajorVersion >= 6) {
        return NamedReleaseName(version) + ServicePackPiece(version, registry);
    }
    std::string result = NtProductName(version);
    if (version.kind == VersionRecordKind::Extended) {
        result += NtEditionFromRecord(version);
    } else if (!AppendNtEditionFromRegistry(version, registry, result)) {
        return result + kRegistryUnreadable;
    }
    return result + ServicePackPiece(version, registry);
}

}  // namespace

std::string DescribeOperatingSystem(const OsSource& system) {
    const OsVersionRecord version = system.ReadOsVersionRecord();
    if (version.kind == VersionRecordKind::Unavailable) return kVersionUnknown;
    switch (version.dwPlatformId) {
        case kPlatformWin32s: return "Microsoft Win32s";
        case kPlatformWin32Windows: return DescribeWindows9x(version);
        case kPlatformWin32NT: return DescribeWindowsNt(version, system);
        default: return std::string();
    }
}
