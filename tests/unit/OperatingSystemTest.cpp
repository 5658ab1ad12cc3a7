#include "probes/software/OperatingSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRegistry.h"

namespace {

using Root = platform::RegistryRoot;

const char kProductOptions[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
const char kQ246009[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";
const std::string kUnreadable =
    " Nie je možné čítať z registrov. Ďalšie údaje nebudú detekované! ";

OsVersionRecord Nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                   const std::string& servicePack, std::uint8_t productType,
                   std::uint16_t suite = 0) {
    OsVersionRecord v;
    v.kind = VersionRecordKind::Extended;
    v.dwPlatformId = kPlatformWin32NT;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    v.dwBuildNumber = build;
    v.szCSDVersion = servicePack;
    v.wProductType = productType;
    v.wSuiteMask = suite;
    return v;
}

OsVersionRecord NtPlain(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                        const std::string& servicePack) {
    OsVersionRecord v = Nt(major, minor, build, servicePack, 0);
    v.kind = VersionRecordKind::Plain;
    return v;
}

OsVersionRecord Win9x(std::uint32_t major, std::uint32_t minor, const std::string& servicePack) {
    OsVersionRecord v;
    v.kind = VersionRecordKind::Extended;
    v.dwPlatformId = kPlatformWin32Windows;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    v.dwBuildNumber = 0x040A08AE;  // 9x packs the version into the high word
    v.szCSDVersion = servicePack;
    return v;
}

struct Case {
    OsVersionRecord version;
    std::string expected;
};

void ExpectAll(const std::vector<Case>& cases, const FakeRegistry& registry) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(DescribeOperatingSystem(c.version, registry), c.expected);
    }
}

TEST(OperatingSystemTest, BothVersionCallsFailing) {
    FakeRegistry registry;
    OsVersionRecord v = Nt(5, 1, 2600, "Service Pack 2", kProductWorkstation);
    v.kind = VersionRecordKind::Unavailable;
    EXPECT_EQ(DescribeOperatingSystem(v, registry),
              "Nebolo možné rozpoznať verziu OS - používate neštandardný alebo zastaralý OS! ");
}

TEST(OperatingSystemTest, PlatformsOtherThanNtAnd9x) {
    FakeRegistry registry;
    OsVersionRecord win32s = Nt(3, 11, 0, "", 0);
    win32s.dwPlatformId = kPlatformWin32s;
    OsVersionRecord unknown = Nt(5, 1, 2600, "Service Pack 2", kProductWorkstation);
    unknown.dwPlatformId = 3;
    ExpectAll({{win32s, "Microsoft Win32s"}, {unknown, ""}}, registry);
}

TEST(OperatingSystemTest, Windows9xFamilyHasNoEditionOrBuild) {
    FakeRegistry registry;
    ExpectAll({{Win9x(4, 0, ""), "Microsoft Windows 95 "},
               {Win9x(4, 0, " A"), "Microsoft Windows 95 "},
               {Win9x(4, 0, " B"), "Microsoft Windows 95 OSR2 "},
               {Win9x(4, 0, " C"), "Microsoft Windows 95 OSR2 "},
               {Win9x(4, 0, "C"), "Microsoft Windows 95 "},  // the mark is the second character
               {Win9x(4, 10, ""), "Microsoft Windows 98 "},
               {Win9x(4, 10, " A "), "Microsoft Windows 98 SE "},
               {Win9x(4, 10, " B"), "Microsoft Windows 98 "},
               {Win9x(4, 90, " "), "Microsoft Windows Millennium Edition"},
               {Win9x(4, 3, ""), ""},
               {Win9x(5, 0, " C"), ""},
               {Win9x(3, 10, " A"), ""}},
              registry);
    EXPECT_TRUE(registry.Log().empty());
}

TEST(OperatingSystemTest, NtProductNamesAndWorkstationEditions) {
    FakeRegistry registry;
    ExpectAll({{Nt(5, 1, 2600, "Service Pack 2", kProductWorkstation),
                "Microsoft Windows XP Professional Service Pack 2 (Build 2600)"},
               {Nt(5, 0, 2195, "Service Pack 4", kProductWorkstation),
                "Microsoft Windows 2000 Professional Service Pack 4 (Build 2195)"},
               {Nt(4, 0, 1381, "Service Pack 6a", kProductWorkstation),
                "Microsoft Windows NT Workstation 4.0 Service Pack 6a (Build 1381)"},
               // Only major version 4 is "Workstation 4.0"; older NT falls to Professional.
               {Nt(3, 51, 1057, "Service Pack 5", kProductWorkstation),
                "Microsoft Windows NT Professional Service Pack 5 (Build 1057)"},
               // Later systems are unknown by name.
               {Nt(5, 3, 1, "", kProductWorkstation), "Professional  (Build 1)"},
               {Nt(6, 1, 7601, "Service Pack 1", kProductWorkstation),
                "Professional Service Pack 1 (Build 7601)"},
               {Nt(10, 0, 19045, "", kProductWorkstation), "Professional  (Build 19045)"}},
              registry);
}

