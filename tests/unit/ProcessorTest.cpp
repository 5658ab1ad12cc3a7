#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "FakeHardware.h"
#include "probes/hardware/HardwareInfo.h"

namespace {

const std::string kBrand = "Intel(R) Pentium(R) 4 CPU 2.40GHz";

// A processor with a performance counter, at `mhz`; a Pentium 4 unless told otherwise.
FakeHardware Processor(std::uint32_t mhz = 2394, const std::string& brand = kBrand,
                       const std::string& vendor = "GenuineIntel", std::uint32_t family = 15) {
    FakeHardware hardware;
    hardware.SetVendor(vendor);
    hardware.SetFamily(family);
    if (!brand.empty()) hardware.SetBrand(brand);
    hardware.mhz = mhz;
    return hardware;
}

std::string ProcessorText(FakeHardware& hardware) {
    return CHardwareInfo(hardware).GetProcessorText();
}

TEST(ProcessorTest, NoCpuidGivesAnEmptyTextAndAsksNothing) {
    FakeHardware hardware = Processor();
    hardware.hasCpuid = false;
    EXPECT_EQ(ProcessorText(hardware), "");
    EXPECT_TRUE(hardware.leavesAsked.empty());
    EXPECT_TRUE(hardware.prioritySets.empty());
}

TEST(ProcessorTest, BrandStringNeedsExtendedLeaf80000004AndIsTrimmed) {
    // A processor without extended leaves may echo a basic leaf there; compared unsigned.
    for (const std::uint32_t highest : {0x80000003u, 0x80000004u, 0x80000008u, 0x0000000Du}) {
        FakeHardware hardware = Processor();
        hardware.SetBrand(kBrand, highest);
        EXPECT_EQ(ProcessorText(hardware),
                  (highest >= 0x80000004u ? kBrand : "GenuineIntel") + " [2394 MHz]")
            << highest;
    }
    FakeHardware padded = Processor(1000, "          \t Intel(R) Xeon(TM) CPU 3.06GHz \r\n");
    EXPECT_EQ(ProcessorText(padded), "Intel(R) Xeon(TM) CPU 3.06GHz [1000 MHz]");
    const std::string full = "AMD Athlon(tm) 64 X2 Dual Core Processor 4800+ab";  // 48 bytes
    FakeHardware fullBrand = Processor(2500, full, "AuthenticAMD");
    EXPECT_EQ(ProcessorText(fullBrand), full + " [2500 MHz]");
}

TEST(ProcessorTest, HighestBasicLeafZeroLeavesVendorEmptyAndUnmeasured) {
    FakeHardware hardware = Processor(2000, "");
    hardware.SetVendor("GenuineIntel", 0);
    EXPECT_EQ(CHardwareInfo(hardware).ReadVendor(), 0u);
    EXPECT_EQ(ProcessorText(hardware), " []");
    EXPECT_TRUE(hardware.prioritySets.empty());
    hardware.SetBrand(kBrand);
    EXPECT_EQ(ProcessorText(hardware), kBrand + " []");
}

TEST(ProcessorTest, VendorAndFamilyGateTheMeasurement) {
    const std::tuple<const char*, std::uint32_t, bool> cases[] = {
        {"GenuineIntel", 4, false}, {"GenuineIntel", 5, true},  {"GenuineIntel", 6, true},
        {"GenuineIntel", 15, true}, {"AuthenticAMD", 5, false}, {"AuthenticAMD", 6, true},
        {"AuthenticAMD", 15, true}, {"CyrixInstead", 6, false}, {"CentaurHauls", 15, false},
        {"genuineintel", 6, false},  // compared exactly
    };
    for (const auto& [vendor, family, measured] : cases) {
        SCOPED_TRACE(std::string(vendor) + " family " + std::to_string(family));
        FakeHardware hardware = Processor(800, "", vendor, family);
        EXPECT_EQ(ProcessorText(hardware), std::string(vendor) + (measured ? " [800 MHz]" : " []"));
        EXPECT_EQ(hardware.prioritySets.empty(), !measured);
    }
    // Only the base family field counts: extended family bits do not lift an AMD K6-2.
    FakeHardware k6 = Processor(450, "AMD-K6(tm) 3D processor", "AuthenticAMD");
    k6.leaves[1].eax = 0x0FF00580;
    EXPECT_EQ(ProcessorText(k6), "AMD-K6(tm) 3D processor []");
}

TEST(ProcessorTest, ClockComesFromCounterThenRegistryThenTickCount) {
    const struct {
        const char* what;
        std::optional<std::int64_t> frequency;
        bool stuck;
        std::optional<std::uint32_t> registry;
        std::uint32_t mhz;
        const char* clock;
        bool counted, registryRead, ticked;
    } cases[] = {
        {"counter wins", 10000000, false, 2400, 2394, "2394 MHz", true, false, false},
        {"no counter", std::nullopt, false, 1000, 2394, "1000 MHz", false, true, false},
        {"counter stuck", 10000000, true, 2400, 2394, "2400 MHz", true, true, false},
        // The tick-count wait lasts 501 ms but is divided as 500 ms.
        {"no registry value", std::nullopt, false, std::nullopt, 1000, "1002 MHz", false, true,
         true},
        {"registry value 0", std::nullopt, false, 0, 1000, "1002 MHz", false, true, true},
        {"nothing found", std::nullopt, false, std::nullopt, 0, "Unknown", false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHardware hardware = Processor(c.mhz);
        hardware.counterFrequency = c.frequency;
        hardware.counterStuck = c.stuck;
        hardware.registryMhz = c.registry;
        EXPECT_EQ(ProcessorText(hardware), kBrand + " [" + c.clock + "]");
        EXPECT_EQ(hardware.sleeps, c.counted ? std::vector<std::uint32_t>{300}
                                             : std::vector<std::uint32_t>{});
        EXPECT_EQ(hardware.priorityAtRegistryRead.size(), c.registryRead ? 1u : 0u);
        EXPECT_EQ(hardware.millisecondReads != 0, c.ticked);
    }
}

TEST(ProcessorTest, PriorityIsRaisedForAllMethodsAndRestored) {
    for (const std::uint32_t before :
         {kNormalPriorityClass, kIdlePriorityClass, kHighPriorityClass, std::uint32_t{0x100}}) {
        SCOPED_TRACE(before);
        FakeHardware hardware = Processor(1000);
        hardware.counterFrequency.reset();
        hardware.priorityClass = before;
        ProcessorText(hardware);
        EXPECT_EQ(hardware.priorityAtRegistryRead, std::vector<std::uint32_t>{kHighPriorityClass});
        EXPECT_EQ(hardware.prioritySets, (std::vector<std::uint32_t>{kHighPriorityClass, before}));
        EXPECT_EQ(hardware.priorityClass, before);
    }
}

TEST(ProcessorTest, PerformanceCounterMethod) {
    FakeHardware hardware = Processor(2394);
    hardware.timeStampBase = 0xFFFFFFFFull - 1000;  // the low word wraps during the sleep
    EXPECT_EQ(CHardwareInfo(hardware).ClockFromPerformanceCounter(), 2394u);
    hardware.timeStampBase = 0x1234567800000000ull;  // only the low word is used
    EXPECT_EQ(CHardwareInfo(hardware).ClockFromPerformanceCounter(), 2394u);

    // The ACPI timer rate: whole counter ticks shorten the interval by less than 1 us.
    FakeHardware acpi = Processor(3000);
    acpi.counterFrequency = 3579545;
    EXPECT_EQ(CHardwareInfo(acpi).ClockFromPerformanceCounter(), 3000u);

    FakeHardware zeroFrequency = Processor(2394);
    zeroFrequency.counterFrequency = 0;
    EXPECT_EQ(CHardwareInfo(zeroFrequency).ClockFromPerformanceCounter(), 0u);
    EXPECT_TRUE(zeroFrequency.sleeps.empty());
}

TEST(ProcessorTest, TickCountMethodStartsOnAFreshTickAndSurvivesWraps) {
    FakeHardware hardware = Processor(2000);
    hardware.millisecondBase = 0xFFFFFF00;  // the millisecond clock wraps during the wait
    hardware.timeStampBase = 0xFFFFFFFFull - 5000;
    EXPECT_EQ(CHardwareInfo(hardware).ClockFromTickCount(), 2004u);

    // A coarse clock: every reading takes 10 ms, so the wait ends at 510 ms.
    FakeHardware coarse = Processor(1000);
    coarse.pollMicroseconds = 10000;
    EXPECT_EQ(CHardwareInfo(coarse).ClockFromTickCount(), 1020u);
}

}  // namespace
