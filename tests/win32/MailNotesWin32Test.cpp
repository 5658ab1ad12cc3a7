#include "probes/mail/NotesProbeWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "MailWin32Support.h"
#include "platform/SystemLibraryWin32.h"

namespace {

using mailtest::FixtureFolder;
using mailtest::TestEnvironmentVariable;
using mailtest::TestKey;

const char kNotesKey[] = "SOFTWARE\\Lotus\\Notes";
const char kBlacklist[] = "5.0.11;6.0.0;6.0.1;";

// The Lotus Notes registry entry in one view of HKEY_LOCAL_MACHINE, for one test.
class NotesRegistration {
public:
    NotesRegistration(const std::string& path, const std::string& name, REGSAM view = 0)
        : m_key(HKEY_LOCAL_MACHINE, kNotesKey, view) {
        m_key.SetString("Path", path);
        m_key.SetString("Name", name);
    }

private:
    TestKey m_key;
};

TEST(NotesProbeWin32Test, NotInstalled) {
    NotesProbeWin32 notes;
    EXPECT_EQ(notes.Probe().GetNotesExecutablePath(), "");
    EXPECT_EQ(notes.Probe().GetNotesVersionText(), "");
    EXPECT_FALSE(notes.Probe().CheckNotesVersion(5, 0, 6, kBlacklist));
}

TEST(NotesProbeWin32Test, ProgramFileVersionComesBeforeTheReleaseText) {
    const std::string folder = FixtureFolder("notes_program");
    NotesRegistration registration(folder, "notes.exe");
    NotesProbeWin32 notes;
    EXPECT_EQ(notes.Probe().GetNotesExecutablePath(), folder + "notes.exe");
    EXPECT_EQ(notes.Probe().GetNotesProgramDir(), folder);
    EXPECT_EQ(notes.Probe().GetNotesVersionText(), "Lotus Notes 6.5.4");
    EXPECT_TRUE(notes.Probe().CheckNotesVersion(5, 0, 6, kBlacklist));
    // The release text beside it names a blacklisted release; it is not consulted.
    EXPECT_EQ(notes.Probe().ReadNstringsVersion(), "Release 5.0.11");
}

TEST(NotesProbeWin32Test, ReleaseTextsOfNstrings) {
    const struct {
        const char* folder;
        const char* text;
        bool accepted;
    } cases[] = {
        {"notes_release_5_0_11", "Release 5.0.11", false},
        {"notes_release_6_5_4_fp1", "Release 6.5.4 FP1", true},
        {"notes_bar_6_0_3", "6.0.3", true},
        {"notes_5_dot_dot_6", "5..6", true},
        {"notes_5_0_12_1", "5.0.12.1", true},
        {"notes_no_string_1", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        NotesRegistration registration(FixtureFolder(c.folder), "notes.exe");
        NotesProbeWin32 notes;
        EXPECT_EQ(notes.Probe().GetNotesVersionText(), c.text);
        EXPECT_EQ(notes.Probe().CheckNotesVersion(5, 0, 6, kBlacklist), c.accepted);
    }
}

TEST(NotesProbeWin32Test, EntryOfA32BitInstallerIsFound) {
    NotesRegistration registration(FixtureFolder("notes_program"), "notes.exe", KEY_WOW64_32KEY);
    NotesProbeWin32 notes;
    EXPECT_EQ(notes.Probe().GetNotesVersionText(), "Lotus Notes 6.5.4");
}

TEST(NotesProbeWin32Test, PathWithoutClosingBackslashFindsNothing) {
    std::string folder = FixtureFolder("notes_program");
    folder.pop_back();
    NotesRegistration registration(folder, "notes.exe");
    NotesProbeWin32 notes;
    EXPECT_EQ(notes.Probe().GetNotesVersionText(), "");
    EXPECT_FALSE(notes.Probe().CheckNotesVersion(5, 0, 6, kBlacklist));
}

TEST(NotesProbeWin32Test, NstringsIsReadAsDataAndItsCodeNeverRuns) {
    TestEnvironmentVariable ran("TARNVIK_NSTRINGS_RAN");
    NotesRegistration registration(FixtureFolder("notes_with_code"), "notes.exe");
    NotesProbeWin32 notes;
    EXPECT_EQ(notes.Probe().GetNotesVersionText(), "Release 7.0.2");
    EXPECT_TRUE(notes.Probe().CheckNotesVersion(5, 0, 6, kBlacklist));
    EXPECT_EQ(ran.Get(), "(unset)");
}

TEST(NotesProbeWin32Test, WithoutRegistryEntryTheBareNameIsSearchedAsData) {
    TestEnvironmentVariable ran("TARNVIK_NSTRINGS_RAN");
    char previous[MAX_PATH] = {};
    ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryA(FixtureFolder("notes_with_code").c_str()));
    NotesProbeWin32 notes;
    const std::string text = notes.Probe().GetNotesVersionText();
    ::SetCurrentDirectoryA(previous);
    EXPECT_EQ(text, "Release 7.0.2");
    EXPECT_EQ(ran.Get(), "(unset)");
}

// A copy of a fixture in a folder of its own, removed at the end of the test.
class TemporaryNotesFolder {
public:
    explicit TemporaryNotesFolder(const std::string& fixture) {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "tarnvik-notes-" + std::to_string(::GetCurrentProcessId()) +
                   "\\";
        EXPECT_TRUE(::CreateDirectoryA(m_folder.c_str(), nullptr)) << "CreateDirectoryA";
        EXPECT_TRUE(::CopyFileA((FixtureFolder(fixture) + "nstrings.dll").c_str(),
                                Library().c_str(), FALSE))
            << "CopyFileA";
    }
    TemporaryNotesFolder(const TemporaryNotesFolder&) = delete;
    TemporaryNotesFolder& operator=(const TemporaryNotesFolder&) = delete;
    ~TemporaryNotesFolder() {
        ::DeleteFileA(Library().c_str());
        EXPECT_TRUE(::RemoveDirectoryA(m_folder.c_str())) << "RemoveDirectoryA";
    }

    const std::string& Folder() const { return m_folder; }
    std::string Library() const { return m_folder + "nstrings.dll"; }

private:
    std::string m_folder;
};

TEST(NotesProbeWin32Test, NstringsIsUnmappedAfterReading) {
    TemporaryNotesFolder folder("notes_release_6_5_4_fp1");
    {
        // While the library is mapped its file cannot be deleted: that is what shows below
        // that the probe let it go.
        const platform::UniqueLibrary mapped = platform::LoadLibraryAsData(folder.Library());
        ASSERT_TRUE(mapped);
        if (::DeleteFileA(folder.Library().c_str())) {
            GTEST_SKIP() << "this system deletes mapped files; unmapping cannot be observed";
        }
    }
    NotesRegistration registration(folder.Folder(), "notes.exe");
    NotesProbeWin32 notes;
    EXPECT_EQ(notes.Probe().GetNotesVersionText(), "Release 6.5.4 FP1");
    EXPECT_TRUE(::DeleteFileA(folder.Library().c_str())) << "DeleteFileA: " << ::GetLastError();
}

}  // namespace
