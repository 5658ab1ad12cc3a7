#include <gtest/gtest.h>

#include "FakePc.h"

TEST(ModuleVersion, AsksTheLibraryFirstThenSearchesFourPlacesInOrder) {
    const std::vector<std::string> places = {
        "C:\\WINDOWS\\x.dll",
        "C:\\WINDOWS\\system32\\x.dll",
        "x.dll",
        "\\x.dll",
    };
    struct Case {
        bool exportAnswers;  // with 4.5.6
        std::map<std::string, std::string> fileVersions;
        std::size_t placesTried;
        Version version;
        bool found;
    };
    const Case cases[] = {
        {true, {{"x.dll", "1.1.1"}}, 0, {4, 5, 6}, true},
        {false, {{"\\x.dll", "5, 50, 4807, 2300"}}, 4, {5, 50, 4807}, true},
        {false, {}, 4, {0, 0, 0}, false},
        // A partial parse leaves its numbers behind for callers that ignore `found`.
        {false, {{"C:\\WINDOWS\\x.dll", "1.2"}}, 4, {1, 2, 0}, false},
    };
    for (const Case& c : cases) {
        FakePc pc;
        if (c.exportAnswers) pc.dllVersions["x.dll"] = {4, 5, 6};
        pc.fileVersions = c.fileVersions;
        const ModuleVersion version(pc, "x.dll");
        EXPECT_EQ(pc.versionPaths,
                  std::vector<std::string>(places.begin(), places.begin() + c.placesTried));
        EXPECT_EQ(version.Text(), c.version.Text());
        EXPECT_EQ(version.found, c.found);
    }
}

// Asking the export runs the library's code: only where FileTrust's rule lets it.
TEST(ModuleVersion, AsksTheExportOfAFileAtAPathOnlyWhereNobodyElseCanChangeIt) {
    FakePc pc;
    pc.fileVersions["C:\\OFFICE\\OUTLLIB.DLL"] = "5.0.1";
    EXPECT_EQ(ModuleVersion(pc, "C:\\OFFICE\\OUTLLIB.DLL").major, 11);
    pc.writableByUsers = {"C:\\OFFICE"};
    EXPECT_EQ(ModuleVersion(pc, "C:\\OFFICE\\OUTLLIB.DLL").major, 5);
}

TEST(ModuleVersion, ParsesThreeNumbersAtDotsElseAtCommasBeforeTheFirstDot) {
    constexpr std::int32_t kUnset = -1;
    struct Case {
        const char* text;
        Version version;
        bool parsed;
    };
    const Case cases[] = {
        {"6.00.2900.2180 (xpsp_sp2_rtm.040803-2158)", {6, 0, 2900}, true},
        {"5, 50, 4807, 2300", {5, 50, 4807}, true},
        {"..7..8.. 9", {7, 8, 9}, true},
        {"12345678901234567890.-5.+2", {INT32_MAX, -5, 2}, true},
        // The comma pass sees only "1,2": the first pass cut the text at its first dot.
        {"1,2.3,4", {1, 2, kUnset}, false},
    };
    for (const Case& c : cases) {
        Version version = {kUnset, kUnset, kUnset};
        EXPECT_EQ(ParseVersionTriple(c.text, version), c.parsed) << c.text;
        EXPECT_EQ(version.Text(), c.version.Text()) << c.text;
    }
    const std::string sevens(300, '7');  // a reported length of 256 or more leaves 250 characters
    EXPECT_EQ(ClipVersionText(sevens.c_str(), 255), sevens.substr(0, 255));
    EXPECT_EQ(ClipVersionText(sevens.c_str(), 256), sevens.substr(0, 250));
}
