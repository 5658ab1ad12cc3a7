// Memory and drive C: capacity.
#include "probes/hardware/HardwareInfo.h"

#include <cstddef>
#include <iterator>

#include "platform/Text.h"

std::string CHardwareInfo::GetMemoryText() {
    // The full 64-bit count: a 32-bit one would cap the memory shown at 4 GB.
    const unsigned long long mebibytes = m_source.TotalPhysicalMemory() >> 20;
    return text::Format("%llu %s", mebibytes, "MB");
}

std::string CHardwareInfo::GetDiskText() {
    const auto disk = m_source.QueryDriveC();
    if (!disk) return "?";
    const auto total = static_cast<std::int64_t>(disk->totalBytes);
    const auto free = static_cast<std::int64_t>(disk->totalFreeBytes);
    return text::Format("%s, z toho voľných %s", FormatByteSize(total).c_str(),
                        FormatByteSize(free).c_str());
}

bool CHardwareInfo::HasEnoughDiskSpace(std::int32_t required) {
    const auto disk = m_source.QueryDriveC();
    // Free space that cannot be determined must not block the installation.
    if (!disk) return true;
    // A negative requirement asks for nothing, not for almost 2^64 bytes.
    const std::uint64_t needed = required > 0 ? static_cast<std::uint64_t>(required) : 0;
    return disk->totalFreeBytes >= needed;
}

std::string CHardwareInfo::FormatByteSize(const std::int64_t& bytes) {
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
    return text::Format("%.2f%s", value, kUnits[steps]);
}
