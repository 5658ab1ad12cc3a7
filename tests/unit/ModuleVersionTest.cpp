#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "probes/software/ModuleVersion.h"
#include "probes/software/ModuleVersionDetection.h"

namespace {

using module_version::DllVersion;
using Version = std::tuple<bool, std::int32_t, std::int32_t, std::int32_t>;

constexpr std::int32_t U = -777;  // a number the parse leaves untouched
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// The dot pass runs first; the comma pass sees only the text before the first dot.
// Every number is stored as soon as it is parsed, also when the parse fails.
TEST(ModuleVersionParse, ReadsThreeNumbersFromDottedOrCommaText) {
    const struct {
        const char* text;
        Version expected;
    } cases[] = {
        {"6.00.2900.2180 (xpsp_sp2_rtm.040803-2158)", {true, 6, 0, 2900}},
        {"5, 50, 4807, 2300", {true, 5, 50, 4807}},
        {"1.2", {false, 1, 2, U}},
        {"7,8,9.1", {true, 7, 8, 9}},
        // The comma pass sees "3" alone; the dot pass has stored 3 and the 4 of "4,5,6".
        {"3.4,5,6", {false, 3, 4, U}},
        // The cut is where the first dot token ended, not the last.
        {"1,2.3,4,5.", {false, 1, 2, U}},
        // Skipped leading dots are no cut: the comma pass sees it all and ".5" reads as 0.
        {".5,50,4807", {true, 0, 50, 4807}},
        {"..1...2..3..", {true, 1, 2, 3}},
        {" \t5. x7.-2b", {true, 5, 0, -2}},
        {"99999999999999999999.-99999999999999999999.2147483647", {true, kMax, kMin, kMax}},
        {"", {false, U, U, U}},
        // Text of one delimiter kind is a single number, 0, for the other pass.
        {"...", {false, 0, U, U}},
        {",,,", {false, 0, U, U}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::int32_t major = U, minor = U, build = U;
        const bool ok = module_version::ParseVersionTriple(c.text, major, minor, build);
        EXPECT_EQ(Version(ok, major, minor, build), c.expected);
    }
}

// The reported length decides, not the text's own: a cut can hide the third number.
TEST(ModuleVersionClip, ReportedLengthOf256OrMoreKeeps250Characters) {
    const struct {
        std::size_t length, reported, kept;
    } cases[] = {{300, 300, 250}, {256, 256, 250}, {255, 256, 250}, {255, 255, 255}, {5, 6, 5}};
    for (const auto& c : cases) {
        const std::string text(c.length, '7');
        EXPECT_EQ(module_version::ClipVersionText(text.c_str(), c.reported), text.substr(0, c.kept))
            << c.length << " reported as " << c.reported;
    }
    EXPECT_EQ("", module_version::ClipVersionText(nullptr, 0));
}

TEST(ModuleVersionSubBlock, ASinglePairNamesTheBlockOtherwiseUserLanguageWithUnicode) {
    // US English with Unicode, then Slovak with the Central European code page.
    const unsigned char pairs[] = {0x09, 0x04, 0xB0, 0x04, 0x1B, 0x04, 0xE2, 0x04};
    const struct {
        const unsigned char* translation;
        std::size_t byteCount;
        std::uint16_t language;
        const char* block;
    } cases[] = {
        {pairs, 4, 0x041B, "040904B0"},    {pairs + 4, 4, 0x0409, "041B04E2"},
        {pairs, 8, 0x0407, "040704B0"},    {nullptr, 0, 0x0C0A, "0C0A04B0"},
        {pairs, 2, 0x0405, "040504B0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.block);
        EXPECT_EQ(module_version::FileVersionSubBlock(c.translation, c.byteCount, c.language),
                  std::string("\\StringFileInfo\\") + c.block + "\\FileVersion");
    }
}

TEST(ModuleVersionSearchPath, OnlyNamesWithoutDirectoryAreBare) {
    EXPECT_TRUE(module_version::IsBareName("shlwapi.dll"));
    EXPECT_FALSE(module_version::IsBareName("C:\\Program Files\\Office\\OUTLLIB.DLL"));
    EXPECT_FALSE(module_version::IsBareName("sub/x.dll"));
    EXPECT_FALSE(module_version::IsBareName("C:x.dll"));
}

class FakeVersionSource final : public module_version::VersionSource {
public:
    std::optional<DllVersion> dllVersion;
    std::map<std::string, std::string> versionTexts;  // path -> FileVersion text
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    mutable std::vector<std::string> dllQueries, resourceQueries;

    std::optional<DllVersion> QueryDllGetVersion(const std::string& fileName) const override {
        dllQueries.push_back(fileName);
        return dllVersion;
    }
    std::optional<std::string> QueryFileVersionString(const std::string& path) const override {
        resourceQueries.push_back(path);
        const auto it = versionTexts.find(path);
        return it == versionTexts.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::string WindowsDirectory() const override { return windowsDirectory; }
    std::string SystemDirectory() const override { return systemDirectory; }
};

struct DetectedVersion : ModuleVersion {
    DetectedVersion(const module_version::VersionSource& source, const std::string& name)
        : ModuleVersion(source, name) {}
    Version Result() const { return {found, major, minor, build}; }
};

// The library's own DllGetVersion answer wins. Otherwise the Windows directory, the system
// directory, the name as given and the drive root are tried in turn (a directory that is
// unknown leaves the name as given); the first parsable FileVersion ends the search, and a
// partial parse leaves its numbers behind.
TEST(ModuleVersionDetection, DllGetVersionThenResourcesInOrderUntilTheFirstSuccess) {
    const std::string full = "C:\\Office\\OUTLLIB.DLL";
    const std::vector<std::string> all = {"C:\\WINDOWS\\x.dll", "C:\\WINDOWS\\system32\\x.dll",
                                          "x.dll", "\\x.dll"};
    const struct {
        const char* what;
        std::optional<DllVersion> dll;
        std::string name;
        std::map<std::string, std::string> texts;
        Version expected;
        std::vector<std::string> queries;
        bool knownDirectories = true;
    } cases[] = {
        {"DllGetVersion", DllVersion{6, 0, 2900}, "x.dll", {{all[0], "9.9.9"}},
         {true, 6, 0, 2900}, {}},
        {"as given", {}, "x.dll", {{"x.dll", "5, 50, 4807, 2300"}, {"\\x.dll", "1.1.1"}},
         {true, 5, 50, 4807}, {all[0], all[1], all[2]}},
        {"full path", {}, full, {{full, "9.0.0.4527"}}, {true, 9, 0, 0},
         {"C:\\WINDOWS\\" + full, "C:\\WINDOWS\\system32\\" + full, full}},
        {"partial only", {}, "x.dll", {{all[0], "1.2"}}, {false, 1, 2, 0}, all},
        {"partial, then root", {}, "x.dll", {{all[0], "1.2"}, {all[3], "3.4.5"}},
         {true, 3, 4, 5}, all},
        {"nowhere", {}, "x.dll", {}, {false, 0, 0, 0}, all},
        {"no directories", {}, "x.dll", {}, {false, 0, 0, 0},
         {"x.dll", "x.dll", "x.dll", "\\x.dll"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeVersionSource source;
        source.dllVersion = c.dll;
        source.versionTexts = c.texts;
        if (!c.knownDirectories) source.windowsDirectory = source.systemDirectory = "";
        EXPECT_EQ(DetectedVersion(source, c.name).Result(), c.expected);
        EXPECT_EQ(source.dllQueries, std::vector<std::string>{c.name});
        EXPECT_EQ(source.resourceQueries, c.queries);
    }
}

}  // namespace
