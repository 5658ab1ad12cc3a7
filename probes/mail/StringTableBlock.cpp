#include "probes/mail/StringTableBlock.h"

namespace {

std::uint16_t UnitAt(const std::uint8_t* block, std::size_t offset) {
    return static_cast<std::uint16_t>(block[offset] | block[offset + 1] << 8);
}

}  // namespace

std::optional<std::u16string> StringTableEntry(const std::uint8_t* block, std::size_t size,
                                               unsigned index) {
    std::size_t offset = 0;
    for (unsigned entry = 0; entry < kStringsPerBlock; ++entry) {
        if (size - offset < 2) return std::nullopt;
        const std::size_t length = UnitAt(block, offset);
        offset += 2;
        if (length > (size - offset) / 2) return std::nullopt;
        if (entry == index) {
            std::u16string text(length, u'\0');
            for (std::size_t i = 0; i < length; ++i) text[i] = UnitAt(block, offset + 2 * i);
            return text;
        }
        offset += 2 * length;
    }
    return std::nullopt;
}
