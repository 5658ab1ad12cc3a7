#include "probes/mail/NotesProbe.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "FakeRegistry.h"
#include "MailFakes.h"

namespace {

using platform::RegistryRoot;

const char kNotesKey[] = "SOFTWARE\\Lotus\\Notes";
const char kNstrings[] = "C:\\Notes\\nstrings.dll";
const char kBlacklist[] = "5.0.11;6.0.0;6.0.1;";

class NotesProbeTest : public ::testing::Test {
protected:
    void Install(const std::string& path, const std::string& name,
                 RegistryRoot root = RegistryRoot::LocalMachine) {
        registry.SetString(root, kNotesKey, "Path", path);
        registry.SetString(root, kNotesKey, "Name", name);
    }

    FakeRegistry registry;
    mailfakes::Versions versions;
    mailfakes::Strings strings;
    NotesProbe probe{registry, versions, strings};
};

TEST_F(NotesProbeTest, ExecutablePathGluesPathAndNameAndTakesWhatCanBeRead) {
    Install("C:\\Notes\\", "notes.exe", RegistryRoot::CurrentUser);  // does not count
    EXPECT_EQ(probe.GetNotesExecutablePath(), "");
    registry.SetString(RegistryRoot::LocalMachine, kNotesKey, "Name", "notes.exe");
    EXPECT_EQ(probe.GetNotesExecutablePath(), "notes.exe");
    EXPECT_EQ(probe.GetNotesProgramDir(), "");
    registry.SetString(RegistryRoot::LocalMachine, kNotesKey, "Path", "C:\\Notes\\");
    registry.SetData(RegistryRoot::LocalMachine, kNotesKey, "Name", "");  // a value without data
    EXPECT_EQ(probe.GetNotesExecutablePath(), "C:\\Notes\\");
    Install("C:\\Lotus\\Notes\\", "notes.exe");
    EXPECT_EQ(probe.GetNotesExecutablePath(), "C:\\Lotus\\Notes\\notes.exe");
    EXPECT_EQ(probe.GetNotesProgramDir(), "C:\\Lotus\\Notes\\");

    // Each value is read into 8000 bytes.
    const std::string longest = "C:\\" + std::string(7999 - 4, 'N') + "\\";
    Install(longest, std::string(7999, 'x'));
    EXPECT_EQ(probe.GetNotesExecutablePath(), longest + std::string(7999, 'x'));
    Install(longest + "N", std::string(8000, 'x'));
    EXPECT_EQ(probe.GetNotesExecutablePath(), "");
}

TEST_F(NotesProbeTest, ReleaseTextIsString1OfNstringsInTheProgramDirectory) {
    Install("C:\\Notes\\", "notes.exe");
    strings.Set(kNstrings, 1, "Release 5.0.11|November 12, 2002");
    strings.Set(kNstrings, 2, "Release 9.9.9");
    strings.Set("nstrings.dll", 1, "Release 6.5.4");  // not where the registry points
    EXPECT_EQ(probe.ReadNstringsVersion(), "Release 5.0.11");
    EXPECT_EQ(strings.asked.back(), kNstrings);
    EXPECT_EQ(strings.lastMaxChars, 1024u);
    strings.Set(kNstrings, 1, "");
    EXPECT_EQ(probe.ReadNstringsVersion(), "");
}

TEST_F(NotesProbeTest, WithoutPathTheBareLibraryNameIsAskedAndItsTextTrimmed) {
    const std::pair<const char*, const char*> cases[] = {
        {"|6.0.3", "6.0.3"}, {"|||6.0.3||x|", "6.0.3"}, {"|||", ""},
        {" \tRelease 6.5.4 FP1 \r\n|x", "Release 6.5.4 FP1"},
        {"  |6.0", ""},  // the white space before the bar is the first token
    };
    for (const auto& [string1, release] : cases) {
        strings.Set("nstrings.dll", 1, string1);
        EXPECT_EQ(probe.ReadNstringsVersion(), release) << "string 1: " << string1;
    }
}

TEST(NotesProbeParse, ReleaseTextsBecomeThreeNumbersAfterTheFirstWord) {
    const std::pair<const char*, std::array<std::int32_t, 3>> cases[] = {
        {"Release 5.0.11", {5, 0, 11}}, {"Release 6.5.4 FP1", {6, 5, 41}}, {"6.0.3", {6, 0, 3}},
        {"5..6", {5, 6, 0}},            {"5.0.12.1", {5, 0, 12}},          {".5.6.", {5, 6, 0}},
        {"Release 6.0", {6, 0, 0}},     {"Release   7.0.2  ", {7, 0, 2}},  {"R5 5.0.8", {5, 0, 8}},
        {"Lotus Notes 6.5.4", {6, 5, 4}},  // "Notes 6" keeps its digit
        {"R5\t5.0.8", {55, 0, 8}},          // a tab is no blank
        {"", {0, 0, 0}}, {"Release", {0, 0, 0}}, {"...", {0, 0, 0}}, {"   ", {0, 0, 0}},
    };
    for (const auto& [text, expected] : cases) {
        std::array<std::int32_t, 3> parsed{-7, -7, -7};  // the parse must overwrite all three
        NotesProbe::ParseVersionText(parsed[0], parsed[1], parsed[2], text);
        EXPECT_EQ(parsed, expected) << text;
    }
}

TEST(NotesProbeParse, DigitsJoinSkippingEverythingElseAndStopAtTheLargestValue) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"", 0}, {"FP", 0}, {"11", 11}, {"4 FP1", 41}, {"007", 7}, {"1a2b3c", 123},
        {"-5", 5},  // a sign is not a digit
        {"2147483647", 2147483647}, {"2147483646x", 2147483646}, {"2147483648", 2147483647},
        {"4294967297", 2147483647},  // would wrap to 1
        {std::string(40, '9'), 2147483647}, {"000000000002147483647", 2147483647},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(NotesProbe::DigitsToInt(text), value) << text;
}

