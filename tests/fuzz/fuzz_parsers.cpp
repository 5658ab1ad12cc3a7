// libFuzzer entry points for the parsers of what the PC or the command line supplies and for the
// CSV quoting, one per target: CMake builds this file once for each with FUZZ_<target> defined.
#include <cstdint>
#include <string>

#include "app/CommandLine.h"
#include "app/Csv.h"
#include "platform/Cp1250.h"
#include "probes/mail/NotesProbe.h"
#include "probes/mail/StringTableBlock.h"
#include "probes/software/ConflictingServices.h"
#include "probes/software/ModuleVersion.h"

namespace {

// Services exist when their name's length is odd, prefixes when their first byte is.
class OddServices final : public ServiceCatalog {
public:
    bool ServiceExists(const std::string& keyName) const override { return keyName.size() % 2; }
    bool AnyServiceNameStartsWith(const std::string& prefix) const override {
        return prefix.empty() || prefix[0] % 2;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
#if defined(FUZZ_version_text)  // a FileVersion text as a version resource holds it
    Version version;
    ParseVersionTriple(ClipVersionText(text.c_str(), size), version);
#elif defined(FUZZ_conflict_list)
    FindConflictingServices(text, OddServices());
#elif defined(FUZZ_notes_release)  // a Lotus Notes release text
    NotesProbe::ParseVersionText(text);
#elif defined(FUZZ_string_table)   // a string-table block; the first byte picks the string
    if (size > 0) StringTableEntry(data + 1, size - 1, data[0] % kStringsPerBlock);
#elif defined(FUZZ_command_line)
    // 16-bit units, as GetCommandLineW gives them
    std::wstring line;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        line += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    }
    ParseCommandLine(line);
#elif defined(FUZZ_csv_row)
    // Any text as a cell, before and after its conversion to UTF-8
    CsvLine({text, platform::Utf8FromCp1250(text)});
#endif
    return 0;
}
