#include "probes/hardware/HardwareInfo.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

#include "platform/Text.h"
#include "probes/hardware/HardwareSourceWin32.h"
#include "probes/hardware/ProcessorInstructions.h"

namespace {

// Only Intel processors from family 5 and AMD ones from family 6 have their clock measured.
bool ClockIsMeasuredHere() {
    const CpuidResult leaf = cpu::Cpuid(0);
    char vendor[13] = {};
    std::memcpy(vendor, &leaf.ebx, 4);
    std::memcpy(vendor + 4, &leaf.edx, 4);
    std::memcpy(vendor + 8, &leaf.ecx, 4);
    const std::uint32_t family = (cpu::Cpuid(1).eax >> 8) & 0xF;
    return (std::strcmp(vendor, "GenuineIntel") == 0 && family >= 5) ||
           (std::strcmp(vendor, "AuthenticAMD") == 0 && family >= 6);
}

TEST(HardwareInfoWin32Test, MemoryAndDiskTextsShowTheSystemsFigures) {
    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof(memory);
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    ULARGE_INTEGER available = {}, total = {}, totalFree = {};
    ASSERT_TRUE(::GetDiskFreeSpaceExA("C:\\", &available, &total, &totalFree));

    HardwareSourceWin32 source;
    CHardwareInfo info(source);
    EXPECT_EQ(info.GetMemoryText(),
              text::Format("%llu MB", static_cast<unsigned long long>(memory.ullTotalPhys >> 20)));
    // Free space moves while the test runs; the size does not.
    const std::string disk = info.GetDiskText();
    const std::string size = info.FormatByteSize(static_cast<std::int64_t>(total.QuadPart));
    EXPECT_EQ(disk.rfind(size + ", z toho voľných ", 0), 0u) << disk;
    EXPECT_TRUE(std::regex_match(disk, std::regex(".*voľných [0-9]+\\.[0-9]{2} (bytes|KB|MB|GB|TB)")))
        << disk;
    EXPECT_TRUE(info.HasEnoughDiskSpace(1));
}

TEST(HardwareInfoWin32Test, SourceAnswersFromTheProcessorAndEveryClockMethodCounts) {
    HardwareSourceWin32 source;
    EXPECT_TRUE(source.CanToggleCpuidFlag());
    EXPECT_GT(source.Cpuid(0).eax, 0u);
    EXPECT_EQ(source.Cpuid(0x80000000).eax, cpu::Cpuid(0x80000000).eax);
    const std::uint32_t first = source.ReadTimeStampLow();
    ::Sleep(1);
    EXPECT_NE(source.ReadTimeStampLow(), first);
    ASSERT_TRUE(source.PerformanceFrequency().has_value());
    EXPECT_GT(*source.PerformanceFrequency(), 0);

    CHardwareInfo info(source);
    EXPECT_GT(info.ClockFromPerformanceCounter(), 0u);
    EXPECT_GT(info.ClockFromTickCount(), 0u);
    // The registry's figure is the processor key's "~MHz" value, 0 without one.
    DWORD expected = 0;
    DWORD size = sizeof(expected);
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, "Hardware\\Description\\System\\CentralProcessor\\0", "~MHz",
                       RRF_RT_REG_DWORD, nullptr, &expected, &size) != ERROR_SUCCESS) {
        expected = 0;
    }
    EXPECT_EQ(info.ClockFromRegistry(), expected);
}

TEST(HardwareInfoWin32Test, ProcessorTextHasNameAndClock) {
    HardwareSourceWin32 source;
    const std::string processor = CHardwareInfo(source).GetProcessorText();
    if (!ClockIsMeasuredHere()) {
        EXPECT_TRUE(std::regex_match(processor, std::regex("\\S.* \\[\\]"))) << processor;
        GTEST_SKIP() << "the processor's clock is not measured here: " << processor;
    }
    EXPECT_TRUE(std::regex_match(processor, std::regex("\\S(.*\\S)? \\[[1-9][0-9]* MHz\\]"))) << processor;
}

TEST(HardwareInfoWin32Test, PriorityClassIsRestored) {
    for (const DWORD before : {BELOW_NORMAL_PRIORITY_CLASS, IDLE_PRIORITY_CLASS}) {
        ASSERT_TRUE(::SetPriorityClass(::GetCurrentProcess(), before));
        HardwareSourceWin32 source;
        CHardwareInfo(source).GetProcessorText();
        EXPECT_EQ(::GetPriorityClass(::GetCurrentProcess()), before);
    }
    ::SetPriorityClass(::GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
}

}  // namespace
