#include "probes/mail/NotesProbe.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "FakeRegistry.h"
#include "MailFakes.h"

namespace {

using platform::RegistryRoot;

const char kNotesKey[] = "SOFTWARE\\Lotus\\Notes";
const char kNotesBlacklist[] = "5.0.11;6.0.0;6.0.1;";

struct Parsed {
    std::int32_t major, minor, build;
    bool operator==(const Parsed& o) const {
        return major == o.major && minor == o.minor && build == o.build;
    }
};

std::ostream& operator<<(std::ostream& os, const Parsed& p) {
    return os << p.major << "." << p.minor << "." << p.build;
}

Parsed Parse(const std::string& text) {
    Parsed p{-7, -7, -7};  // the parse must overwrite all three
    NotesProbe::ParseVersionText(p.major, p.minor, p.build, text);
    return p;
}

class NotesProbeTest : public ::testing::Test {
protected:
    void Install(const std::string& path, const std::string& name) {
        registry.SetString(RegistryRoot::LocalMachine, kNotesKey, "Path", path);
        registry.SetString(RegistryRoot::LocalMachine, kNotesKey, "Name", name);
    }

    FakeRegistry registry;
    mailfakes::Versions versions;
    mailfakes::Strings strings;
    NotesProbe probe{registry, versions, strings};
};

TEST_F(NotesProbeTest, ExecutablePathGluesPathAndNameAndTakesWhatCanBeRead) {
    EXPECT_EQ(probe.GetNotesExecutablePath(), "");
    EXPECT_EQ(probe.GetNotesProgramDir(), "");
    registry.SetString(RegistryRoot::LocalMachine, kNotesKey, "Name", "notes.exe");
    EXPECT_EQ(probe.GetNotesExecutablePath(), "notes.exe");
    EXPECT_EQ(probe.GetNotesProgramDir(), "");
    registry.SetString(RegistryRoot::LocalMachine, kNotesKey, "Path", "C:\\Notes\\");
    registry.SetData(RegistryRoot::LocalMachine, kNotesKey, "Name", "");  // a value without data
    EXPECT_EQ(probe.GetNotesExecutablePath(), "C:\\Notes\\");
    Install("C:\\Lotus\\Notes\\", "notes.exe");
    EXPECT_EQ(probe.GetNotesExecutablePath(), "C:\\Lotus\\Notes\\notes.exe");
    EXPECT_EQ(probe.GetNotesProgramDir(), "C:\\Lotus\\Notes\\");
}

TEST_F(NotesProbeTest, RegistryIsReadUnderLocalMachineOnly) {
    registry.SetString(RegistryRoot::CurrentUser, kNotesKey, "Path", "C:\\Notes\\");
    registry.SetString(RegistryRoot::CurrentUser, kNotesKey, "Name", "notes.exe");
    EXPECT_EQ(probe.GetNotesExecutablePath(), "");
}

TEST_F(NotesProbeTest, ValuesAreReadWithUpTo8000Bytes) {
    const std::string longest = "C:\\" + std::string(7999 - 4, 'N') + "\\";
    Install(longest, std::string(7999, 'x'));
    EXPECT_EQ(probe.GetNotesProgramDir(), longest);
    EXPECT_EQ(probe.GetNotesExecutablePath(), longest + std::string(7999, 'x'));
    Install(longest + "N", std::string(8000, 'x'));
    EXPECT_EQ(probe.GetNotesProgramDir(), "");
    EXPECT_EQ(probe.GetNotesExecutablePath(), "");
}

TEST_F(NotesProbeTest, ReleaseTextIsString1OfNstringsInTheProgramDirectory) {
    Install("C:\\Notes\\", "notes.exe");
    strings.Set("C:\\Notes\\nstrings.dll", 1, "Release 5.0.11|November 12, 2002");
    strings.Set("C:\\Notes\\nstrings.dll", 2, "Release 9.9.9");
    EXPECT_EQ(probe.ReadNstringsVersion(), "Release 5.0.11");
    EXPECT_EQ(strings.Asked().back(), "C:\\Notes\\nstrings.dll");
    EXPECT_EQ(strings.LastMaxChars(), 1024u);
}

TEST_F(NotesProbeTest, WithoutPathTheBareLibraryNameIsAsked) {
    strings.Set("nstrings.dll", 1, "Release 6.5.4 FP1");
    EXPECT_EQ(probe.ReadNstringsVersion(), "Release 6.5.4 FP1");
    EXPECT_EQ(strings.Asked().back(), "nstrings.dll");
}

TEST_F(NotesProbeTest, ReleaseTextSkipsLeadingBarsAndIsTrimmed) {
    const struct {
        const char* string1;
        const char* release;
    } cases[] = {
        {"|6.0.3", "6.0.3"},
        {"|||6.0.3||x|", "6.0.3"},
        {" \tRelease 6.5.4 FP1 \r\n|x", "Release 6.5.4 FP1"},
        {"  |6.0", ""},  // the white space before the bar is the first token
        {"|||", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        strings.Set("nstrings.dll", 1, c.string1);
        EXPECT_EQ(probe.ReadNstringsVersion(), c.release) << "string 1: " << c.string1;
    }
}

TEST_F(NotesProbeTest, MissingLibraryOrStringGivesEmptyReleaseText) {
    Install("C:\\Notes\\", "notes.exe");
    strings.Set("nstrings.dll", 1, "Release 6.5.4");  // not where the registry points
    EXPECT_EQ(probe.ReadNstringsVersion(), "");
}

TEST(NotesParseVersionText, ReleaseTextsBecomeThreeNumbers) {
    EXPECT_EQ(Parse("Release 5.0.11"), (Parsed{5, 0, 11}));
    EXPECT_EQ(Parse("Release 6.5.4 FP1"), (Parsed{6, 5, 41}));
    EXPECT_EQ(Parse("6.0.3"), (Parsed{6, 0, 3}));
    EXPECT_EQ(Parse("5..6"), (Parsed{5, 6, 0}));
    EXPECT_EQ(Parse("5.0.12.1"), (Parsed{5, 0, 12}));
    EXPECT_EQ(Parse(".5.6."), (Parsed{5, 6, 0}));
    EXPECT_EQ(Parse("Release 6.0"), (Parsed{6, 0, 0}));
}

TEST(NotesParseVersionText, OnlyTheWordBeforeTheFirstBlankIsDropped) {
    EXPECT_EQ(Parse("Lotus Notes 6.5.4"), (Parsed{6, 5, 4}));  // "Notes 6" keeps its digit
    EXPECT_EQ(Parse("R5 5.0.8"), (Parsed{5, 0, 8}));
    EXPECT_EQ(Parse("Release\t5.0.8"), (Parsed{5, 0, 8}));      // a tab is no blank
    EXPECT_EQ(Parse("Release   7.0.2  "), (Parsed{7, 0, 2}));
}

TEST(NotesParseVersionText, NothingToParseGivesZeros) {
    EXPECT_EQ(Parse(""), (Parsed{0, 0, 0}));
    EXPECT_EQ(Parse("Release"), (Parsed{0, 0, 0}));
    EXPECT_EQ(Parse("..."), (Parsed{0, 0, 0}));
    EXPECT_EQ(Parse("   "), (Parsed{0, 0, 0}));
}

TEST(NotesDigitsToInt, JoinsEveryDigitAndSkipsEverythingElse) {
    EXPECT_EQ(NotesProbe::DigitsToInt(""), 0);
    EXPECT_EQ(NotesProbe::DigitsToInt("FP"), 0);
    EXPECT_EQ(NotesProbe::DigitsToInt("11"), 11);
    EXPECT_EQ(NotesProbe::DigitsToInt("4 FP1"), 41);
    EXPECT_EQ(NotesProbe::DigitsToInt("007"), 7);
    EXPECT_EQ(NotesProbe::DigitsToInt("-5"), 5);  // a sign is not a digit
    EXPECT_EQ(NotesProbe::DigitsToInt("1a2b3c"), 123);
}

TEST(NotesDigitsToInt, DigitsBeyond32BitsStayAtTheLargestValue) {
    EXPECT_EQ(NotesProbe::DigitsToInt("2147483647"), 2147483647);
    EXPECT_EQ(NotesProbe::DigitsToInt("2147483646x"), 2147483646);
    EXPECT_EQ(NotesProbe::DigitsToInt("2147483648"), 2147483647);
    EXPECT_EQ(NotesProbe::DigitsToInt("4294967297"), 2147483647);  // would wrap to 1
    EXPECT_EQ(NotesProbe::DigitsToInt(std::string(40, '9')), 2147483647);
    EXPECT_EQ(NotesProbe::DigitsToInt("000000000002147483647"), 2147483647);
}

TEST_F(NotesProbeTest, ProgramFileVersionComesFirst) {
    Install("C:\\Notes\\", "notes.exe");
    versions.Set("C:\\Notes\\notes.exe", mailfakes::Found(6, 5, 4));
    strings.Set("C:\\Notes\\nstrings.dll", 1, "Release 5.0.11");
    EXPECT_EQ(probe.GetNotesVersionText(), "Lotus Notes 6.5.4");
    EXPECT_TRUE(probe.CheckNotesVersion(5, 0, 6, kNotesBlacklist));
    EXPECT_TRUE(strings.Asked().empty());
}

TEST_F(NotesProbeTest, WithoutFileVersionTheReleaseTextIsShownUnchanged) {
    Install("C:\\Notes\\", "notes.exe");
    strings.Set("C:\\Notes\\nstrings.dll", 1, "Release 5.0.11|November 12, 2002");
    EXPECT_EQ(probe.GetNotesVersionText(), "Release 5.0.11");
    EXPECT_FALSE(probe.CheckNotesVersion(5, 0, 6, "5.0.11;"));
    strings.Set("C:\\Notes\\nstrings.dll", 1, "Release 5.0.12");
    EXPECT_TRUE(probe.CheckNotesVersion(5, 0, 6, "5.0.11;"));
}

TEST_F(NotesProbeTest, ReleaseTextIsParsedInsteadOfNumbersLeftByAFailedRead) {
    Install("C:\\Notes\\", "notes.exe");
    FileVersion partial;
    partial.major = 9;
    partial.minor = 9;
    versions.Set("C:\\Notes\\notes.exe", partial);
    strings.Set("C:\\Notes\\nstrings.dll", 1, "Release 5.0.5");
    EXPECT_FALSE(probe.CheckNotesVersion(5, 0, 6, ""));
    EXPECT_EQ(probe.GetNotesVersionText(), "Release 5.0.5");
}

TEST_F(NotesProbeTest, TestRunBlacklistRejectsTheReleasesItsMessageNames) {
    Install("C:\\Notes\\", "notes.exe");
    const struct {
        const char* release;
        bool accepted;
    } cases[] = {
        {"Release 5.0.11", false}, {"Release 6.0", false},       {"Release 6.0.1", false},
        {"Release 6.0.2", true},   {"Release 6.5.4 FP1", true},  {"Release 5.0.6", true},
        {"Release 5.0.5", false},  {"|6.0.3", true},             {"5..6", true},
        {"5.0.12.1", true},        {"Release 4.6.7", false},
    };
    for (const auto& c : cases) {
        strings.Set("C:\\Notes\\nstrings.dll", 1, c.release);
        EXPECT_EQ(probe.CheckNotesVersion(5, 0, 6, kNotesBlacklist), c.accepted) << c.release;
    }
}

TEST_F(NotesProbeTest, NothingInstalledGivesEmptyTextAndFails) {
    EXPECT_EQ(probe.GetNotesVersionText(), "");
    EXPECT_FALSE(probe.CheckNotesVersion(5, 0, 6, kNotesBlacklist));
    EXPECT_TRUE(versions.Asked().empty());
    EXPECT_EQ(strings.Asked().back(), "nstrings.dll");
}

TEST_F(NotesProbeTest, PathWithoutClosingBackslashFindsNothing) {
    Install("C:\\Notes", "notes.exe");
    versions.Set("C:\\Notes\\notes.exe", mailfakes::Found(6, 5, 4));
    strings.Set("C:\\Notes\\nstrings.dll", 1, "Release 6.5.4");
    EXPECT_EQ(probe.GetNotesVersionText(), "");
    EXPECT_FALSE(probe.CheckNotesVersion(5, 0, 6, kNotesBlacklist));
    EXPECT_EQ(versions.Asked().back(), "C:\\Notesnotes.exe");
    EXPECT_EQ(strings.Asked().back(), "C:\\Notesnstrings.dll");
}

}  // namespace
