// Where the mail client probes get the version of a library or program file from.
#pragma once

#include <cstdint>
#include <string>

// What the version reader found: three numbers and whether a version was obtained at all.
// When `found` is false the numbers hold whatever the reader had parsed before it gave up.
struct FileVersion {
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t build = 0;
    bool found = false;
};

class FileVersionSource {
public:
    virtual ~FileVersionSource() = default;
    // `fileName` is a full path or a bare library name, in the system's ANSI code page.
    virtual FileVersion Read(const std::string& fileName) const = 0;
};
