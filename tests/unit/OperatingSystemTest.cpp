#include <gtest/gtest.h>

#include "FakePc.h"

// Systems older than XP are kept to one row: the program no longer runs there.
TEST(OperatingSystem, DescriptionByPlatformVersionEditionServicePack) {
    constexpr auto Ext = VersionRecordKind::Extended;
    constexpr auto NT = kPlatformWin32NT;
    constexpr auto Win9x = kPlatformWin32Windows;
    struct Case {
        OsVersionRecord record;   // kind, major, minor, build, platform, service pack, suite, type
        const char* productType;  // null: ProductOptions cannot be read
        const char* text;
    };
    const Case cases[] = {
        {{Ext, 5, 2, 3790, NT, "", kSuiteEnterprise, kProductServer},
         nullptr,
         " Microsoft Windows Server 2003 family, Enterprise Edition  (Build 3790)"},
        {{Ext, 5, 2, 3790, NT, "", kSuiteDatacenter, kProductServer},
         nullptr,
         " Microsoft Windows Server 2003 family, Datacenter Edition  (Build 3790)"},
        {{Ext, 6, 0, 6001, NT, "Service Pack 1", kSuiteEnterprise, kProductWorkstation},
         nullptr,
         "Microsoft Windows Vista Service Pack 1 (Build 6001)"},
        {{Ext, 4, 0, 1212, Win9x, " C"}, nullptr, "Microsoft Windows 95 OSR2 "},
        {{VersionRecordKind::Unavailable, 0, 0, 0, 0, ""},
         "WinNT",
         "Nebolo možné rozpoznať verziu OS - používate neštandardný alebo zastaralý OS! "},
    };
    for (const Case& c : cases) {
        FakePc pc;
        pc.os = c.record;
        const std::string options =
            "HKLM\\SYSTEM\\CurrentControlSet\\Control\\ProductOptions|ProductType";
        if (c.productType) pc.registry[options] = c.productType;
        EXPECT_EQ(DescribeOperatingSystem(pc), c.text);
    }
}

TEST(OperatingSystem, NtSixAndLaterByFirstBuildAndProductType) {
    constexpr std::uint8_t W = kProductWorkstation;
    constexpr std::uint8_t S = kProductServer;
    constexpr std::uint8_t DC = kProductDomainController;
    struct Case {
        std::uint32_t major;
        std::uint32_t minor;
        std::uint32_t build;
        std::uint8_t productType;
        const char* name;  // before the build
    };
    const Case cases[] = {
        {6, 1, 7601, DC, "Server 2008 R2"},
        {10, 0, 21999, W, "10"},
        {10, 0, 22000, W, "11"},
        {10, 0, 17762, S, "Server 2016"},
        {10, 0, 17763, S, "Server 2019"},
        {10, 0, 20347, DC, "Server 2019"},
        {10, 0, 20348, S, "Server 2022"},
        {10, 0, 26099, S, "Server 2022"},
        {10, 0, 26100, S, "Server 2025"},
        {6, 4, 9841, W, "6.4"},
    };
    for (const Case& c : cases) {
        FakePc pc;
        pc.os = {VersionRecordKind::Extended,
                 c.major,
                 c.minor,
                 c.build,
                 kPlatformWin32NT,
                 "",
                 0,
                 c.productType};
        EXPECT_EQ(DescribeOperatingSystem(pc), std::string("Microsoft Windows ") + c.name +
                                                   "  (Build " + std::to_string(c.build) + ")");
    }
}