TEST(OperatingSystemTest, ServerEditionsBySuiteAndVersion) {
    FakeRegistry registry;
    const std::uint16_t both = kSuiteDatacenter | kSuiteEnterprise;
    const std::string server2003 = " Microsoft Windows Server 2003 family, ";
    const std::string w2k = "Microsoft Windows 2000 ";
    ExpectAll({{Nt(5, 2, 3790, "", kProductServer, kSuiteEnterprise),
                " Microsoft Windows Server 2003 family, Enterprise Edition  (Build 3790)"},
               {Nt(5, 2, 3790, "", kProductServer, both), server2003 + "Datacenter Edition  (Build 3790)"},
               {Nt(5, 2, 3790, "", kProductServer, kSuiteDatacenter),
                server2003 + "Datacenter Edition  (Build 3790)"},
               {Nt(5, 2, 3790, "", kProductServer, 0x0110), server2003 + "Standard Edition  (Build 3790)"},
               {Nt(5, 0, 2195, "Service Pack 4", kProductServer, kSuiteEnterprise),
                "Microsoft Windows 2000 Advanced Server Service Pack 4 (Build 2195)"},
               {Nt(5, 0, 2195, "", kProductServer, both), w2k + "Datacenter Server  (Build 2195)"},
               {Nt(5, 0, 2195, "", kProductServer, 0), w2k + "Server  (Build 2195)"},
               // Every other version is named as NT 4.0 server; the datacenter bit is ignored.
               {Nt(4, 0, 1381, "Service Pack 5", kProductServer, kSuiteEnterprise),
                "Microsoft Windows NT Server 4.0, Enterprise Edition Service Pack 5 (Build 1381)"},
               {Nt(4, 0, 1381, "Service Pack 5", kProductServer, kSuiteDatacenter),
                "Microsoft Windows NT Server 4.0 Service Pack 5 (Build 1381)"},
               {Nt(5, 1, 2600, "", kProductServer, 0), "Microsoft Windows XP Server 4.0  (Build 2600)"},
               {Nt(6, 0, 6001, "Service Pack 1", kProductServer, 0),
                "Server 4.0 Service Pack 1 (Build 6001)"},
               {Nt(10, 0, 20348, "", kProductServer, both),
                "Server 4.0, Enterprise Edition  (Build 20348)"}},
              registry);
}

TEST(OperatingSystemTest, OtherProductTypesGetNoEdition) {
    FakeRegistry registry;
    ExpectAll({{Nt(5, 0, 2195, "Service Pack 4", 2, kSuiteEnterprise),
                "Microsoft Windows 2000 Service Pack 4 (Build 2195)"},
               {Nt(5, 2, 3790, "", 0), " Microsoft Windows Server 2003 family,  (Build 3790)"},
               {Nt(4, 0, 1381, "", 7), "Microsoft Windows NT  (Build 1381)"}},
              registry);
}

TEST(OperatingSystemTest, BuildNumberIsPrintedSignedAndUnmasked) {
    FakeRegistry registry;
    ExpectAll({{Nt(5, 1, 0xFFFFFFFF, "", 2), "Microsoft Windows XP  (Build -1)"},
               {Nt(5, 1, 0x05010A28, "", 2), "Microsoft Windows XP  (Build 83954216)"}},
              registry);
}

TEST(OperatingSystemTest, ExtendedRecordNeverReadsProductOptions) {
    FakeRegistry registry;
    registry.SetString(Root::LocalMachine, kProductOptions, "ProductType", "LanmanNT");
    EXPECT_EQ(DescribeOperatingSystem(Nt(5, 1, 2600, "", kProductWorkstation), registry),
              "Microsoft Windows XP Professional  (Build 2600)");
    EXPECT_TRUE(registry.Log().empty());
}

