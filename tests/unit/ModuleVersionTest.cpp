// Module versions: the library's answer, else its FileVersion text from one of four places.
#include <gtest/gtest.h>

#include <array>

#include "FakePc.h"

using Triple = std::array<std::int32_t, 3>;

TEST(ModuleVersion, AsksTheLibraryFirstThenSearchesFourPlacesInOrder) {
    const std::vector<std::string> places = {"C:\\WINDOWS\\x.dll", "C:\\WINDOWS\\system32\\x.dll", "x.dll", "\\x.dll"};
    // whether the export answers 4.5.6, FileVersion texts, places tried, numbers, found
    const std::tuple<bool, std::map<std::string, std::string>, std::size_t, Triple, bool> cases[] = {
        {true, {{"x.dll", "1.1.1"}}, 0, {4, 5, 6}, true},
        {false, {{"C:\\WINDOWS\\system32\\x.dll", "7.8.9"}}, 2, {7, 8, 9}, true},
        {false, {{"\\x.dll", "5, 50, 4807, 2300"}}, 4, {5, 50, 4807}, true},
        {false, {}, 4, {0, 0, 0}, false},
        // A partial parse leaves its numbers behind for callers that ignore `found`.
        {false, {{"C:\\WINDOWS\\x.dll", "1.2"}}, 4, {1, 2, 0}, false},
    };
    for (const auto& [exportAnswers, resources, tried, numbers, found] : cases) {
        FakePc pc;
        if (exportAnswers) pc.dllVersions["x.dll"] = FakePc::Version(4, 5, 6);
        pc.fileVersions = resources;
        const ModuleVersion version(pc, "x.dll");
        EXPECT_EQ(pc.versionPaths, std::vector<std::string>(places.begin(), places.begin() + tried));
        EXPECT_EQ((Triple{version.major, version.minor, version.build}), numbers);
        EXPECT_EQ(version.found, found);
    }
}

TEST(ModuleVersion, OnlySystemLibrariesAndLocalFilesOnlyAdministratorsCanWriteAreRun) {
    // name, a file or folder users may write, major: 6 from the export, 5 from the resource
    const std::tuple<const char*, const char*, std::int32_t> cases[] = {
        {"notes.dll", "notes.dll", 6},
        {"C:\\Notes\\notes.dll", "", 6},
        {"d:/notes/notes.dll", "", 6},
        {"C:\\notes.dll", "C:\\", 5},
        {"C:\\Notes\\notes.dll", "C:\\Notes", 5},
        {"C:\\Notes\\notes.dll", "C:\\Notes\\notes.dll", 5},
        {"\\\\server\\notes\\notes.dll", "", 5},
        {"\\\\?\\UNC\\server\\notes\\notes.dll", "", 5},
        {"Notes\\notes.dll", "", 5},
        {"C:notes.dll", "", 5},
        {"\\notes.dll", "", 5},
    };
    for (const auto& [name, writable, major] : cases) {
        FakePc pc;
        pc.writableByUsers = {writable};
        pc.dllVersions[name] = FakePc::Version(6, 5, 4);
        pc.fileVersions[name] = "5.0.1";
        EXPECT_EQ(ModuleVersion(pc, name).major, major) << name << " with " << writable;
        EXPECT_EQ(ModuleVersion(pc, name, ReadAsData()).major, 5) << name;
    }
}

TEST(ModuleVersion, ParsesThreeNumbersAtDotsElseAtCommasBeforeTheFirstDot) {
    constexpr std::int32_t kUnset = -1;
    const std::tuple<const char*, Triple, bool> cases[] = {
        {"6.00.2900.2180 (xpsp_sp2_rtm.040803-2158)", {6, 0, 2900}, true},
        {"5, 50, 4807, 2300", {5, 50, 4807}, true},
        {"..7..8.. 9", {7, 8, 9}, true},
        {"99999999999.1.2", {INT32_MAX, 1, 2}, true},
        // The comma pass sees only "1,2": the first pass cut the text at its first dot.
        {"1,2.3,4", {1, 2, kUnset}, false},
    };
    const std::string sevens(300, '7');  // a reported length of 256 or more leaves 250 characters
    EXPECT_EQ(ClipVersionText(sevens.c_str(), 255), sevens.substr(0, 255));
    EXPECT_EQ(ClipVersionText(sevens.c_str(), 256), sevens.substr(0, 250));
    for (const auto& [text, expected, parsed] : cases) {
        Triple numbers = {kUnset, kUnset, kUnset};
        EXPECT_EQ(ParseVersionTriple(text, numbers[0], numbers[1], numbers[2]), parsed) << text;
        EXPECT_EQ(numbers, expected) << text;
    }
}

TEST(ModuleVersion, OnlyASingleTranslationNamesTheStringBlock) {
    const unsigned char pairs[] = {0x09, 0x04, 0xB0, 0x04, 0x1B, 0x04, 0xE2, 0x04};
    constexpr std::uint16_t kSlovak = 0x041B;
    EXPECT_EQ(FileVersionSubBlock(pairs, 4, kSlovak), "\\StringFileInfo\\040904B0\\FileVersion");
    EXPECT_EQ(FileVersionSubBlock(pairs, 8, kSlovak), "\\StringFileInfo\\041B04B0\\FileVersion");
}
