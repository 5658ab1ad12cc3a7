// What the hardware probe needs from the processor and the platform, one question each.
#pragma once

#include <cstdint>
#include <optional>

struct CpuidResult {
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = 0;
    std::uint32_t edx = 0;
};

struct DiskCapacity {
    std::uint64_t totalBytes = 0;
    std::uint64_t totalFreeBytes = 0;  // the whole volume's, whatever a quota leaves the user
};

constexpr std::uint32_t kHighPriorityClass = 0x80;

class HardwareSource {
public:
    virtual ~HardwareSource() = default;

    virtual std::uint64_t TotalPhysicalMemory() = 0;
    // Size and free space of drive C:; empty when they cannot be determined.
    virtual std::optional<DiskCapacity> QueryDriveC() = 0;

    // True when the EFLAGS ID bit can be flipped, i.e. the CPUID instruction exists.
    virtual bool CanToggleCpuidFlag() = 0;
    virtual CpuidResult Cpuid(std::uint32_t leaf) = 0;
    // The low 32 bits of the time-stamp counter.
    virtual std::uint32_t ReadTimeStampLow() = 0;

    // Ticks per second of the performance counter; empty when there is no counter.
    virtual std::optional<std::int64_t> PerformanceFrequency() = 0;
    virtual std::int64_t PerformanceCount() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // The multimedia millisecond clock.
    virtual std::uint32_t MillisecondClock() = 0;

    virtual std::uint32_t GetPriorityClass() = 0;
    virtual void SetPriorityClass(std::uint32_t priorityClass) = 0;

    // The clock in MHz that the system keeps for the first processor, if readable.
    virtual std::optional<std::uint32_t> RegistryProcessorMhz() = 0;
};
