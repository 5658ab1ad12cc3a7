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

const char kProcessorKey[] = "Hardware\\Description\\System\\CentralProcessor\\0";

std::string Vendor() {
    const CpuidResult leaf = cpu::Cpuid(0);
    char text[13] = {};
    std::memcpy(text, &leaf.ebx, 4);
    std::memcpy(text + 4, &leaf.edx, 4);
    std::memcpy(text + 8, &leaf.ecx, 4);
    return text;
}

bool ClockIsMeasuredHere() {
    const std::uint32_t family = (cpu::Cpuid(1).eax >> 8) & 0xF;
    const std::string vendor = Vendor();
    return (vendor == "GenuineIntel" && family >= 5) || (vendor == "AuthenticAMD" && family >= 6);
}

// Sets the process's priority class for one test and puts the normal class back after.
class PriorityClass {
public:
    explicit PriorityClass(DWORD priority) {
        EXPECT_TRUE(::SetPriorityClass(::GetCurrentProcess(), priority));
    }
    PriorityClass(const PriorityClass&) = delete;
    PriorityClass& operator=(const PriorityClass&) = delete;
    ~PriorityClass() { ::SetPriorityClass(::GetCurrentProcess(), NORMAL_PRIORITY_CLASS); }
};

TEST(HardwareInfoWin32Test, MemoryTextMatchesGlobalMemoryStatusEx) {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(::GlobalMemoryStatusEx(&status));
    HardwareSourceWin32 source;
    EXPECT_EQ(CHardwareInfo(source).GetMemoryText(),
              text::Format("%llu MB", static_cast<unsigned long long>(status.ullTotalPhys >> 20)));
}

TEST(HardwareInfoWin32Test, DiskTextShowsDriveC) {
    ULARGE_INTEGER available = {};
    ULARGE_INTEGER total = {};
    ULARGE_INTEGER totalFree = {};
    ASSERT_TRUE(::GetDiskFreeSpaceExA("C:\\", &available, &total, &totalFree));

    HardwareSourceWin32 source;
    CHardwareInfo info(source);
    const std::string disk = info.GetDiskText();
    // Free space moves while the test runs; the size does not.
    const std::string size = info.FormatByteSize(static_cast<std::int64_t>(total.QuadPart));
    EXPECT_EQ(disk.rfind(size + ", z toho voľných ", 0), 0u) << disk;
    EXPECT_TRUE(std::regex_match(disk, std::regex(".*voľných [0-9]+\\.[0-9]{2} (bytes|KB|MB|GB|TB)")))
        << disk;
    EXPECT_TRUE(info.HasEnoughDiskSpace(1));
}

TEST(HardwareInfoWin32Test, SourceAnswersFromTheProcessor) {
    HardwareSourceWin32 source;
    EXPECT_TRUE(source.CanToggleCpuidFlag());
    EXPECT_GT(source.Cpuid(0).eax, 0u);
    EXPECT_EQ(source.Cpuid(0x80000000).eax, cpu::Cpuid(0x80000000).eax);
    const std::uint32_t first = source.ReadTimeStampLow();
    ::Sleep(1);
    EXPECT_NE(source.ReadTimeStampLow(), first);
    ASSERT_TRUE(source.PerformanceFrequency().has_value());
    EXPECT_GT(*source.PerformanceFrequency(), 0);
}

TEST(HardwareInfoWin32Test, RegistryClockIsTheProcessorKeyValue) {
    HKEY key = nullptr;
    DWORD expected = 0;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProcessorKey, 0, KEY_QUERY_VALUE, &key) ==
        ERROR_SUCCESS) {
        DWORD size = sizeof(expected);
        if (::RegQueryValueExA(key, "~MHz", nullptr, nullptr, reinterpret_cast<BYTE*>(&expected),
                               &size) != ERROR_SUCCESS) {
            expected = 0;
        }
        ::RegCloseKey(key);
    }
    HardwareSourceWin32 source;
    EXPECT_EQ(CHardwareInfo(source).ClockFromRegistry(), expected);
}

TEST(HardwareInfoWin32Test, EveryClockMethodCountsCycles) {
    HardwareSourceWin32 source;
    CHardwareInfo info(source);
    EXPECT_GT(info.ClockFromPerformanceCounter(), 0u);
    EXPECT_GT(info.ClockFromTickCount(), 0u);
}

TEST(HardwareInfoWin32Test, ProcessorTextHasNameAndClock) {
    HardwareSourceWin32 source;
    const std::string processor = CHardwareInfo(source).GetProcessorText();
    if (!ClockIsMeasuredHere()) {
        EXPECT_TRUE(std::regex_match(processor, std::regex("\\S.* \\[\\]"))) << processor;
        GTEST_SKIP() << "the processor's clock is not measured here: " << processor;
    }
    EXPECT_TRUE(std::regex_match(processor, std::regex("\\S(.*\\S)? \\[[1-9][0-9]* MHz\\]")))
        << processor;
}

TEST(HardwareInfoWin32Test, PriorityClassIsRestored) {
    for (const DWORD before : {BELOW_NORMAL_PRIORITY_CLASS, IDLE_PRIORITY_CLASS}) {
        PriorityClass priority(before);
        HardwareSourceWin32 source;
        CHardwareInfo(source).GetProcessorText();
        EXPECT_EQ(::GetPriorityClass(::GetCurrentProcess()), before);
    }
}

}  // namespace
