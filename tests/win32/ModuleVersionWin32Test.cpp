#include "probes/software/ModuleVersion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "Win32TestSupport.h"
#include "platform/SystemLibraryWin32.h"
#include "probes/software/ModuleVersionWin32.h"

namespace {

using namespace win32test;

struct Expected {
    std::int32_t major, minor, build;
    bool found;
};

void ExpectVersion(const Expected& expected, const std::string& fileName) {
    SCOPED_TRACE(fileName);
    const ModuleVersion actual(fileName);
    EXPECT_EQ(expected.found, actual.found);
    EXPECT_EQ(expected.major, actual.major);
    EXPECT_EQ(expected.minor, actual.minor);
    EXPECT_EQ(expected.build, actual.build);
}

TEST(ModuleVersionWin32, FullPathAsksDllGetVersionThenTheResourceAndUnloadsTheLibrary) {
    // tvver_two.dll has blocks 040904B0 ("2.4.6") and 041B04E2 ("8.8.8"): only an English
    // user's block name matches, the Slovak block has the wrong code page for anyone.
    const Expected two =
        ::GetUserDefaultLangID() == 0x0409 ? Expected{2, 4, 6, true} : Expected{0, 0, 0, false};
    const struct {
        const char* name;
        Expected expected;
        bool codeRuns;
    } cases[] = {
        // The strings lie under 041B04E2 only, which neither the user's language with code
        // page 04B0 nor any default would find: the single translation names the block.
        {"tvver_one.dll", {7, 10, 3077, true}, false},
        {"tvver_two.dll", two, false},
        {"tvver_none.dll", {0, 0, 0, false}, false},
        {"tvver_comma.dll", {5, 50, 4807, true}, false},
        {"tvver_long.dll", {4, 5, 0, false}, false},  // cut before its third number
        {"tvver_four.dll", {9, 0, 0, true}, false},   // the first three of four parts
        {"tvver_dllver.dll", {9, 0, 4527, true}, true},
        {"tvver_dllfail.dll", {3, 1, 4, true}, false},  // a failing DllGetVersion falls back
        {"tvver_missing.dll", {0, 0, 0, false}, false},
    };
    for (const auto& c : cases) {
        TestEnvironmentVariable ran("TARNVIK_FIXTURE_RAN");
        const std::string path = ProgramFolder() + c.name;
        ExpectVersion(c.expected, path);
        EXPECT_EQ(ran.Get() != "(unset)", c.codeRuns) << c.name;
        EXPECT_EQ(::GetModuleHandleA(path.c_str()), nullptr) << c.name;
    }
    const std::optional<std::string> text =
        module_version::VersionSourceWin32().QueryFileVersionString(ProgramFolder() + "tvver_long.dll");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(250u, text->size());
}

TEST(ModuleVersionWin32, BareNamesAreLoadedFromTheSystemDirectoryOnly) {
    const DLLVERSIONINFO shlwapi = SystemShlwapiVersion();
    ExpectVersion({static_cast<std::int32_t>(shlwapi.dwMajorVersion),
                   static_cast<std::int32_t>(shlwapi.dwMinorVersion),
                   static_cast<std::int32_t>(shlwapi.dwBuildNumber), true},
                  "shlwapi.dll");
    ExpectVersion({0, 0, 0, false}, "tvver_missing.dll");

    TestEnvironmentVariable ran("TARNVIK_FIXTURE_RAN");
    {
        const TestFile copy(ProgramFolder() + "tvver_dllver.dll",
                            platform::SystemDirectoryPath("tvver_sysver.dll"));
        ExpectVersion({9, 0, 4527, true}, "tvver_sysver.dll");
        EXPECT_EQ(ran.Get(), "tvver_dllver");
    }
    // tvver_dllver.dll lies beside this program and in the current directory. Read as
    // data it gives its resource version; its DllGetVersion would have said 9.0.4527.
    ran.Set(nullptr);
    const WorkingDirectory current(ProgramFolder());
    ExpectVersion({9, 0, 0, true}, "tvver_dllver.dll");
    EXPECT_EQ(ran.Get(), "(unset)");
    EXPECT_EQ(::GetModuleHandleA("tvver_dllver.dll"), nullptr);
}

}  // namespace
