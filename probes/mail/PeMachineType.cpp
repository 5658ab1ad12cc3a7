#include "probes/mail/PeMachineType.h"

namespace {

// Where the DOS header keeps the offset of the PE header.
constexpr std::size_t kPeOffsetField = 0x3C;

}  // namespace

std::optional<std::uint16_t> PeMachineType(const std::vector<std::uint8_t>& fileStart) {
    const auto at = [&](std::size_t offset, std::size_t bytes) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            value |= std::uint32_t{fileStart[offset + i]} << (8 * i);
        return value;
    };
    if (fileStart.size() < kPeOffsetField + 4 || at(0, 2) != 0x5A4D) return std::nullopt;  // "MZ"
    const std::size_t pe = at(kPeOffsetField, 4);
    if (pe > fileStart.size() - 6 || at(pe, 4) != 0x00004550) return std::nullopt;  // "PE\0\0"
    return static_cast<std::uint16_t>(at(pe + 4, 2));
}
