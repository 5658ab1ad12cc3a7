#include "probes/software/ModuleVersion.h"

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "probes/software/ModuleVersionWin32.h"

namespace {

constexpr char kRanVariable[] = "TARNVIK_FIXTURE_RAN";

// The folder of this test program, where the fixture libraries are built.
std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_GT(length, 0u) << "GetModuleFileNameA failed: " << ::GetLastError();
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string FixturePath(const char* name) { return ProgramFolder() + "\\" + name; }

bool FixtureCodeRan() { return ::GetEnvironmentVariableA(kRanVariable, nullptr, 0) != 0; }
void ForgetFixtureRuns() { ::SetEnvironmentVariableA(kRanVariable, nullptr); }

struct Expected {
    std::int32_t major, minor, build;
    bool found;
};

void ExpectVersion(const Expected& expected, const ModuleVersion& actual,
                   const std::string& name) {
    EXPECT_EQ(expected.found, actual.found) << name;
    EXPECT_EQ(expected.major, actual.major) << name;
    EXPECT_EQ(expected.minor, actual.minor) << name;
    EXPECT_EQ(expected.build, actual.build) << name;
}

// What the system directory's shlwapi.dll reports about itself, asked directly.
Expected SystemShlwapiVersion() {
    char directory[MAX_PATH] = {};
    EXPECT_GT(::GetSystemDirectoryA(directory, MAX_PATH), 0u);
    const HMODULE library = ::LoadLibraryA((std::string(directory) + "\\shlwapi.dll").c_str());
    EXPECT_NE(library, nullptr) << "LoadLibraryA(shlwapi.dll) failed: " << ::GetLastError();
    Expected result = {0, 0, 0, false};
    if (library == nullptr) return result;
    const auto dllGetVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void (*)()>(::GetProcAddress(library, "DllGetVersion")));
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (dllGetVersion != nullptr && SUCCEEDED(dllGetVersion(&info))) {
        result = {static_cast<std::int32_t>(info.dwMajorVersion),
                  static_cast<std::int32_t>(info.dwMinorVersion),
                  static_cast<std::int32_t>(info.dwBuildNumber), true};
    }
    ::FreeLibrary(library);
    return result;
}

// A copy of a fixture in the system directory for the length of one test.
class SystemDirectoryCopy {
public:
    SystemDirectoryCopy(const char* fixture, const char* name) {
        char directory[MAX_PATH] = {};
        EXPECT_GT(::GetSystemDirectoryA(directory, MAX_PATH), 0u);
        m_path = std::string(directory) + "\\" + name;
        m_copied = ::CopyFileA(FixturePath(fixture).c_str(), m_path.c_str(), TRUE) != FALSE;
        EXPECT_TRUE(m_copied) << "CopyFileA to " << m_path << " failed: " << ::GetLastError();
    }
    SystemDirectoryCopy(const SystemDirectoryCopy&) = delete;
    SystemDirectoryCopy& operator=(const SystemDirectoryCopy&) = delete;
    ~SystemDirectoryCopy() {
        if (m_copied) {
            EXPECT_TRUE(::DeleteFileA(m_path.c_str()))
                << "DeleteFileA " << m_path << " failed: " << ::GetLastError();
        }
    }

private:
    std::string m_path;
    bool m_copied = false;
};

TEST(ModuleVersionWin32, ShlwapiByBareNameReportsItsOwnVersion) {
    const Expected system = SystemShlwapiVersion();
    ASSERT_TRUE(system.found);
    ExpectVersion(system, ModuleVersion("shlwapi.dll"), "shlwapi.dll");
}

TEST(ModuleVersionWin32, SingleTranslationNamesTheStringBlock) {
    // The strings lie under 041B04E2 only, which neither the user's language with
    // code page 04B0 nor any default would find.
    ExpectVersion({7, 10, 3077, true}, ModuleVersion(FixturePath("tvver_one.dll")), "one");
}

