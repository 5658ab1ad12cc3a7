#include "probes/hardware/HardwareInfo.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "platform/Text.h"

namespace {

constexpr char kIntel[] = "GenuineIntel";
constexpr char kAmd[] = "AuthenticAMD";
constexpr char kProcessorKey[] = "Hardware\\Description\\System\\CentralProcessor\\0";

constexpr std::uint32_t kLeafVendor = 0;
constexpr std::uint32_t kLeafSignature = 1;
constexpr std::uint32_t kLeafHighestExtended = 0x80000000;
constexpr std::uint32_t kLeafBrandFirst = 0x80000002;
constexpr std::uint32_t kLeafBrandLast = 0x80000004;

constexpr std::uint32_t kSleepMilliseconds = 300;
constexpr std::uint64_t kMicrosecondsPerSecond = 1000000;
// The wait ends on the first tick past 500 ms but the cycles are divided as if exactly
// 500 ms had passed: the tick-count clock reads about 0.2 % high.
constexpr std::int32_t kTickWaitMilliseconds = 500;
constexpr std::uint32_t kTickCyclesDivisor = 500000;

// Little-endian, as the processor stores its register texts.
void StoreRegister(std::uint32_t value, unsigned char* out) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::string TextUpToZero(const unsigned char* buffer, std::size_t size) {
    const unsigned char* end = std::find(buffer, buffer + size, 0);
    return std::string(buffer, end);
}

// Differences of the millisecond clock stay right across its wrap.
std::int32_t MillisecondsSince(std::uint32_t earlier, std::uint32_t now) {
    return static_cast<std::int32_t>(now - earlier);
}

}  // namespace

std::string CHardwareInfo::GetMemoryText() {
    // The full 64-bit count: a 32-bit one would cap the memory shown at 4 GB.
    const unsigned long long mebibytes = m_source.TotalPhysicalMemory() >> 20;
    return platform::Format("%llu %s", mebibytes, "MB");
}

const std::optional<DiskCapacity>& CHardwareInfo::DriveC() {
    if (!m_driveC) m_driveC = m_source.QueryDriveC();
    return *m_driveC;
}

std::string CHardwareInfo::GetDiskText() {
    const auto& disk = DriveC();
    if (!disk) return "?";
    const auto total = static_cast<std::int64_t>(disk->totalBytes);
    const auto free = static_cast<std::int64_t>(disk->totalFreeBytes);
    return platform::Format("%s, z toho voľných %s", FormatByteSize(total).c_str(),
                            FormatByteSize(free).c_str());
}

bool CHardwareInfo::HasEnoughDiskSpace(std::int32_t required) {
    const auto& disk = DriveC();
    // Free space that cannot be determined must not block the installation.
    if (!disk) return true;
    // A negative requirement asks for nothing, not for almost 2^64 bytes.
    const std::uint64_t needed = required > 0 ? static_cast<std::uint64_t>(required) : 0;
    return disk->totalFreeBytes >= needed;
}

std::string CHardwareInfo::FormatByteSize(std::int64_t bytes) {
    static const char* const kUnits[] = {" bytes", " KB", " MB", " GB", " TB"};
    constexpr std::size_t kLastUnit = std::size(kUnits) - 1;

    double value = static_cast<double>(bytes);
    std::size_t steps = 0;
    // Scales while above 1000, not 1024, so that at most four digits precede the point.
    // Past the largest unit the number simply grows.
    while (value > 1000.0 && steps < kLastUnit) {
        value *= 0.0009765625;
        ++steps;
    }
    // The program never changes the C locale: the point is always "." and digits are
    // never grouped.
    return platform::Format("%.2f%s", value, kUnits[steps]);
}

std::string CHardwareInfo::GetProcessorText() {
    if (!m_source.CanToggleCpuidFlag()) return std::string();
    ReadVendor();
    m_nSignature = m_source.Cpuid(kLeafSignature).eax;
    MeasureClock();
    if (m_source.Cpuid(kLeafHighestExtended).eax >= kLeafBrandLast) ReadBrandString();
    // Some processors pad their brand string with leading spaces.
    m_strName = platform::Trim(m_strName);
    m_strClock = platform::Trim(m_strClock);
    return platform::Format("%s [%s]", m_strName.c_str(), m_strClock.c_str());
}

