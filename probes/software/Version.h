// Three numbers of a version, as Windows, Internet Explorer and the mail clients report them.
#pragma once

#include <cstdint>
#include <string>

struct Version {
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t build = 0;

    // Compared component by component, as signed numbers.
    bool IsAtLeast(const Version& minimum) const;
    // "6.0.2900"
    std::string Text() const;
};
