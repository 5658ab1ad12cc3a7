#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "FakeHardware.h"
#include "probes/hardware/HardwareInfo.h"

namespace {

const char kBrand[] = "Intel(R) Pentium(R) 4 CPU 2.40GHz";

// An Intel Pentium 4 class processor with a performance counter, at `mhz`.
FakeHardware Pentium4(std::uint32_t mhz = 2394) {
    FakeHardware hardware;
    hardware.SetVendor("GenuineIntel");
    hardware.SetFamily(15);
    hardware.SetBrand(kBrand);
    hardware.mhz = mhz;
    return hardware;
}

std::string ProcessorText(FakeHardware& hardware) {
    return CHardwareInfo(hardware).GetProcessorText();
}

// --- CPUID presence and the name -------------------------------------------------------

TEST(ProcessorTest, NoCpuidGivesAnEmptyTextAndAsksNothing) {
    FakeHardware hardware = Pentium4();
    hardware.hasCpuid = false;
    EXPECT_EQ(ProcessorText(hardware), "");
    EXPECT_TRUE(hardware.leavesAsked.empty());
    EXPECT_TRUE(hardware.prioritySets.empty());
}

TEST(ProcessorTest, WorkedExampleWithBrandAndCountedClock) {
    FakeHardware hardware = Pentium4(2394);
    EXPECT_EQ(ProcessorText(hardware), "Intel(R) Pentium(R) 4 CPU 2.40GHz [2394 MHz]");
    EXPECT_EQ(hardware.sleeps, std::vector<std::uint32_t>{300});
}

TEST(ProcessorTest, BrandStringNeedsExtendedLeaf80000004) {
    FakeHardware below = Pentium4(1000);
    below.SetBrand(kBrand, 0x80000003);
    EXPECT_EQ(ProcessorText(below), "GenuineIntel [1000 MHz]");

    FakeHardware above = Pentium4(1000);
    above.SetBrand(kBrand, 0x80000008);
    EXPECT_EQ(ProcessorText(above), std::string(kBrand) + " [1000 MHz]");

    // A processor without extended leaves may echo a basic leaf there; compared unsigned.
    FakeHardware echo = Pentium4(1000);
    echo.SetBrand(kBrand, 0x0000000D);
    EXPECT_EQ(ProcessorText(echo), "GenuineIntel [1000 MHz]");
}

TEST(ProcessorTest, BrandStringIsTrimmedAndMayFillAllFortyEightBytes) {
    FakeHardware padded = Pentium4(1000);
    padded.SetBrand("          \t Intel(R) Xeon(TM) CPU 3.06GHz \r\n");
    EXPECT_EQ(ProcessorText(padded), "Intel(R) Xeon(TM) CPU 3.06GHz [1000 MHz]");

    const std::string full = "AMD Athlon(tm) 64 X2 Dual Core Processor 4800+ab";
    ASSERT_EQ(full.size(), 48u);
    FakeHardware fullBrand;
    fullBrand.SetVendor("AuthenticAMD");
    fullBrand.SetFamily(15);
    fullBrand.SetBrand(full);
    fullBrand.mhz = 2500;
    EXPECT_EQ(ProcessorText(fullBrand), full + " [2500 MHz]");
}

TEST(ProcessorTest, HighestBasicLeafZeroLeavesVendorEmpty) {
    FakeHardware hardware;
    hardware.SetVendor("GenuineIntel", 0);
    hardware.SetFamily(15);
    hardware.mhz = 2000;
    EXPECT_EQ(ProcessorText(hardware), " []");
    EXPECT_TRUE(hardware.prioritySets.empty());

    hardware.SetBrand(kBrand);
    EXPECT_EQ(ProcessorText(hardware), std::string(kBrand) + " []");
}

TEST(ProcessorTest, ReadVendorReturnsTheHighestBasicLeaf) {
    FakeHardware hardware;
    hardware.SetVendor("CentaurHauls", 7);
    EXPECT_EQ(CHardwareInfo(hardware).ReadVendor(), 7u);
    hardware.SetVendor("CentaurHauls", 0);
    EXPECT_EQ(CHardwareInfo(hardware).ReadVendor(), 0u);
}

// --- Which processors are measured -----------------------------------------------------

TEST(ProcessorTest, VendorAndFamilyGateTheMeasurement) {
    struct Case {
        const char* vendor;
        std::uint32_t family;
        bool measured;
    };
    const Case cases[] = {
        {"GenuineIntel", 4, false}, {"GenuineIntel", 5, true},  {"GenuineIntel", 6, true},
        {"GenuineIntel", 15, true}, {"AuthenticAMD", 5, false}, {"AuthenticAMD", 6, true},
        {"AuthenticAMD", 15, true}, {"CyrixInstead", 6, false}, {"CentaurHauls", 15, false},
        {"genuineintel", 6, false},  // compared exactly
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.vendor) + " family " + std::to_string(c.family));
        FakeHardware hardware;
        hardware.SetVendor(c.vendor);
        hardware.SetFamily(c.family);
        hardware.mhz = 800;
        EXPECT_EQ(ProcessorText(hardware),
                  std::string(c.vendor) + (c.measured ? " [800 MHz]" : " []"));
        EXPECT_EQ(hardware.prioritySets.empty(), !c.measured);
    }
}

