// The hardware probe of one test run: processor name and clock, memory, drive C:.
#pragma once

#include <cstdint>
#include <string>

#include "probes/hardware/HardwareSource.h"

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
    std::string FormatByteSize(const std::int64_t& bytes);

    // The processor's name and measured clock, "<name> [<n> MHz]"; empty without CPUID.
    std::string GetProcessorText();
    // Leaf 0 into vendor and name; returns the highest basic leaf, 0 when nothing was stored.
    std::uint32_t ReadVendor();
    void ReadBrandString();
    // Fills the clock text for processors whose time-stamp counter is trusted.
    void MeasureClock();
    // Each gives the clock in whole MHz, or 0 when the method found nothing.
    std::uint32_t ClockFromPerformanceCounter();
    std::uint32_t ClockFromRegistry();
    std::uint32_t ClockFromTickCount();
    std::uint32_t ReadTimeStampLow();

private:
    HardwareSource& m_source;
    std::string m_strVendor;
    std::string m_strName;
    std::string m_strClock;
    std::uint32_t m_nSignature = 0;
};
