#include "probes/hardware/HardwareInfo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FakeHardware.h"

namespace {

std::string Format(std::int64_t bytes) {
    FakeHardware hardware;
    return CHardwareInfo(hardware).FormatByteSize(bytes);
}

TEST(HardwareInfoTest, FormatByteSizeScalesAboveOneThousand) {
    const std::vector<std::pair<std::int64_t, std::string>> cases = {
        {0, "0.00 bytes"},
        {999, "999.00 bytes"},
        {1000, "1000.00 bytes"},              // exactly 1000 stays in its unit
        {1001, "0.98 KB"},                    // one more moves on by 1024
        {1023, "1.00 KB"},
        {1536, "1.50 KB"},
        {1024000, "1000.00 KB"},
        {1024001, "0.98 MB"},
        {100000000, "95.37 MB"},
        {104857600, "100.00 MB"},
        {40007729152, "37.26 GB"},
        {12500000000, "11.64 GB"},
        {1099511627776000, "1000.00 TB"},
        {-5, "-5.00 bytes"},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(Format(bytes), expected);
    }
}

TEST(HardwareInfoTest, FormatByteSizeStaysInTerabytesBeyondTheTable) {
    EXPECT_EQ(Format(2199023255552000), "2000.00 TB");
    EXPECT_EQ(Format(INT64_MAX), "8388608.00 TB");
}

TEST(HardwareInfoTest, MemoryInWholeMebibytes) {
    const std::vector<std::pair<std::uint64_t, std::string>> cases = {
        {536870912, "512 MB"},
        {536870911, "511 MB"},
        {0xFFFFFFFFull, "4095 MB"},
        {0x100000000ull, "4096 MB"},          // above 4 GB the real amount is shown
        {17179869184ull + 1048575, "16384 MB"},
        {1048575, "0 MB"},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(bytes);
        FakeHardware hardware;
        hardware.memoryBytes = bytes;
        EXPECT_EQ(CHardwareInfo(hardware).GetMemoryText(), expected);
    }
}

TEST(HardwareInfoTest, DiskTextShowsSizeAndWholeVolumeFreeSpace) {
    FakeHardware hardware;
    hardware.driveC = DiskCapacity{40007729152, 12500000000};
    CHardwareInfo info(hardware);
    EXPECT_EQ(info.GetDiskText(), "37.26 GB, z toho voľných 11.64 GB");
    EXPECT_EQ(hardware.driveQueries, 1);
}

TEST(HardwareInfoTest, DiskTextIsQuestionMarkWhenUndetermined) {
    FakeHardware hardware;
    EXPECT_EQ(CHardwareInfo(hardware).GetDiskText(), "?");
}

TEST(HardwareInfoTest, DiskSpaceThresholdIsInclusive) {
    FakeHardware hardware;
    CHardwareInfo info(hardware);
    hardware.driveC = DiskCapacity{40007729152, 100000000};
    EXPECT_TRUE(info.HasEnoughDiskSpace(100000000));
    hardware.driveC->totalFreeBytes = 99999999;
    EXPECT_FALSE(info.HasEnoughDiskSpace(100000000));
    hardware.driveC->totalFreeBytes = 5000000000;  // beyond 32 bits
    EXPECT_TRUE(info.HasEnoughDiskSpace(INT32_MAX));
    EXPECT_EQ(hardware.driveQueries, 3);  // every check asks the drive afresh
}

TEST(HardwareInfoTest, UndeterminedFreeSpacePasses) {
    FakeHardware hardware;
    EXPECT_TRUE(CHardwareInfo(hardware).HasEnoughDiskSpace(100000000));
}

TEST(HardwareInfoTest, RequirementOfNothingAlwaysPasses) {
    FakeHardware hardware;
    hardware.driveC = DiskCapacity{1000, 0};
    CHardwareInfo info(hardware);
    EXPECT_TRUE(info.HasEnoughDiskSpace(0));
    EXPECT_TRUE(info.HasEnoughDiskSpace(-1));
    EXPECT_TRUE(info.HasEnoughDiskSpace(INT32_MIN));
    EXPECT_FALSE(info.HasEnoughDiskSpace(1));
}

}  // namespace