TEST(ProcessorTest, OnlyTheBaseFamilyFieldCounts) {
    // AMD K6-2 class: family 5 with a brand string is still not measured, and extended
    // family bits do not lift it.
    FakeHardware hardware;
    hardware.SetVendor("AuthenticAMD");
    hardware.leaves[1].eax = 0x0FF00580;
    hardware.SetBrand("AMD-K6(tm) 3D processor");
    hardware.mhz = 450;
    EXPECT_EQ(ProcessorText(hardware), "AMD-K6(tm) 3D processor []");
}

// --- The order of the clock methods ----------------------------------------------------

TEST(ProcessorTest, CountedClockWinsOverTheRegistry) {
    FakeHardware hardware = Pentium4(2394);
    hardware.registryMhz = 2400;
    EXPECT_EQ(ProcessorText(hardware), std::string(kBrand) + " [2394 MHz]");
    EXPECT_TRUE(hardware.priorityAtRegistryRead.empty());
}

TEST(ProcessorTest, RegistryServesWithoutAPerformanceCounter) {
    FakeHardware hardware = Pentium4(2394);
    hardware.counterFrequency.reset();
    hardware.registryMhz = 1000;
    EXPECT_EQ(ProcessorText(hardware), std::string(kBrand) + " [1000 MHz]");
    EXPECT_TRUE(hardware.sleeps.empty());
    EXPECT_EQ(hardware.millisecondReads, 0);
}

TEST(ProcessorTest, TickCountServesWithoutCounterAndRegistry) {
    for (const std::optional<std::uint32_t> registry : {std::optional<std::uint32_t>(),
                                                        std::optional<std::uint32_t>(0)}) {
        FakeHardware hardware = Pentium4(1000);
        hardware.counterFrequency.reset();
        hardware.registryMhz = registry;
        // The wait lasts 501 ms but is divided as 500 ms.
        EXPECT_EQ(ProcessorText(hardware), std::string(kBrand) + " [1002 MHz]");
        EXPECT_GT(hardware.millisecondReads, 500);
    }
}

TEST(ProcessorTest, EveryMethodFindingNothingIsUnknown) {
    FakeHardware hardware = Pentium4(0);
    hardware.counterFrequency.reset();
    EXPECT_EQ(ProcessorText(hardware), std::string(kBrand) + " [Unknown]");
}

TEST(ProcessorTest, PriorityIsRaisedForAllMethodsAndRestored) {
    for (const std::uint32_t before : {kNormalPriorityClass, kIdlePriorityClass, kHighPriorityClass,
                                       std::uint32_t{0x100}}) {
        SCOPED_TRACE(before);
        FakeHardware hardware = Pentium4(1000);
        hardware.counterFrequency.reset();
        hardware.priorityClass = before;
        ProcessorText(hardware);
        EXPECT_EQ(hardware.priorityAtRegistryRead, std::vector<std::uint32_t>{kHighPriorityClass});
        EXPECT_EQ(hardware.prioritySets, (std::vector<std::uint32_t>{kHighPriorityClass, before}));
        EXPECT_EQ(hardware.priorityClass, before);
    }
}

// --- The measuring methods themselves --------------------------------------------------

TEST(ProcessorTest, PerformanceCounterMethodSurvivesATimeStampWrap) {
    FakeHardware hardware = Pentium4(2394);
    hardware.timeStampBase = 0xFFFFFFFFull - 1000;  // the low word wraps during the sleep
    EXPECT_EQ(CHardwareInfo(hardware).ClockFromPerformanceCounter(), 2394u);

    // Only the low word is used: a high word does not disturb the count.
    hardware.timeStampBase = 0x1234567800000000ull;
    EXPECT_EQ(CHardwareInfo(hardware).ClockFromPerformanceCounter(), 2394u);
}

TEST(ProcessorTest, PerformanceCounterMethodFindsNothingInZeroTime) {
    FakeHardware stuck = Pentium4(2394);
    stuck.counterStuck = true;
    EXPECT_EQ(CHardwareInfo(stuck).ClockFromPerformanceCounter(), 0u);

    // Falls through to the registry like a missing counter.
    stuck.registryMhz = 2400;
    EXPECT_EQ(ProcessorText(stuck), std::string(kBrand) + " [2400 MHz]");

    FakeHardware zeroFrequency = Pentium4(2394);
    zeroFrequency.counterFrequency = 0;
    EXPECT_EQ(CHardwareInfo(zeroFrequency).ClockFromPerformanceCounter(), 0u);
    EXPECT_TRUE(zeroFrequency.sleeps.empty());
}

TEST(ProcessorTest, PerformanceCounterMethodUsesTheCounterFrequency) {
    FakeHardware hardware = Pentium4(3000);
    hardware.counterFrequency = 3579545;  // the ACPI timer rate
    // Whole counter ticks shorten the interval by less than a microsecond.
    EXPECT_EQ(CHardwareInfo(hardware).ClockFromPerformanceCounter(), 3000u);
}

TEST(ProcessorTest, TickCountMethodStartsOnAFreshTickAndSurvivesWraps) {
    FakeHardware hardware = Pentium4(2000);
    hardware.millisecondBase = 0xFFFFFF00;  // the millisecond clock wraps during the wait
    hardware.timeStampBase = 0xFFFFFFFFull - 5000;
    EXPECT_EQ(CHardwareInfo(hardware).ClockFromTickCount(), 2004u);

    // A coarse clock: every reading takes 10 ms, so the wait ends at 510 ms.
    FakeHardware coarse = Pentium4(1000);
    coarse.pollMicroseconds = 10000;
    EXPECT_EQ(CHardwareInfo(coarse).ClockFromTickCount(), 1020u);
}

}  // namespace
