#include <gtest/gtest.h>

#include "FakePc.h"

TEST(HardwareInfo, OnlyIntelFromFamily5AndAmdFromFamily6AreMeasured) {
    struct Case {
        const char* vendor;  // null: no CPUID instruction
        std::uint32_t family;
        const char* brand;
        const char* text;
    };
    const Case cases[] = {
        {"GenuineIntel", 5, "", "GenuineIntel [2394 MHz]"},
        {"GenuineIntel", 4, "", "GenuineIntel []"},
        {"AuthenticAMD", 6, "  AMD Athlon(tm)", "AMD Athlon(tm) [2394 MHz]"},
        {"AuthenticAMD", 5, "AMD-K6(tm) 3D", "AMD-K6(tm) 3D []"},
        {"CyrixInstead", 6, "", "CyrixInstead []"},
        {nullptr, 6, "", ""},
    };
    for (const Case& c : cases) {
        FakePc pc;
        pc.hasCpuid = c.vendor != nullptr;
        pc.vendor = c.vendor ? c.vendor : "";
        pc.family = c.family;
        pc.brand = c.brand;
        EXPECT_EQ(CHardwareInfo(pc).GetProcessorText(), c.text);
    }
}

TEST(HardwareInfo, TheClockFallsBackFromTheCounterToTheRegistry) {
    constexpr std::uint32_t kNearWrap = 0xFFFFFF00u;
    constexpr std::uint32_t kBelowNormal = 0x4000;
    struct Case {
        std::optional<std::int64_t> counterFrequency;  // empty: no performance counter
        std::optional<std::uint32_t> registryMhz;
        std::uint32_t cyclesBase;
        std::uint32_t cyclesPerMicrosecond;
        const char* clock;
    };
    const Case cases[] = {
        {3579545, 1000, kNearWrap, 2394, "2394 MHz"},
        {std::nullopt, 1000, 0, 2394, "1000 MHz"},
        {std::nullopt, std::nullopt, 0, 0, "Unknown"},
    };
    for (const Case& c : cases) {
        FakePc pc;
        pc.counterFrequency = c.counterFrequency;
        const std::string mhz = "HKLM\\Hardware\\Description\\System\\CentralProcessor\\0|~MHz";
        if (c.registryMhz) pc.registry[mhz] = std::to_string(*c.registryMhz);
        pc.timeStampBase = c.cyclesBase;
        pc.cyclesPerMicrosecond = c.cyclesPerMicrosecond;
        pc.priorityClass = kBelowNormal;
        EXPECT_EQ(CHardwareInfo(pc).GetProcessorText(), pc.brand + " [" + c.clock + "]");
        EXPECT_EQ(pc.priorities, (std::vector<std::uint32_t>{kHighPriorityClass, kBelowNormal}));
    }
}

TEST(HardwareInfo, MemoryInWholeMebibytesAndAnUnknownDriveThatBlocksNothing) {
    FakePc pc;
    pc.memoryBytes = (512ull << 20) - 1;
    pc.driveC.reset();
    CHardwareInfo hardware(pc);
    EXPECT_EQ(hardware.GetMemoryText(), "511 MB");
    EXPECT_EQ(hardware.GetDiskText(), "?");
    EXPECT_TRUE(hardware.HasEnoughDiskSpace(100000000));
}

TEST(HardwareInfo, SizesPastAThousandGoToTheNextUnitUpToTerabytes) {
    struct Case {
        std::int64_t bytes;
        const char* text;
    };
    const Case cases[] = {
        {1000, "1000.00 bytes"},
        {1001, "0.98 KB"},
        {1024000, "1000.00 KB"},
        {1152921504606846976, "1048576.00 TB"},  // past the largest unit the number grows
    };
    for (const Case& c : cases) EXPECT_EQ(CHardwareInfo::FormatByteSize(c.bytes), c.text);
}
