#include "probes/mail/NotesProbeWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Win32TestSupport.h"
#include "platform/SystemLibraryWin32.h"

namespace {

using namespace win32test;

const char kBlacklist[] = "5.0.11;6.0.0;6.0.1;";

// The Lotus Notes registry entry in one view of HKEY_LOCAL_MACHINE, for one test.
struct NotesRegistration : TestKey {
    explicit NotesRegistration(const std::string& path, REGSAM view = 0)
        : TestKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Lotus\\Notes", view) {
        SetString("Path", path);
        SetString("Name", "notes.exe");
    }
};

TEST(NotesProbeWin32Test, NotInstalled) {
    NotesProbeWin32 notes;
    EXPECT_EQ(notes.Probe().GetNotesExecutablePath(), "");
    EXPECT_EQ(notes.Probe().GetNotesVersionText(), "");
    EXPECT_FALSE(notes.Probe().CheckNotesVersion(5, 0, 6, kBlacklist));
}

TEST(NotesProbeWin32Test, ProgramFileVersionComesBeforeTheReleaseText) {
    const std::string folder = FixtureFolder("notes_program");
    const NotesRegistration registration(folder);
    NotesProbeWin32 notes;
    EXPECT_EQ(notes.Probe().GetNotesExecutablePath(), folder + "notes.exe");
    EXPECT_EQ(notes.Probe().GetNotesProgramDir(), folder);
    EXPECT_EQ(notes.Probe().GetNotesVersionText(), "Lotus Notes 6.5.4");
    EXPECT_TRUE(notes.Probe().CheckNotesVersion(5, 0, 6, kBlacklist));
    // The release text beside it names a blacklisted release; it is not consulted.
    EXPECT_EQ(notes.Probe().ReadNstringsVersion(), "Release 5.0.11");
}

TEST(NotesProbeWin32Test, VersionOfEachRegisteredFolder) {
    // nstrings.dll is only ever read as data: the one with code would set the variable.
    const TestEnvironmentVariable ran("TARNVIK_NSTRINGS_RAN");
    std::string withoutBackslash = FixtureFolder("notes_program");
    withoutBackslash.pop_back();
    const struct {
        std::string path;
        REGSAM view;
        const char* text;
        bool accepted;
    } cases[] = {
        {FixtureFolder("notes_release_5_0_11"), 0, "Release 5.0.11", false},
        {FixtureFolder("notes_release_6_5_4_fp1"), 0, "Release 6.5.4 FP1", true},
        {FixtureFolder("notes_bar_6_0_3"), 0, "6.0.3", true},
        {FixtureFolder("notes_5_dot_dot_6"), 0, "5..6", true},
        {FixtureFolder("notes_5_0_12_1"), 0, "5.0.12.1", true},
        {FixtureFolder("notes_no_string_1"), 0, "", false},
        {FixtureFolder("notes_with_code"), 0, "Release 7.0.2", true},
        {FixtureFolder("notes_program"), KEY_WOW64_32KEY, "Lotus Notes 6.5.4", true},  // 32-bit installer
        {withoutBackslash, 0, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const NotesRegistration registration(c.path, c.view);
        NotesProbeWin32 notes;
        EXPECT_EQ(notes.Probe().GetNotesVersionText(), c.text);
        EXPECT_EQ(notes.Probe().CheckNotesVersion(5, 0, 6, kBlacklist), c.accepted);
    }
    EXPECT_EQ(ran.Get(), "(unset)");
}

TEST(NotesProbeWin32Test, WithoutRegistryEntryTheBareNameIsSearchedAsData) {
    const TestEnvironmentVariable ran("TARNVIK_NSTRINGS_RAN");
    std::string text;
    {
        const WorkingDirectory current(FixtureFolder("notes_with_code"));
        text = NotesProbeWin32().Probe().GetNotesVersionText();
    }
    EXPECT_EQ(text, "Release 7.0.2");
    EXPECT_EQ(ran.Get(), "(unset)");
}

TEST(NotesProbeWin32Test, NstringsIsUnmappedAfterReading) {
    // The temporary folder holds no other nstrings.dll.
    char folder[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathA(MAX_PATH, folder), 0u);
    const std::string library = std::string(folder) + "nstrings.dll";
    const TestFile copy(FixtureFolder("notes_release_6_5_4_fp1") + "nstrings.dll", library);
    {
        // While the library is mapped its file cannot be deleted: that is what shows below
        // that the probe let it go.
        const platform::UniqueLibrary mapped = platform::LoadLibraryAsData(library);
        ASSERT_TRUE(mapped);
        if (::DeleteFileA(library.c_str())) GTEST_SKIP() << "this system deletes mapped files";
    }
    const NotesRegistration registration(folder);
    NotesProbeWin32 notes;
    EXPECT_EQ(notes.Probe().GetNotesVersionText(), "Release 6.5.4 FP1");
    EXPECT_TRUE(::DeleteFileA(library.c_str())) << "DeleteFileA: " << ::GetLastError();
}

}  // namespace
