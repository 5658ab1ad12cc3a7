// One block of a module's string table (an RT_STRING resource), read with every length
// checked against the block: the block comes from a file the PC supplies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Strings 16n to 16n+15 of a module lie in block n+1.
inline constexpr unsigned kStringsPerBlock = 16;

// The UTF-16 string at `index` (0 to 15) of the block: each entry is a 16-bit length and that
// many UTF-16 units. Empty when the block ends before the string does.
std::optional<std::u16string> StringTableEntry(const std::uint8_t* block, std::size_t size,
                                               unsigned index);
