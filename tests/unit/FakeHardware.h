// A simulated PC for CHardwareInfo. Time is virtual: sleeping and polling the millisecond
// clock move it on, and the performance counter and the time-stamp counter are derived
// from it, so the measuring methods see a consistent processor of `mhz` MHz.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "probes/hardware/HardwareSource.h"

constexpr std::uint32_t kNormalPriorityClass = 0x20;
constexpr std::uint32_t kIdlePriorityClass = 0x40;

class FakeHardware final : public HardwareSource {
public:
    std::uint64_t memoryBytes = 0;
    std::optional<DiskCapacity> driveC;
    bool hasCpuid = true;
    std::map<std::uint32_t, CpuidResult> leaves;  // a leaf not set answers zeros
    std::uint32_t mhz = 0;
    std::uint64_t timeStampBase = 0;
    std::int64_t nowMicroseconds = 0;
    std::optional<std::int64_t> counterFrequency = 10000000;
    bool counterStuck = false;
    std::uint32_t millisecondBase = 0;
    std::int64_t pollMicroseconds = 1000;  // time one reading of the millisecond clock takes
    std::uint32_t priorityClass = kNormalPriorityClass;
    std::optional<std::uint32_t> registryMhz;
    // What was asked for.
    int driveQueries = 0, millisecondReads = 0;
    std::vector<std::uint32_t> leavesAsked, sleeps, prioritySets, priorityAtRegistryRead;

    std::uint64_t TotalPhysicalMemory() override { return memoryBytes; }
    std::optional<DiskCapacity> QueryDriveC() override {
        ++driveQueries;
        return driveC;
    }
    bool CanToggleCpuidFlag() override { return hasCpuid; }
    CpuidResult Cpuid(std::uint32_t leaf) override {
        leavesAsked.push_back(leaf);
        const auto it = leaves.find(leaf);
        return it == leaves.end() ? CpuidResult() : it->second;
    }
    std::uint32_t ReadTimeStampLow() override {
        return static_cast<std::uint32_t>(timeStampBase + nowMicroseconds * std::uint64_t{mhz});
    }
    std::optional<std::int64_t> PerformanceFrequency() override { return counterFrequency; }
    std::int64_t PerformanceCount() override {
        if (counterStuck || !counterFrequency) return 12345;
        return nowMicroseconds * *counterFrequency / 1000000;
    }
    void Sleep(std::uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        nowMicroseconds += std::int64_t{milliseconds} * 1000;
    }
    std::uint32_t MillisecondClock() override {
        ++millisecondReads;
        nowMicroseconds += pollMicroseconds;
        return millisecondBase + static_cast<std::uint32_t>(nowMicroseconds / 1000);
    }
    std::uint32_t GetPriorityClass() override { return priorityClass; }
    void SetPriorityClass(std::uint32_t value) override {
        prioritySets.push_back(value);
        priorityClass = value;
    }
    std::optional<std::uint32_t> RegistryProcessorMhz() override {
        priorityAtRegistryRead.push_back(priorityClass);
        return registryMhz;
    }

    // Leaf 0 naming `vendor` (12 characters) with `highestLeaf`.
    void SetVendor(std::string vendor, std::uint32_t highestLeaf = 2) {
        vendor.resize(12, '\0');
        leaves[0] = CpuidResult{highestLeaf, Pack(vendor, 0), Pack(vendor, 8), Pack(vendor, 4)};
    }
    void SetFamily(std::uint32_t family) { leaves[1].eax = (family & 0xF) << 8; }
    // The brand string across leaves 0x80000002..4 and the highest extended leaf.
    void SetBrand(std::string brand, std::uint32_t highestExtended = 0x80000004) {
        brand.resize(48, '\0');
        for (std::uint32_t i = 0; i < 3; ++i) {
            leaves[0x80000002 + i] = CpuidResult{Pack(brand, 16 * i), Pack(brand, 16 * i + 4),
                                                 Pack(brand, 16 * i + 8), Pack(brand, 16 * i + 12)};
        }
        leaves[0x80000000].eax = highestExtended;
    }

private:
    static std::uint32_t Pack(const std::string& text, std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value |= std::uint32_t{static_cast<unsigned char>(text[at + i])} << (8 * i);
        }
        return value;
    }
};
