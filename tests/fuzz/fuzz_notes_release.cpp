// A Lotus Notes release text as its string table holds it.
#include <cstdint>
#include <string>

#include "probes/mail/NotesProbe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::int32_t major = 0, minor = 0, build = 0;
    NotesProbe::ParseVersionText(major, minor, build,
                                 std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
