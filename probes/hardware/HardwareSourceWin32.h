// The hardware probe's questions answered by this PC's processor and Windows.
#pragma once

#include "probes/hardware/HardwareSource.h"

class HardwareSourceWin32 final : public HardwareSource {
public:
    std::uint64_t TotalPhysicalMemory() override;
    std::optional<DiskCapacity> QueryDriveC() override;

    bool CanToggleCpuidFlag() override;
    CpuidResult Cpuid(std::uint32_t leaf) override;
    std::uint32_t ReadTimeStampLow() override;

    std::optional<std::int64_t> PerformanceFrequency() override;
    std::int64_t PerformanceCount() override;
    void Sleep(std::uint32_t milliseconds) override;
    std::uint32_t MillisecondClock() override;

    std::uint32_t GetPriorityClass() override;
    void SetPriorityClass(std::uint32_t priorityClass) override;

    std::optional<std::uint32_t> RegistryProcessorMhz() override;
};
