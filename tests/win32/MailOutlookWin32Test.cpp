#include "probes/mail/OutlookProbeWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "Win32TestSupport.h"

namespace {

using win32test::FixtureFolder;
using win32test::TestKey;

const char kClassId[] = "{7A3F0C11-5D2B-4E59-9C0A-6B1D2E3F4A51}";
const char kBlacklist[] = "10.0.2627;";

std::string UpperAscii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// MS Outlook's class registration in one view of HKEY_CLASSES_ROOT, for one test.
struct OutlookRegistration {
    OutlookRegistration(const std::string& serverPath, REGSAM view = 0)
        : application(HKEY_CLASSES_ROOT, "Outlook.Application\\CLSID", view),
          server(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClassId + "\\LocalServer32", view) {
        application.SetString("", kClassId);
        server.SetString("", serverPath);
    }
    TestKey application;
    TestKey server;
};

TEST(OutlookProbeWin32Test, NotRegistered) {
    OutlookProbeWin32 outlook(nullptr);
    EXPECT_EQ(outlook.Probe().GetOutlookLibraryPath(), "");
    EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), "");
    EXPECT_FALSE(outlook.Probe().CheckOutlookVersion(9, 0, 4527, kBlacklist));
}

TEST(OutlookProbeWin32Test, LibraryBesideTheRegisteredProgramGivesTheVersion) {
    const std::string folder9 = FixtureFolder("outlook_9_0_4527");
    const std::string folder10 = FixtureFolder("outlook_10_0_2627");
    const std::string library9 = UpperAscii(folder9) + "OUTLLIB.DLL";
    const struct {
        std::string serverPath;
        REGSAM view;
        std::string library;
        const char* text;
        bool accepted;
    } cases[] = {
        {folder10 + "outlook.exe", 0, UpperAscii(folder10) + "OUTLLIB.DLL", "MS Outlook 10.0.2627", false},
        {folder9 + "Outlook.EXE", 0, library9, "MS Outlook 9.0.4527", true},
        {folder9 + "outlook.exe", KEY_WOW64_32KEY, library9, "MS Outlook 9.0.4527", true},  // 32-bit Office
        // A quoted path with a switch names no file.
        {"\"" + folder9 + "OUTLOOK.EXE\" /automation", 0, "\"" + library9 + "\" /AUTOMATION", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serverPath);
        const OutlookRegistration registration(c.serverPath, c.view);
        OutlookProbeWin32 outlook(nullptr);
        EXPECT_EQ(outlook.Probe().GetOutlookLibraryPath(), c.library);
        EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), c.text);
        EXPECT_EQ(outlook.Probe().CheckOutlookVersion(9, 0, 4527, kBlacklist), c.accepted);
    }
}

TEST(OutlookProbeWin32Test, ClassIdValueOfMoreThan1024BytesIsNotRead) {
    OutlookRegistration registration(FixtureFolder("outlook_9_0_4527") + "outlook.exe");
    OutlookProbeWin32 outlook(nullptr);
    // The text up to the first zero fits; the whole value is what the limit is about.
    const std::string classId = kClassId;
    registration.application.SetData("", classId + std::string(1024 - classId.size(), '\0'));
    EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), "MS Outlook 9.0.4527");
    registration.application.SetData("", classId + std::string(1025 - classId.size(), '\0'));
    EXPECT_EQ(outlook.Probe().GetOutlookLibraryPath(), "");
    EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), "");
}

}  // namespace
