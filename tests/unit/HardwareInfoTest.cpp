#include "probes/hardware/HardwareInfo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "FakeHardware.h"

namespace {

TEST(HardwareInfoTest, FormatByteSizeScalesAboveOneThousandAndStopsAtTerabytes) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0.00 bytes"}, {999, "999.00 bytes"}, {-5, "-5.00 bytes"},
        {1000, "1000.00 bytes"}, {1001, "0.98 KB"},  // 1000 stays, one more moves on by 1024
        {1023, "1.00 KB"}, {1536, "1.50 KB"}, {1024000, "1000.00 KB"}, {1024001, "0.98 MB"},
        {100000000, "95.37 MB"}, {104857600, "100.00 MB"}, {40007729152, "37.26 GB"},
        {1099511627776000, "1000.00 TB"}, {2199023255552000, "2000.00 TB"},
        {INT64_MAX, "8388608.00 TB"},
    };
    FakeHardware hardware;
    CHardwareInfo info(hardware);
    for (const auto& [bytes, text] : cases) EXPECT_EQ(info.FormatByteSize(bytes), text) << bytes;
}

TEST(HardwareInfoTest, MemoryInWholeMebibytes) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {536870912, "512 MB"}, {536870911, "511 MB"}, {1048575, "0 MB"},
        {0xFFFFFFFFull, "4095 MB"}, {0x100000000ull, "4096 MB"},  // not capped at 4 GB
        {17179869184ull + 1048575, "16384 MB"},
    };
    FakeHardware hardware;
    for (const auto& [bytes, text] : cases) {
        hardware.memoryBytes = bytes;
        EXPECT_EQ(CHardwareInfo(hardware).GetMemoryText(), text) << bytes;
    }
}

TEST(HardwareInfoTest, DiskTextShowsSizeAndWholeVolumeFreeSpaceOrAQuestionMark) {
    FakeHardware hardware;
    CHardwareInfo info(hardware);
    EXPECT_EQ(info.GetDiskText(), "?");
    hardware.driveC = DiskCapacity{40007729152, 12500000000};
    EXPECT_EQ(info.GetDiskText(), "37.26 GB, z toho voľných 11.64 GB");
    EXPECT_EQ(hardware.driveQueries, 2);
}

TEST(HardwareInfoTest, DiskSpaceCheckIncludesTheLimitAndPassesWhenUnknown) {
    const struct {
        std::uint64_t free;
        std::int32_t required;
        bool enough;
    } cases[] = {
        {100000000, 100000000, true}, {99999999, 100000000, false},
        {5000000000, INT32_MAX, true},  // beyond 32 bits
        {0, 0, true}, {0, -1, true}, {0, INT32_MIN, true}, {0, 1, false},
    };
    FakeHardware hardware;
    CHardwareInfo info(hardware);
    EXPECT_TRUE(info.HasEnoughDiskSpace(100000000));
    for (const auto& c : cases) {
        hardware.driveC = DiskCapacity{40007729152, c.free};
        EXPECT_EQ(info.HasEnoughDiskSpace(c.required), c.enough) << c.free << " " << c.required;
    }
    EXPECT_EQ(hardware.driveQueries, 8);  // every check asks the drive afresh
}

}  // namespace
