#include "probes/software/OperatingSystem.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Win32TestSupport.h"
#include "platform/EncodingWin32.h"
#include "platform/RegistryWin32.h"
#include "platform/Text.h"

namespace {

OsVersionRecord Nt4(VersionRecordKind kind, const std::string& servicePack) {
    OsVersionRecord v;
    v.kind = kind;
    v.dwPlatformId = kPlatformWin32NT;
    v.dwMajorVersion = 4;
    v.dwBuildNumber = 1381;
    v.szCSDVersion = servicePack;
    v.wProductType = kind == VersionRecordKind::Extended ? kProductWorkstation : 0;
    return v;
}

TEST(OperatingSystemWin32Test, TheExtendedRecordIsReadAndTheDescriptionEndsWithItsBuild) {
    OSVERSIONINFOEXW expected = {};
    expected.dwOSVersionInfoSize = sizeof(expected);
    ASSERT_TRUE(::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&expected)));

    const OsVersionRecord record = ReadOsVersionRecord();
    EXPECT_EQ(record.kind, VersionRecordKind::Extended);
    EXPECT_EQ(record.dwMajorVersion, expected.dwMajorVersion);
    EXPECT_EQ(record.dwMinorVersion, expected.dwMinorVersion);
    EXPECT_EQ(record.dwBuildNumber, expected.dwBuildNumber);
    EXPECT_EQ(record.dwPlatformId, expected.dwPlatformId);
    EXPECT_EQ(record.szCSDVersion, platform::ProgramTextFromWide(expected.szCSDVersion));
    EXPECT_EQ(record.wSuiteMask, expected.wSuiteMask);
    EXPECT_EQ(record.wProductType, expected.wProductType);

    const std::string description = DescribeOperatingSystem();
    const std::string build = text::Format(" (Build %d)", static_cast<int>(expected.dwBuildNumber));
    ASSERT_GE(description.size(), build.size()) << description;
    EXPECT_EQ(description.substr(description.size() - build.size()), build) << description;
}

TEST(OperatingSystemWin32Test, PlainRecordReadsProductOptionsFromTheRegistry) {
    const platform::RegistryWin32 registry(platform::RegistryViews::NativeOnly);
    const std::string description =
        DescribeOperatingSystem(Nt4(VersionRecordKind::Plain, "Service Pack 5"), registry);
    EXPECT_EQ(description.find("Nie je"), std::string::npos) << description;
    EXPECT_NE(description.find(" Version 4.0Service Pack 5 (Build 1381)"), std::string::npos) << description;
}

TEST(OperatingSystemWin32Test, HotfixKeyMarksServicePack6a) {
    const platform::RegistryWin32 registry(platform::RegistryViews::NativeOnly);
    const OsVersionRecord sp6 = Nt4(VersionRecordKind::Extended, "Service Pack 6");
    const char hotfix[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";
    {
        win32test::TestKey absent(HKEY_LOCAL_MACHINE, hotfix);
        absent.Remove();
        EXPECT_EQ(DescribeOperatingSystem(sp6, registry),
                  "Microsoft Windows NT Workstation 4.0 Service Pack 6 (Build 1381)");
    }
    const win32test::TestKey present(HKEY_LOCAL_MACHINE, hotfix);
    EXPECT_EQ(DescribeOperatingSystem(sp6, registry),
              "Microsoft Windows NT Workstation 4.0 Service Pack 6a (Build 1381)");
}

}  // namespace