TEST(OperatingSystemTest, ServicePack6aIsToldByTheHotfixKey) {
    FakeRegistry without;
    FakeRegistry with;
    with.AddKey(Root::LocalMachine, kQ246009);
    const OsVersionRecord sp6 = Nt(4, 0, 1381, "Service Pack 6", kProductWorkstation);
    EXPECT_EQ(DescribeOperatingSystem(sp6, with),
              "Microsoft Windows NT Workstation 4.0 Service Pack 6a (Build 1381)");
    EXPECT_EQ(DescribeOperatingSystem(sp6, without),
              "Microsoft Windows NT Workstation 4.0 Service Pack 6 (Build 1381)");

    // The service-pack text is compared whole but without regard to case.
    EXPECT_EQ(DescribeOperatingSystem(Nt(4, 0, 1381, "SERVICE pack 6", kProductServer), with),
              "Microsoft Windows NT Server 4.0 Service Pack 6a (Build 1381)");
    EXPECT_EQ(DescribeOperatingSystem(Nt(4, 0, 1381, "Service Pack 6 ", kProductServer), with),
              "Microsoft Windows NT Server 4.0 Service Pack 6  (Build 1381)");
    EXPECT_EQ(DescribeOperatingSystem(Nt(4, 0, 1381, "Service Pack 5", kProductServer), with),
              "Microsoft Windows NT Server 4.0 Service Pack 5 (Build 1381)");
    // Only NT 4.0 knows that hot fix.
    EXPECT_EQ(DescribeOperatingSystem(Nt(5, 0, 2195, "Service Pack 6", kProductWorkstation), with),
              "Microsoft Windows 2000 Professional Service Pack 6 (Build 2195)");
}

TEST(OperatingSystemTest, PlainRecordTakesTheEditionFromProductType) {
    const std::vector<std::pair<std::string, std::string>> productTypes = {
        {"WinNT", "Microsoft Windows NT Workstation  Version 4.0Service Pack 5 (Build 1381)"},
        {"WINNT", "Microsoft Windows NT Workstation  Version 4.0Service Pack 5 (Build 1381)"},
        {"LanmanNT", "Microsoft Windows NT Server  Version 4.0Service Pack 5 (Build 1381)"},
        {"ServerNT", "Microsoft Windows NT Advanced Server  Version 4.0Service Pack 5 (Build 1381)"},
        {"WinNTx", "Microsoft Windows NT  Version 4.0Service Pack 5 (Build 1381)"},
        {"", "Microsoft Windows NT  Version 4.0Service Pack 5 (Build 1381)"}};
    for (const auto& [productType, expected] : productTypes) {
        SCOPED_TRACE(productType);
        FakeRegistry registry;
        registry.SetString(Root::LocalMachine, kProductOptions, "ProductType", productType);
        EXPECT_EQ(DescribeOperatingSystem(NtPlain(4, 0, 1381, "Service Pack 5"), registry), expected);
    }
}

TEST(OperatingSystemTest, PlainRecordIgnoresSuiteAndProductTypeFields) {
    FakeRegistry registry;
    registry.SetString(Root::LocalMachine, kProductOptions, "ProductType", "WinNT");
    registry.AddKey(Root::LocalMachine, kQ246009);
    OsVersionRecord v = NtPlain(4, 0, 1381, "Service Pack 6");
    v.wProductType = kProductServer;
    v.wSuiteMask = kSuiteEnterprise;
    EXPECT_EQ(DescribeOperatingSystem(v, registry),
              "Microsoft Windows NT Workstation  Version 4.0Service Pack 6a (Build 1381)");
}

TEST(OperatingSystemTest, PlainRecordWithUnreadableProductOptions) {
    const OsVersionRecord nt4 = NtPlain(4, 0, 1381, "Service Pack 5");
    const std::string expected = "Microsoft Windows NT " + kUnreadable;

    FakeRegistry noKey;
    EXPECT_EQ(DescribeOperatingSystem(nt4, noKey), expected);

    FakeRegistry noValue;
    noValue.AddKey(Root::LocalMachine, kProductOptions);
    EXPECT_EQ(DescribeOperatingSystem(nt4, noValue), expected);

    // The value is read into 80 bytes: 80 fit, 81 do not.
    FakeRegistry fits;
    fits.SetData(Root::LocalMachine, kProductOptions, "ProductType",
                 "WinNT" + std::string(75, '\0'));
    EXPECT_EQ(DescribeOperatingSystem(nt4, fits),
              "Microsoft Windows NT Workstation  Version 4.0Service Pack 5 (Build 1381)");
    FakeRegistry tooLong;
    tooLong.SetData(Root::LocalMachine, kProductOptions, "ProductType",
                    "WinNT" + std::string(76, '\0'));
    EXPECT_EQ(DescribeOperatingSystem(nt4, tooLong), expected);

    // The partial text is whatever product name came before.
    EXPECT_EQ(DescribeOperatingSystem(NtPlain(5, 0, 2195, ""), noKey),
              "Microsoft Windows 2000 " + kUnreadable);
    EXPECT_EQ(DescribeOperatingSystem(NtPlain(6, 0, 6000, ""), noKey), kUnreadable);
}

}  // namespace