std::uint32_t CHardwareInfo::ReadVendor() {
    const CpuidResult leaf = m_source.Cpuid(kLeafVendor);
    if (leaf.eax == 0) return 0;
    unsigned char buffer[16] = {};
    StoreRegister(leaf.ebx, buffer);
    StoreRegister(leaf.edx, buffer + 4);
    StoreRegister(leaf.ecx, buffer + 8);
    m_strVendor = TextUpToZero(buffer, 12);
    m_strName = m_strVendor;
    return leaf.eax;
}

void CHardwareInfo::ReadBrandString() {
    unsigned char buffer[64] = {};
    unsigned char* out = buffer;
    for (std::uint32_t leaf = kLeafBrandFirst; leaf <= kLeafBrandLast; ++leaf) {
        const CpuidResult regs = m_source.Cpuid(leaf);
        for (const std::uint32_t value : {regs.eax, regs.ebx, regs.ecx, regs.edx}) {
            StoreRegister(value, out);
            out += 4;
        }
    }
    m_strName = TextUpToZero(buffer, 48);
}

void CHardwareInfo::MeasureClock() {
    // Earlier processors count cycles unreliably or not at all.
    const std::uint32_t family = (m_nSignature >> 8) & 0xF;
    const bool trusted =
        (m_strVendor == kIntel && family >= 5) || (m_strVendor == kAmd && family >= 6);
    if (!trusted) return;

    // High priority keeps other programs from stretching the counted intervals.
    const std::uint32_t savedPriority = m_source.GetPriorityClass();
    m_source.SetPriorityClass(kHighPriorityClass);
    std::uint32_t mhz = ClockFromPerformanceCounter();
    if (mhz == 0) mhz = ClockFromRegistry();
    if (mhz == 0) mhz = ClockFromTickCount();
    m_source.SetPriorityClass(savedPriority);

    m_strClock = mhz != 0 ? platform::Format("%u MHz", static_cast<unsigned>(mhz)) : "Unknown";
}

std::uint32_t CHardwareInfo::ClockFromPerformanceCounter() {
    const auto frequency = m_source.PerformanceFrequency();
    if (!frequency || *frequency <= 0) return 0;

    // The counter interval encloses the cycle interval.
    const std::int64_t startCount = m_source.PerformanceCount();
    const std::uint32_t startCycles = m_source.ReadTimeStampLow();
    m_source.Sleep(kSleepMilliseconds);
    const std::uint32_t endCycles = m_source.ReadTimeStampLow();
    const std::int64_t endCount = m_source.PerformanceCount();

    // Divided before it is multiplied, so that no counter delta overflows: a PC that
    // hibernates during the wait moves the counter by hours. The result is the same
    // truncated quotient as multiplying first.
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(endCount) - static_cast<std::uint64_t>(startCount);
    const auto perSecond = static_cast<std::uint64_t>(*frequency);
    const auto microseconds =
        static_cast<std::uint32_t>(ticks / perSecond * kMicrosecondsPerSecond +
                                   ticks % perSecond * kMicrosecondsPerSecond / perSecond);
    if (microseconds == 0) return 0;
    // Unsigned subtraction survives one wrap of the low word.
    return (endCycles - startCycles) / microseconds;
}

std::uint32_t CHardwareInfo::ClockFromRegistry() {
    return m_source.ReadDword(platform::RegistryRoot::LocalMachine, kProcessorKey, "~MHz")
        .value_or(0);
}

std::uint32_t CHardwareInfo::ClockFromTickCount() {
    // Start just after a fresh tick, so that the wait is not cut short by a partial one.
    const std::uint32_t first = m_source.MillisecondClock();
    std::uint32_t tick = m_source.MillisecondClock();
    while (MillisecondsSince(first, tick) < 2) tick = m_source.MillisecondClock();

    const std::uint32_t startCycles = m_source.ReadTimeStampLow();
    while (MillisecondsSince(tick, m_source.MillisecondClock()) <= kTickWaitMilliseconds) {
    }
    const std::uint32_t endCycles = m_source.ReadTimeStampLow();
    return (endCycles - startCycles) / kTickCyclesDivisor;
}
