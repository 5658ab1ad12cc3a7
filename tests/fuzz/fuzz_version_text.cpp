// A FileVersion text as a version resource holds it.
#include <cstdint>
#include <string>

#include "probes/software/ModuleVersion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::int32_t major = 0, minor = 0, build = 0;
    ParseVersionTriple(ClipVersionText(text.c_str(), size), major, minor, build);
    return 0;
}
