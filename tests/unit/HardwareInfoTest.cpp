// The processor text over virtual clocks, the memory text and the byte sizes of drive C:.
#include <gtest/gtest.h>

#include "FakePc.h"

TEST(HardwareInfo, OnlyIntelFromFamily5AndAmdFromFamily6AreMeasured) {
    const std::tuple<const char*, std::uint32_t, const char*, const char*> cases[] = {
        {"GenuineIntel", 5, "", "GenuineIntel [2394 MHz]"},
        {"GenuineIntel", 4, "", "GenuineIntel []"},
        {"AuthenticAMD", 6, "  AMD Athlon(tm)", "AMD Athlon(tm) [2394 MHz]"},
        {"AuthenticAMD", 5, "AMD-K6(tm) 3D", "AMD-K6(tm) 3D []"},
        {"CyrixInstead", 6, "", "CyrixInstead []"},
        {nullptr, 6, "", ""},  // no CPUID instruction
    };
    for (const auto& [vendor, family, brand, expected] : cases) {
        FakePc pc;
        std::tie(pc.hasCpuid, pc.vendor, pc.family, pc.brand) =
            std::make_tuple(vendor != nullptr, vendor ? vendor : "", family, brand);
        EXPECT_EQ(CHardwareInfo(pc).GetProcessorText(), expected);
    }
}

TEST(HardwareInfo, TheClockFallsBackFromCounterToRegistryToTicksAcrossClockWraps) {
    constexpr std::uint32_t kNearWrap = 0xFFFFFF00u, kBelowNormal = 0x4000;
    // counter frequency, registry ~MHz, clock bases (cycles, milliseconds), cycles per microsecond
    const std::tuple<std::optional<std::int64_t>, std::optional<std::uint32_t>, std::uint32_t,
                     std::uint32_t, std::uint32_t, const char*> cases[] = {
        {3579545, 1000, kNearWrap, 0, 2394, "2394 MHz"},
        {std::nullopt, 1000, 0, 0, 2394, "1000 MHz"},
        // The tick-count wait runs a little over 500 ms and so reads about 0.2 % high.
        {std::nullopt, 0, kNearWrap, kNearWrap, 2394, "2398 MHz"},
        {std::nullopt, std::nullopt, 0, 0, 0, "Unknown"},
    };
    for (const auto& [frequency, registryMhz, cycleBase, millisecondBase, cycles, clock] : cases) {
        FakePc pc;
        pc.counterFrequency = frequency;
        const std::string mhz = "HKLM\\Hardware\\Description\\System\\CentralProcessor\\0|~MHz";
        if (registryMhz) pc.registry[mhz] = std::to_string(*registryMhz);
        pc.timeStampBase = cycleBase;
        pc.millisecondClockBase = millisecondBase;
        pc.cyclesPerMicrosecond = cycles;
        pc.priorityClass = kBelowNormal;
        EXPECT_EQ(CHardwareInfo(pc).GetProcessorText(),
                  std::string("Intel(R) Pentium(R) M processor 1.60GHz [") + clock + "]");
        // Measured at high priority, then the class is put back.
        EXPECT_EQ(pc.priorities, (std::vector<std::uint32_t>{kHighPriorityClass, kBelowNormal}));
    }
}

TEST(HardwareInfo, ACounterThatMovesForHoursDuringTheWaitGivesWhatTheFallbackGives) {
    FakePc hibernated;
    hibernated.counterFrequency = 2500000000;  // a counter at the processor's clock
    hibernated.oversleepMicroseconds = 2 * 3600 * 1000000ll;
    FakePc withoutCounter;
    withoutCounter.counterFrequency.reset();
    EXPECT_EQ(CHardwareInfo(hibernated).GetProcessorText(),
              CHardwareInfo(withoutCounter).GetProcessorText());
}

TEST(HardwareInfo, MemoryInWholeMebibytesSizesPastAThousandInTheNextUnitAndAnUnknownDrive) {
    FakePc pc;
    pc.memoryBytes = (512ull << 20) - 1;
    pc.driveC.reset();
    CHardwareInfo hardware(pc);
    EXPECT_EQ(hardware.GetMemoryText(), "511 MB");
    EXPECT_EQ(hardware.GetDiskText(), "?");
    EXPECT_TRUE(hardware.HasEnoughDiskSpace(100000000));  // unknown space must not block
    for (const auto& [bytes, text] : {std::pair<std::int64_t, const char*>{0, "0.00 bytes"},
                                      {1000, "1000.00 bytes"}, {1001, "0.98 KB"},
                                      {1024000, "1000.00 KB"}}) {
        EXPECT_EQ(hardware.FormatByteSize(bytes), text);
    }
}
