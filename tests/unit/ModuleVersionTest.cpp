#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "probes/software/ModuleVersion.h"
#include "probes/software/ModuleVersionDetection.h"

namespace {

using module_version::BuildSearchPath;
using module_version::ClipVersionText;
using module_version::DllVersion;
using module_version::FileVersionSubBlock;
using module_version::IsBareName;
using module_version::ParseVersionTriple;
using module_version::SearchLocation;

constexpr std::int32_t kUntouched = -777;

struct Triple {
    std::int32_t major = kUntouched;
    std::int32_t minor = kUntouched;
    std::int32_t build = kUntouched;
    bool ok = false;
};

Triple Parse(const std::string& text) {
    Triple t;
    t.ok = ParseVersionTriple(text, t.major, t.minor, t.build);
    return t;
}

// --- ParseVersionTriple ---------------------------------------------------------------

TEST(ModuleVersionParse, DottedVersionWithSuffixGivesFirstThreeNumbers) {
    const Triple t = Parse("6.00.2900.2180 (xpsp_sp2_rtm.040803-2158)");
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(6, t.major);
    EXPECT_EQ(0, t.minor);
    EXPECT_EQ(2900, t.build);
}

TEST(ModuleVersionParse, CommaVersionIsReadByTheSecondPass) {
    const Triple t = Parse("5, 50, 4807, 2300");
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(5, t.major);
    EXPECT_EQ(50, t.minor);
    EXPECT_EQ(4807, t.build);
}

TEST(ModuleVersionParse, TwoComponentsFailButStayStored) {
    const Triple t = Parse("1.2");
    EXPECT_FALSE(t.ok);
    EXPECT_EQ(1, t.major);
    EXPECT_EQ(2, t.minor);
    EXPECT_EQ(kUntouched, t.build);
}

TEST(ModuleVersionParse, CommaPassSeesOnlyTheTextBeforeTheFirstDot) {
    // "7,8,9" stands before the first dot: the comma pass finds all three there.
    const Triple before = Parse("7,8,9.1");
    EXPECT_TRUE(before.ok);
    EXPECT_EQ(7, before.major);
    EXPECT_EQ(8, before.minor);
    EXPECT_EQ(9, before.build);

    // The commas stand after the first dot: the comma pass sees "3" alone. The dot pass
    // has already stored 3 and the leading number of "4,5,6".
    const Triple after = Parse("3.4,5,6");
    EXPECT_FALSE(after.ok);
    EXPECT_EQ(3, after.major);
    EXPECT_EQ(4, after.minor);
    EXPECT_EQ(kUntouched, after.build);
}

TEST(ModuleVersionParse, SkippedLeadingDelimitersAreNotACut) {
    // Leading dots are skipped, not cut off, so the comma pass sees the whole text and
    // ".5" reads as 0.
    const Triple t = Parse(".5,50,4807");
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(0, t.major);
    EXPECT_EQ(50, t.minor);
    EXPECT_EQ(4807, t.build);
}

TEST(ModuleVersionParse, RunsOfDelimitersCountAsOne) {
    const Triple t = Parse("..1...2..3..");
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(1, t.major);
    EXPECT_EQ(2, t.minor);
    EXPECT_EQ(3, t.build);
}

TEST(ModuleVersionParse, NumbersSkipWhiteSpaceTakeASignAndStopAtANonDigit) {
    const Triple t = Parse(" \t5. x7.-2b");
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(5, t.major);
    EXPECT_EQ(0, t.minor);
    EXPECT_EQ(-2, t.build);
}

TEST(ModuleVersionParse, OverlongNumbersSaturate) {
    const Triple t = Parse("99999999999999999999.-99999999999999999999.2147483647");
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(std::numeric_limits<std::int32_t>::max(), t.major);
    EXPECT_EQ(std::numeric_limits<std::int32_t>::min(), t.minor);
    EXPECT_EQ(std::numeric_limits<std::int32_t>::max(), t.build);
}

TEST(ModuleVersionParse, EmptyTextStoresNothing) {
    const Triple t = Parse("");
    EXPECT_FALSE(t.ok);
    EXPECT_EQ(kUntouched, t.major);
    EXPECT_EQ(kUntouched, t.minor);
    EXPECT_EQ(kUntouched, t.build);
}

TEST(ModuleVersionParse, TextOfOneDelimiterKindIsOneTokenForTheOther) {
    // Only dots: no dot token, but the comma pass reads "..." as one number, 0.
    const Triple dots = Parse("...");
    EXPECT_FALSE(dots.ok);
    EXPECT_EQ(0, dots.major);
    EXPECT_EQ(kUntouched, dots.minor);
    // Only commas: the dot pass reads ",,," as one number, the comma pass finds none.
    const Triple commas = Parse(",,,");
    EXPECT_FALSE(commas.ok);
    EXPECT_EQ(0, commas.major);
    EXPECT_EQ(kUntouched, commas.minor);
}

// --- ClipVersionText ------------------------------------------------------------------

TEST(ModuleVersionClip, ReportedLengthOf256OrMoreKeeps250Characters) {
    const std::string longText(300, '7');
    EXPECT_EQ(std::string(250, '7'), ClipVersionText(longText.c_str(), 300));
    const std::string text256(256, '7');
    EXPECT_EQ(std::string(250, '7'), ClipVersionText(text256.c_str(), 256));
}

TEST(ModuleVersionClip, ShorterTextIsKeptWhole) {
    const std::string text255(255, '7');
    EXPECT_EQ(text255, ClipVersionText(text255.c_str(), 255));
    EXPECT_EQ("1.2.3", ClipVersionText("1.2.3", 6));
    EXPECT_EQ("", ClipVersionText(nullptr, 0));
}

TEST(ModuleVersionClip, CutCanHideTheThirdComponent) {
    // The third number stands beyond character 250 of a 255-character text.
    const std::string text = "4.5" + std::string(250, ' ') + ".6";
    std::int32_t major = 0, minor = 0, build = 0;
    EXPECT_TRUE(ParseVersionTriple(text, major, minor, build));
    EXPECT_FALSE(ParseVersionTriple(ClipVersionText(text.c_str(), text.size() + 1), major,
                                    minor, build));
}

// --- FileVersionSubBlock --------------------------------------------------------------

TEST(ModuleVersionSubBlock, SinglePairNamesTheBlockLanguageFirst) {
    const unsigned char usUnicode[] = {0x09, 0x04, 0xB0, 0x04};
    EXPECT_EQ("\\StringFileInfo\\040904B0\\FileVersion",
              FileVersionSubBlock(usUnicode, sizeof(usUnicode), 0x041B));
    const unsigned char slovakCentralEurope[] = {0x1B, 0x04, 0xE2, 0x04};
    EXPECT_EQ("\\StringFileInfo\\041B04E2\\FileVersion",
              FileVersionSubBlock(slovakCentralEurope, sizeof(slovakCentralEurope), 0x0409));
}

TEST(ModuleVersionSubBlock, OtherwiseUserLanguageWithUnicodeCodePage) {
    const unsigned char twoPairs[] = {0x09, 0x04, 0xB0, 0x04, 0x07, 0x04, 0xE4, 0x04};
    EXPECT_EQ("\\StringFileInfo\\041B04B0\\FileVersion",
              FileVersionSubBlock(twoPairs, sizeof(twoPairs), 0x041B));
    EXPECT_EQ("\\StringFileInfo\\0C0A04B0\\FileVersion",
              FileVersionSubBlock(nullptr, 0, 0x0C0A));
    EXPECT_EQ("\\StringFileInfo\\040904B0\\FileVersion", FileVersionSubBlock(twoPairs, 2, 0x0409));
}

// --- Names and search paths -----------------------------------------------------------

TEST(ModuleVersionSearchPath, EachLocationPrefixesItsDirectory) {
    const std::string win = "C:\\WINDOWS", sys = "C:\\WINDOWS\\system32";
    EXPECT_EQ("C:\\WINDOWS\\shlwapi.dll",
              BuildSearchPath("shlwapi.dll", SearchLocation::WindowsDirectory, win, sys));
    EXPECT_EQ("C:\\WINDOWS\\system32\\shlwapi.dll",
              BuildSearchPath("shlwapi.dll", SearchLocation::SystemDirectory, win, sys));
    EXPECT_EQ("shlwapi.dll", BuildSearchPath("shlwapi.dll", SearchLocation::AsGiven, win, sys));
    EXPECT_EQ("\\shlwapi.dll",
              BuildSearchPath("shlwapi.dll", SearchLocation::DriveRoot, win, sys));
}

TEST(ModuleVersionSearchPath, UnknownDirectoryLeavesTheNameUnchanged) {
    EXPECT_EQ("a.dll", BuildSearchPath("a.dll", SearchLocation::WindowsDirectory, "", "S"));
    EXPECT_EQ("a.dll", BuildSearchPath("a.dll", SearchLocation::SystemDirectory, "W", ""));
}

TEST(ModuleVersionSearchPath, OnlyNamesWithoutDirectoryAreBare) {
    EXPECT_TRUE(IsBareName("shlwapi.dll"));
    EXPECT_FALSE(IsBareName("C:\\Program Files\\Office\\OUTLLIB.DLL"));
    EXPECT_FALSE(IsBareName("sub/x.dll"));
    EXPECT_FALSE(IsBareName("C:x.dll"));
}

// --- Detection order ------------------------------------------------------------------

class FakeVersionSource final : public module_version::VersionSource {
public:
    std::optional<DllVersion> dllVersion;
    std::map<std::string, std::string> versionTexts;  // path -> FileVersion text
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    mutable std::vector<std::string> dllQueries;
    mutable std::vector<std::string> resourceQueries;

