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
    const std::string release =
        m_system.ReadLibraryString(GetNotesProgramDir() + "nstrings.dll", kReleaseStringId,
                                   kReleaseMaxChars);
    std::size_t pos = 0;
    // Further fields follow a '|'; bars in front of the release text are skipped.
    return text::Trim(text::Tokenize(release, "|", pos));
}

void NotesProbe::ParseVersionText(std::int32_t& major, std::int32_t& minor, std::int32_t& build,
                                  const std::string& text) {
    major = 0;
    minor = 0;
    build = 0;
    // A word before the first blank ("Release") is not part of the version.
    const std::size_t blank = text.find(' ');
    const std::string version = text::Trim(blank == std::string::npos ? text : text.substr(blank));
    std::int32_t* const components[] = {&major, &minor, &build};
    std::size_t pos = 0;
    std::size_t index = 0;
    for (std::string token = text::Tokenize(version, ".", pos); !token.empty();
         token = text::Tokenize(version, ".", pos)) {
        if (index < 3) *components[index++] = DigitsToInt(token);
    }
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

ModuleVersion NotesProbe::ReadExecutableVersion() const {
    const std::string path = GetNotesExecutablePath();
    if (path.empty()) return ModuleVersion();
    return ModuleVersion(m_system, path, ReadAsData());
}

std::string NotesProbe::GetNotesVersionText() const {
    const ModuleVersion version = ReadExecutableVersion();
    if (!version.found) return ReadNstringsVersion();
    return text::Format("Lotus Notes %d.%d.%d", static_cast<int>(version.major),
                        static_cast<int>(version.minor), static_cast<int>(version.build));
}

bool NotesProbe::CheckNotesVersion(std::int32_t minMajor, std::int32_t minMinor,
                                   std::int32_t minBuild, const std::string& blacklist) const {
    ModuleVersion version = ReadExecutableVersion();
    if (!version.found) {
        ParseVersionText(version.major, version.minor, version.build, ReadNstringsVersion());
    }
    return IsVersionAccepted(version.major, version.minor, version.build, minMajor, minMinor,
                             minBuild, blacklist);
}
