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
const std::string kNt = "Microsoft Windows NT ", kXp = "Microsoft Windows XP ",
                  k2000 = "Microsoft Windows 2000 ", k95 = "Microsoft Windows 95 ",
                  k2003 = " Microsoft Windows Server 2003 family, ", k98 = "Microsoft Windows 98 ";
constexpr std::uint8_t kWks = kProductWorkstation, kSrv = kProductServer;
constexpr std::uint16_t kBoth = kSuiteDatacenter | kSuiteEnterprise;

OsVersionRecord Nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                   const std::string& servicePack, std::uint8_t productType,
                   std::uint16_t suite = 0, VersionRecordKind kind = VersionRecordKind::Extended) {
    return {kind, major, minor, build, kPlatformWin32NT, servicePack, suite, productType};
}

OsVersionRecord NtPlain(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                        const std::string& servicePack) {
    return Nt(major, minor, build, servicePack, 0, 0, VersionRecordKind::Plain);
}

// 9x packs the version into the high word of the build number.
OsVersionRecord Win9x(std::uint32_t major, std::uint32_t minor, const std::string& servicePack) {
    return {VersionRecordKind::Extended, major, minor, 0x040A08AE, kPlatformWin32Windows,
            servicePack};
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

TEST(OperatingSystemTest, UnknownRecordsAndPlatformsAndTheWindows9xFamily) {
    FakeRegistry registry;
    OsVersionRecord unavailable = Nt(5, 1, 2600, "Service Pack 2", kWks);
    unavailable.kind = VersionRecordKind::Unavailable;
    OsVersionRecord win32s = Nt(3, 11, 0, "", 0);
    win32s.dwPlatformId = kPlatformWin32s;
    OsVersionRecord unknown = Nt(5, 1, 2600, "Service Pack 2", kWks);
    unknown.dwPlatformId = 3;
    ExpectAll({{unavailable,
                "Nebolo možné rozpoznať verziu OS - používate neštandardný alebo zastaralý OS! "},
               {win32s, "Microsoft Win32s"}, {unknown, ""},
               {Win9x(4, 0, ""), k95}, {Win9x(4, 0, " A"), k95},
               {Win9x(4, 0, " B"), k95 + "OSR2 "}, {Win9x(4, 0, " C"), k95 + "OSR2 "},
               {Win9x(4, 0, "C"), k95},  // the mark is the second character
               {Win9x(4, 10, ""), k98}, {Win9x(4, 10, " A "), k98 + "SE "},
               {Win9x(4, 10, " B"), k98},
               {Win9x(4, 90, " "), "Microsoft Windows Millennium Edition"},
               {Win9x(4, 3, ""), ""}, {Win9x(5, 0, " C"), ""}, {Win9x(3, 10, " A"), ""}},
              registry);
    EXPECT_TRUE(registry.Log().empty());
}

TEST(OperatingSystemTest, ExtendedNtRecordNamesProductAndEditionWithoutTheRegistry) {
    FakeRegistry registry;
    registry.SetString(Root::LocalMachine, kProductOptions, "ProductType", "LanmanNT");
    ExpectAll(
        {{Nt(5, 1, 2600, "SP2", kWks), kXp + "Professional SP2 (Build 2600)"},
         {Nt(5, 0, 2195, "SP4", kWks), k2000 + "Professional SP4 (Build 2195)"},
         {Nt(4, 0, 1381, "SP6a", kWks), kNt + "Workstation 4.0 SP6a (Build 1381)"},
         // Only major version 4 is "Workstation 4.0"; older NT falls to Professional.
         {Nt(3, 51, 1057, "SP5", kWks), kNt + "Professional SP5 (Build 1057)"},
         // Later systems are unknown by name.
         {Nt(5, 3, 1, "", kWks), "Professional  (Build 1)"},
         {Nt(10, 0, 19045, "", kWks), "Professional  (Build 19045)"},
         {Nt(5, 2, 3790, "", kSrv, kSuiteEnterprise), k2003 + "Enterprise Edition  (Build 3790)"},
         {Nt(5, 2, 3790, "", kSrv, kBoth), k2003 + "Datacenter Edition  (Build 3790)"},
         {Nt(5, 2, 3790, "", kSrv, kSuiteDatacenter), k2003 + "Datacenter Edition  (Build 3790)"},
         {Nt(5, 2, 3790, "", kSrv, 0x0110), k2003 + "Standard Edition  (Build 3790)"},
         {Nt(5, 0, 2195, "", kSrv, kSuiteEnterprise), k2000 + "Advanced Server  (Build 2195)"},
         {Nt(5, 0, 2195, "", kSrv, kBoth), k2000 + "Datacenter Server  (Build 2195)"},
         {Nt(5, 0, 2195, "", kSrv, 0), k2000 + "Server  (Build 2195)"},
         // Every other version is named as NT 4.0 server; the datacenter bit is ignored.
         {Nt(4, 0, 1381, "SP5", kSrv, kSuiteEnterprise),
          kNt + "Server 4.0, Enterprise Edition SP5 (Build 1381)"},
         {Nt(4, 0, 1381, "SP5", kSrv, kSuiteDatacenter), kNt + "Server 4.0 SP5 (Build 1381)"},
         {Nt(5, 1, 2600, "", kSrv, 0), kXp + "Server 4.0  (Build 2600)"},
         {Nt(10, 0, 20348, "", kSrv, kBoth), "Server 4.0, Enterprise Edition  (Build 20348)"},
         // Other product types get no edition.
         {Nt(5, 0, 2195, "SP4", 2, kSuiteEnterprise), k2000 + "SP4 (Build 2195)"},
         {Nt(5, 2, 3790, "", 0), k2003 + " (Build 3790)"},
         {Nt(4, 0, 1381, "", 7), kNt + " (Build 1381)"},
         // The build number is printed signed and unmasked.
         {Nt(5, 1, 0xFFFFFFFF, "", 2), kXp + " (Build -1)"},
         {Nt(5, 1, 0x05010A28, "", 2), kXp + " (Build 83954216)"}},
        registry);
    EXPECT_TRUE(registry.Log().empty());
}

TEST(OperatingSystemTest, ServicePack6aIsToldByTheHotfixKeyOnNt4Only) {
    FakeRegistry with;
    with.AddKey(Root::LocalMachine, kQ246009);
    const std::string nt4 = kNt + "Workstation 4.0 ";
    ExpectAll({{Nt(4, 0, 1381, "Service Pack 6", kWks), nt4 + "Service Pack 6a (Build 1381)"},
               // The service-pack text is compared whole but without regard to case.
               {Nt(4, 0, 1381, "SERVICE pack 6", kWks), nt4 + "Service Pack 6a (Build 1381)"},
               {Nt(4, 0, 1381, "Service Pack 6 ", kWks), nt4 + "Service Pack 6  (Build 1381)"},
               {Nt(4, 0, 1381, "Service Pack 5", kWks), nt4 + "Service Pack 5 (Build 1381)"},
               {Nt(5, 0, 2195, "Service Pack 6", kWks),
                k2000 + "Professional Service Pack 6 (Build 2195)"}},
              with);
    ExpectAll({{Nt(4, 0, 1381, "Service Pack 6", kWks), nt4 + "Service Pack 6 (Build 1381)"}},
              FakeRegistry());
}

TEST(OperatingSystemTest, PlainRecordTakesTheEditionFromProductTypeOnly) {
    const std::string version = " Version 4.0Service Pack 5 (Build 1381)";
    const std::vector<std::pair<std::string, std::string>> productTypes = {
        {"WinNT", "Workstation "}, {"WINNT", "Workstation "}, {"LanmanNT", "Server "},
        {"ServerNT", "Advanced Server "}, {"WinNTx", ""}, {"", ""},
        {"WinNT" + std::string(75, '\0'), "Workstation "}};  // the value is read into 80 bytes
    for (const auto& [productType, edition] : productTypes) {
        SCOPED_TRACE(productType);
        FakeRegistry registry;
        registry.SetData(Root::LocalMachine, kProductOptions, "ProductType", productType);
        EXPECT_EQ(DescribeOperatingSystem(NtPlain(4, 0, 1381, "Service Pack 5"), registry),
                  kNt + edition + version);
    }
    // Suite and product type fields of a plain record are not looked at.
    FakeRegistry registry;
    registry.SetString(Root::LocalMachine, kProductOptions, "ProductType", "WinNT");
    registry.AddKey(Root::LocalMachine, kQ246009);
    OsVersionRecord v = NtPlain(4, 0, 1381, "Service Pack 6");
    v.wProductType = kSrv;
    v.wSuiteMask = kSuiteEnterprise;
    EXPECT_EQ(DescribeOperatingSystem(v, registry),
              kNt + "Workstation  Version 4.0Service Pack 6a (Build 1381)");
}

TEST(OperatingSystemTest, PlainRecordWithUnreadableProductOptionsStopsAfterTheName) {
    FakeRegistry noKey, noValue, tooLong;
    noValue.AddKey(Root::LocalMachine, kProductOptions);
    tooLong.SetData(Root::LocalMachine, kProductOptions, "ProductType",
                    "WinNT" + std::string(76, '\0'));
    for (const FakeRegistry* registry : {&noKey, &noValue, &tooLong}) {
        EXPECT_EQ(DescribeOperatingSystem(NtPlain(4, 0, 1381, "Service Pack 5"), *registry),
                  kNt + kUnreadable);
    }
    EXPECT_EQ(DescribeOperatingSystem(NtPlain(5, 0, 2195, ""), noKey), k2000 + kUnreadable);
    EXPECT_EQ(DescribeOperatingSystem(NtPlain(6, 0, 6000, ""), noKey), kUnreadable);
}

}  // namespace