TEST_F(NotesProbeTest, ProgramFileVersionComesFirstThenTheReleaseText) {
    Install("C:\\Notes\\", "notes.exe");
    versions.byName["C:\\Notes\\notes.exe"] = FileVersion{6, 5, 4, true};
    strings.Set(kNstrings, 1, "Release 5.0.11|November 12, 2002");
    EXPECT_EQ(probe.GetNotesVersionText(), "Lotus Notes 6.5.4");
    EXPECT_TRUE(probe.CheckNotesVersion(5, 0, 6, kBlacklist));
    EXPECT_TRUE(strings.asked.empty());

    // Numbers left behind by a failed read are not used: the release text is shown unchanged
    // and parsed for the check.
    versions.byName["C:\\Notes\\notes.exe"] = FileVersion{9, 9, 0, false};
    EXPECT_EQ(probe.GetNotesVersionText(), "Release 5.0.11");
    EXPECT_FALSE(probe.CheckNotesVersion(5, 0, 6, "5.0.11;"));
    strings.Set(kNstrings, 1, "Release 5.0.12");
    EXPECT_TRUE(probe.CheckNotesVersion(5, 0, 6, "5.0.11;"));
    strings.Set(kNstrings, 1, "Release 5.0.5");
    EXPECT_FALSE(probe.CheckNotesVersion(5, 0, 6, ""));
}

TEST_F(NotesProbeTest, NothingInstalledGivesEmptyTextAndFails) {
    EXPECT_EQ(probe.GetNotesVersionText(), "");
    EXPECT_FALSE(probe.CheckNotesVersion(5, 0, 6, kBlacklist));
    EXPECT_TRUE(versions.asked.empty());
    EXPECT_EQ(strings.asked.back(), "nstrings.dll");
}

TEST_F(NotesProbeTest, PathWithoutClosingBackslashFindsNothing) {
    Install("C:\\Notes", "notes.exe");
    versions.byName["C:\\Notes\\notes.exe"] = FileVersion{6, 5, 4, true};
    strings.Set(kNstrings, 1, "Release 6.5.4");
    EXPECT_EQ(probe.GetNotesVersionText(), "");
    EXPECT_FALSE(probe.CheckNotesVersion(5, 0, 6, kBlacklist));
    EXPECT_EQ(versions.asked.back(), "C:\\Notesnotes.exe");
    EXPECT_EQ(strings.asked.back(), "C:\\Notesnstrings.dll");
}

}  // namespace
