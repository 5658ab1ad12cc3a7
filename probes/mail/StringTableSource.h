// Reads one string from the string table of a library, without running the library.
#pragma once

#include <cstddef>
#include <string>

class StringTableSource {
public:
    virtual ~StringTableSource() = default;
    // The string `id` of `libraryName`, at most `maxChars - 1` characters. Empty when the
    // library does not load or the string is missing or empty.
    virtual std::string ReadString(const std::string& libraryName, unsigned id,
                                   std::size_t maxChars) const = 0;
};
