// A string-table block of a module; the first byte picks the string.
#include <cstdint>

#include "probes/mail/StringTableBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    StringTableEntry(data + 1, size - 1, data[0] % kStringsPerBlock);
    return 0;
}
