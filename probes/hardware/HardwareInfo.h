// The hardware probe of one test run: processor name and clock, memory, drive C:.
#pragma once

#include <cstdint>
#include <string>

#include <optional>

#include "platform/Registry.h"

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

inline constexpr std::uint32_t kHighPriorityClass = 0x80;

// What the hardware probe asks of the processor and the system, one question each. The
// registry holds the clock the system measured at start-up.
class HardwareSource : public virtual platform::RegistryReader {
public:
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
};

class CHardwareInfo {
public:
    // `source` must outlive the object.
    explicit CHardwareInfo(HardwareSource& source) : m_source(source) {}

    // Installed physical memory in whole mebibytes, "<n> MB".
    std::string GetMemoryText();
    // Size and free space of drive C:, or "?" when they cannot be determined.
    std::string GetDiskText();
    // True when drive C: has at least `required` bytes free, or when that is unknown.
    bool HasEnoughDiskSpace(std::int32_t required);
    // Two decimals and a binary unit: "95.37 MB".
    static std::string FormatByteSize(std::int64_t bytes);

    // The processor's name and measured clock, "<name> [<n> MHz]"; empty without CPUID.
    std::string GetProcessorText();

    // Each gives the clock in whole MHz, or 0 when the method found nothing; the first one
    // that finds a clock gives the processor text its clock.
    std::uint32_t ClockFromPerformanceCounter();
    std::uint32_t ClockFromRegistry();
    std::uint32_t ClockFromTickCount();

private:
    // Leaf 0 into vendor and name; returns the highest basic leaf, 0 when nothing was stored.
    std::uint32_t ReadVendor();
    void ReadBrandString();
    // Fills the clock text for processors whose time-stamp counter is trusted.
    void MeasureClock();
    // Drive C: is asked once; the text and the verdict both use the answer.
    const std::optional<DiskCapacity>& DriveC();

    HardwareSource& m_source;
    std::optional<std::optional<DiskCapacity>> m_driveC;
    std::string m_strVendor;
    std::string m_strName;
    std::string m_strClock;
    std::uint32_t m_nSignature = 0;
};