    std::optional<DllVersion> QueryDllGetVersion(const std::string& fileName) const override {
        dllQueries.push_back(fileName);
        return dllVersion;
    }
    std::optional<std::string> QueryFileVersionString(const std::string& path) const override {
        resourceQueries.push_back(path);
        const auto it = versionTexts.find(path);
        if (it == versionTexts.end()) return std::nullopt;
        return it->second;
    }
    std::string WindowsDirectory() const override { return windowsDirectory; }
    std::string SystemDirectory() const override { return systemDirectory; }
};

class DetectedVersion : public ModuleVersion {
public:
    DetectedVersion(const module_version::VersionSource& source, const std::string& name)
        : ModuleVersion(source, name) {}
};

const std::vector<std::string> kAllBarePaths = {
    "C:\\WINDOWS\\x.dll", "C:\\WINDOWS\\system32\\x.dll", "x.dll", "\\x.dll"};

TEST(ModuleVersionDetection, DllGetVersionAnswerWinsWithoutReadingResources) {
    FakeVersionSource source;
    source.dllVersion = DllVersion{6, 0, 2900};
    source.versionTexts["C:\\WINDOWS\\x.dll"] = "9.9.9";
    const DetectedVersion v(source, "x.dll");
    EXPECT_TRUE(v.found);
    EXPECT_EQ(6, v.major);
    EXPECT_EQ(0, v.minor);
    EXPECT_EQ(2900, v.build);
    EXPECT_EQ(std::vector<std::string>{"x.dll"}, source.dllQueries);
    EXPECT_TRUE(source.resourceQueries.empty());
}

TEST(ModuleVersionDetection, ResourcesAreTriedInOrderUntilTheFirstSuccess) {
    FakeVersionSource source;
    source.versionTexts["x.dll"] = "5, 50, 4807, 2300";
    source.versionTexts["\\x.dll"] = "1.1.1";
    const DetectedVersion v(source, "x.dll");
    EXPECT_TRUE(v.found);
    EXPECT_EQ(5, v.major);
    EXPECT_EQ(50, v.minor);
    EXPECT_EQ(4807, v.build);
    const std::vector<std::string> expected(kAllBarePaths.begin(), kAllBarePaths.begin() + 3);
    EXPECT_EQ(expected, source.resourceQueries);
}

TEST(ModuleVersionDetection, FullPathIsFoundByTheAsGivenAttempt) {
    FakeVersionSource source;
    const std::string path = "C:\\Office\\OUTLLIB.DLL";
    source.versionTexts[path] = "9.0.0.4527";
    const DetectedVersion v(source, path);
    EXPECT_TRUE(v.found);
    EXPECT_EQ(9, v.major);
    EXPECT_EQ(0, v.minor);
    EXPECT_EQ(0, v.build);
    const std::vector<std::string> expected = {"C:\\WINDOWS\\" + path,
                                               "C:\\WINDOWS\\system32\\" + path, path};
    EXPECT_EQ(expected, source.resourceQueries);
}

TEST(ModuleVersionDetection, PartialParsesLeaveNumbersAndLaterAttemptsOverwrite) {
    FakeVersionSource source;
    source.versionTexts["C:\\WINDOWS\\x.dll"] = "1.2";
    {
        const DetectedVersion v(source, "x.dll");
        EXPECT_FALSE(v.found);
        EXPECT_EQ(1, v.major);
        EXPECT_EQ(2, v.minor);
        EXPECT_EQ(0, v.build);
    }
    source.versionTexts["\\x.dll"] = "3.4.5";
    const DetectedVersion v(source, "x.dll");
    EXPECT_TRUE(v.found);
    EXPECT_EQ(3, v.major);
    EXPECT_EQ(4, v.minor);
    EXPECT_EQ(5, v.build);
}

TEST(ModuleVersionDetection, NameFoundNowhereTriesFiveTimesAndStaysZero) {
    FakeVersionSource source;
    const DetectedVersion v(source, "x.dll");
    EXPECT_FALSE(v.found);
    EXPECT_EQ(0, v.major);
    EXPECT_EQ(0, v.minor);
    EXPECT_EQ(0, v.build);
    EXPECT_EQ(1u, source.dllQueries.size());
    EXPECT_EQ(kAllBarePaths, source.resourceQueries);
}

TEST(ModuleVersionDetection, MissingDirectoriesFallBackToTheNameAsGiven) {
    FakeVersionSource source;
    source.windowsDirectory.clear();
    source.systemDirectory.clear();
    const DetectedVersion v(source, "x.dll");
    EXPECT_FALSE(v.found);
    const std::vector<std::string> expected = {"x.dll", "x.dll", "x.dll", "\\x.dll"};
    EXPECT_EQ(expected, source.resourceQueries);
}

}  // namespace
