#include "probes/mail/OutlookProbeWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

#include "MailWin32Support.h"

namespace {

using mailtest::FixtureFolder;
using mailtest::TestKey;

const char kClassId[] = "{7A3F0C11-5D2B-4E59-9C0A-6B1D2E3F4A51}";
const char kBlacklist[] = "10.0.2627;";

std::string UpperAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// MS Outlook's class registration in one view of HKEY_CLASSES_ROOT, for one test.
class OutlookRegistration {
public:
    OutlookRegistration(const std::string& classId, const std::string& serverPath,
                        REGSAM view = 0)
        : m_application(HKEY_CLASSES_ROOT, "Outlook.Application\\CLSID", view),
          m_server(HKEY_CLASSES_ROOT, "CLSID\\" + classId + "\\LocalServer32", view) {
        m_application.SetString("", classId);
        m_server.SetString("", serverPath);
    }

private:
    TestKey m_application;
    TestKey m_server;
};

TEST(OutlookProbeWin32Test, NotRegistered) {
    OutlookProbeWin32 outlook(nullptr);
    EXPECT_EQ(outlook.Probe().GetOutlookLibraryPath(), "");
    EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), "");
    EXPECT_FALSE(outlook.Probe().CheckOutlookVersion(9, 0, 4527, kBlacklist));
}

TEST(OutlookProbeWin32Test, BlacklistedReleaseBesideTheRegisteredProgram) {
    const std::string folder = FixtureFolder("outlook_10_0_2627");
    OutlookRegistration registration(kClassId, folder + "outlook.exe");
    OutlookProbeWin32 outlook(nullptr);
    EXPECT_EQ(outlook.Probe().GetOutlookLibraryPath(), UpperAscii(folder) + "OUTLLIB.DLL");
    EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), "MS Outlook 10.0.2627");
    EXPECT_FALSE(outlook.Probe().CheckOutlookVersion(9, 0, 4527, kBlacklist));
}

TEST(OutlookProbeWin32Test, OldestAcceptedRelease) {
    OutlookRegistration registration(kClassId, FixtureFolder("outlook_9_0_4527") + "Outlook.EXE");
    OutlookProbeWin32 outlook(nullptr);
    EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), "MS Outlook 9.0.4527");
    EXPECT_TRUE(outlook.Probe().CheckOutlookVersion(9, 0, 4527, kBlacklist));
}

TEST(OutlookProbeWin32Test, RegistrationOfA32BitOfficeIsFound) {
    OutlookRegistration registration(kClassId, FixtureFolder("outlook_9_0_4527") + "outlook.exe",
                                     KEY_WOW64_32KEY);
    OutlookProbeWin32 outlook(nullptr);
    EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), "MS Outlook 9.0.4527");
    EXPECT_TRUE(outlook.Probe().CheckOutlookVersion(9, 0, 4527, kBlacklist));
}

TEST(OutlookProbeWin32Test, QuotedServerPathWithSwitchNamesNoFile) {
    const std::string folder = FixtureFolder("outlook_9_0_4527");
    OutlookRegistration registration(kClassId, "\"" + folder + "OUTLOOK.EXE\" /automation");
    OutlookProbeWin32 outlook(nullptr);
    EXPECT_EQ(outlook.Probe().GetOutlookLibraryPath(),
              "\"" + UpperAscii(folder) + "OUTLLIB.DLL\" /AUTOMATION");
    EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), "");
    EXPECT_FALSE(outlook.Probe().CheckOutlookVersion(9, 0, 4527, kBlacklist));
}

TEST(OutlookProbeWin32Test, ClassIdValueOfMoreThan1024BytesIsNotRead) {
    OutlookRegistration registration(kClassId, FixtureFolder("outlook_9_0_4527") + "outlook.exe");
    TestKey application(HKEY_CLASSES_ROOT, "Outlook.Application\\CLSID", 0);
    OutlookProbeWin32 outlook(nullptr);
    // The text up to the first zero fits; the whole value is what the limit is about.
    const std::string classId = kClassId;
    application.SetData("", classId + std::string(1024 - classId.size(), '\0'));
    EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), "MS Outlook 9.0.4527");
    application.SetData("", classId + std::string(1025 - classId.size(), '\0'));
    EXPECT_EQ(outlook.Probe().GetOutlookLibraryPath(), "");
    EXPECT_EQ(outlook.Probe().GetOutlookVersionText(), "");
}

}  // namespace
