#include "probes/mail/NotesProbe.h"

#include <algorithm>
#include <limits>

#include "platform/Text.h"
#include "probes/mail/VersionRule.h"

namespace {

const char kNotesKey[] = "SOFTWARE\\Lotus\\Notes";
constexpr std::size_t kValueMaxBytes = 8000;
constexpr unsigned kReleaseStringId = 1;
constexpr std::size_t kReleaseMaxChars = 1024;

}  // namespace

std::string NotesProbe::GetNotesExecutablePath() const {
    // Each value is read whether or not the other one was.
    std::string path = GetNotesProgramDir();
    if (const auto name = m_system.ReadString(platform::RegistryRoot::LocalMachine, kNotesKey,
                                              "Name", kValueMaxBytes)) {
        path += *name;
    }
    return path;
}

std::string NotesProbe::GetNotesProgramDir() const {
    return m_system
        .ReadString(platform::RegistryRoot::LocalMachine, kNotesKey, "Path", kValueMaxBytes)
        .value_or(std::string());
}

std::string NotesProbe::ReadNstringsVersion() const {
    // Nothing is put between the directory and the name: the registry keeps the directory
    // with its closing backslash. Without it the bare name is looked for along the search
    // path, which is harmless because the library is only mapped as data.
    const std::string release = m_system.ReadLibraryString(GetNotesProgramDir() + "nstrings.dll",
                                                           kReleaseStringId, kReleaseMaxChars);
    std::size_t pos = 0;
    // Further fields follow a '|'; bars in front of the release text are skipped.
    return platform::Trim(platform::Tokenize(release, "|", pos));
}

Version NotesProbe::ParseVersionText(const std::string& text) {
    Version version;
    // A word before the first blank ("Release") is not part of the version.
    const std::size_t blank = text.find(' ');
    const std::string numbers =
        platform::Trim(blank == std::string::npos ? text : text.substr(blank));
    std::int32_t* const components[] = {&version.major, &version.minor, &version.build};
    std::size_t pos = 0;
    std::size_t index = 0;
    for (std::string token = platform::Tokenize(numbers, ".", pos); !token.empty();
         token = platform::Tokenize(numbers, ".", pos)) {
        if (index < 3) *components[index++] = DigitsToInt(token);
    }
    return version;
}

std::int32_t NotesProbe::DigitsToInt(const std::string& text) {
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') continue;
        // A run of digits too long for 32 bits stays at the largest value rather than wrap.
        value = std::min(kLargest, value * 10 + (c - '0'));
    }
    return static_cast<std::int32_t>(value);
}

const NotesProbe::Found& NotesProbe::Read() const {
    if (m_found) return *m_found;
    m_found.emplace();
    const std::string path = GetNotesExecutablePath();
    // A program file exports no DllGetVersion, and loading it would run its code.
    if (!path.empty()) m_found->program = ModuleVersion(m_system, path, ReadAsData());
    if (!m_found->program.found) m_found->release = ReadNstringsVersion();
    return *m_found;
}

std::string NotesProbe::GetNotesVersionText() const {
    const Found& found = Read();
    return found.program.found ? "Lotus Notes " + found.program.Text() : found.release;
}

bool NotesProbe::CheckNotesVersion(const Version& minimum, const std::string& blacklist) const {
    const Found& found = Read();
    const Version version =
        found.program.found ? Version(found.program) : ParseVersionText(found.release);
    return IsVersionAccepted(version, minimum, blacklist);
}