TEST(ModuleVersionWin32, TwoTranslationsReadOnlyTheUserLanguageWithUnicodeCodePage) {
    // Blocks 040904B0 ("2.4.6") and 041B04E2 ("8.8.8"): only an English user's block
    // name matches, the Slovak block has the wrong code page for anyone.
    const Expected expected = ::GetUserDefaultLangID() == 0x0409 ? Expected{2, 4, 6, true}
                                                                 : Expected{0, 0, 0, false};
    ExpectVersion(expected, ModuleVersion(FixturePath("tvver_two.dll")), "two");
}

TEST(ModuleVersionWin32, LibraryWithoutVersionResourceIsNotFound) {
    ExpectVersion({0, 0, 0, false}, ModuleVersion(FixturePath("tvver_none.dll")), "none");
}

TEST(ModuleVersionWin32, CommaVersionText) {
    ExpectVersion({5, 50, 4807, true}, ModuleVersion(FixturePath("tvver_comma.dll")), "comma");
}

TEST(ModuleVersionWin32, LongVersionTextIsCutBeforeItsThirdNumber) {
    const std::optional<std::string> text =
        module_version::VersionSourceWin32().QueryFileVersionString(FixturePath("tvver_long.dll"));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(250u, text->size());
    ExpectVersion({4, 5, 0, false}, ModuleVersion(FixturePath("tvver_long.dll")), "long");
}

TEST(ModuleVersionWin32, FourPartResourceGivesItsFirstThreeParts) {
    ExpectVersion({9, 0, 0, true}, ModuleVersion(FixturePath("tvver_four.dll")), "four");
}

TEST(ModuleVersionWin32, FullPathAsksDllGetVersionFirstAndUnloadsTheLibrary) {
    ForgetFixtureRuns();
    const std::string path = FixturePath("tvver_dllver.dll");
    ExpectVersion({9, 0, 4527, true}, ModuleVersion(path), path);
    EXPECT_TRUE(FixtureCodeRan());
    EXPECT_EQ(nullptr, ::GetModuleHandleA(path.c_str()));
}

TEST(ModuleVersionWin32, FailingDllGetVersionFallsBackToTheResource) {
    const std::string path = FixturePath("tvver_dllfail.dll");
    ExpectVersion({3, 1, 4, true}, ModuleVersion(path), path);
    EXPECT_EQ(nullptr, ::GetModuleHandleA(path.c_str()));
}

TEST(ModuleVersionWin32, BareNameNeverRunsACopyBesideTheProgram) {
    // tvver_dllver.dll lies beside this program and in the current directory. Read as
    // data it gives its resource version; its DllGetVersion would have said 9.0.4527.
    const std::string folder = ProgramFolder();
    char previous[MAX_PATH] = {};
    ASSERT_GT(::GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryA(folder.c_str()));
    ForgetFixtureRuns();
    const ModuleVersion version("tvver_dllver.dll");
    EXPECT_TRUE(::SetCurrentDirectoryA(previous));

    EXPECT_FALSE(FixtureCodeRan());
    ExpectVersion({9, 0, 0, true}, version, "planted tvver_dllver.dll");
    EXPECT_EQ(nullptr, ::GetModuleHandleA("tvver_dllver.dll"));
}

TEST(ModuleVersionWin32, BareNameIsLoadedFromTheSystemDirectory) {
    const SystemDirectoryCopy copy("tvver_dllver.dll", "tvver_sysver.dll");
    ForgetFixtureRuns();
    ExpectVersion({9, 0, 4527, true}, ModuleVersion("tvver_sysver.dll"), "tvver_sysver.dll");
    EXPECT_TRUE(FixtureCodeRan());
}

TEST(ModuleVersionWin32, NameFoundNowhere) {
    ExpectVersion({0, 0, 0, false}, ModuleVersion("tvver_missing.dll"), "missing");
    ExpectVersion({0, 0, 0, false}, ModuleVersion(FixturePath("tvver_missing.dll")), "missing");
}

}  // namespace
