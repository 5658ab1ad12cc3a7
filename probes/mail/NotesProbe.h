// Lotus Notes: its version from the program file the registry names, else from the
// release text in the string table of "nstrings.dll". Both files are read as data only.
#pragma once

#include <cstdint>
#include <string>

#include <cstddef>
#include <optional>

#include "platform/Registry.h"
#include "probes/software/ModuleVersion.h"

// What the Lotus Notes probe asks of the system.
class NotesSource : public virtual platform::RegistryReader, public virtual ModuleVersionSource {
public:
    // The string `id` of the library's string table, at most `maxChars - 1` characters,
    // read without running the library; a bare name is looked for along the search path,
    // PATH included. Empty when the library does not load or the string is missing or empty.
    virtual std::string ReadLibraryString(const std::string& libraryPath, unsigned id,
                                          std::size_t maxChars) const = 0;
};

class NotesProbe {
public:
    // `system` is not owned and must outlive the probe.
    explicit NotesProbe(const NotesSource& system) : m_system(system) {}

    // "Path" followed directly by "Name", or whichever of them could be read.
    std::string GetNotesExecutablePath() const;
    // "Path" alone (expected to end with a backslash), or empty.
    std::string GetNotesProgramDir() const;
    // The release text: string 1 of "nstrings.dll" up to its first '|', trimmed; or empty.
    std::string ReadNstringsVersion() const;

    // The three numbers of a release text such as "Release 6.5.4 FP1" (6, 5, 41).
    static Version ParseVersionText(const std::string& text);
    // The decimal digits of `text` joined and read as one number ("4 FP1" gives 41);
    // 0 without digits, 2147483647 when the digits exceed 32 bits.
    static std::int32_t DigitsToInt(const std::string& text);

    // "Lotus Notes 6.5.4" from the program file, else the release text unchanged, or empty.
    std::string GetNotesVersionText() const;
    bool CheckNotesVersion(const Version& minimum, const std::string& blacklist) const;

private:
    // The program file's version, and the release text where that yields none.
    struct Found {
        ModuleVersion program;
        std::string release;
    };
    // The registry and the files are read once, whatever asks for them first.
    const Found& Read() const;

    const NotesSource& m_system;
    mutable std::optional<Found> m_found;
};
