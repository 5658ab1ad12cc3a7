#include "probes/mail/OutlookProbe.h"

#include <gtest/gtest.h>

#include <string>

#include "FakeRegistry.h"
#include "MailFakes.h"

namespace {

using platform::RegistryRoot;

const char kClassId[] = "{0006F03A-0000-0000-C000-000000000046}";
const char kServerKey[] = "CLSID\\{0006F03A-0000-0000-C000-000000000046}\\LocalServer32";

class OutlookProbeTest : public ::testing::Test {
protected:
    void Register(const std::string& serverPath) {
        registry.SetString(RegistryRoot::ClassesRoot, "Outlook.Application\\CLSID", "", kClassId);
        registry.SetString(RegistryRoot::ClassesRoot, kServerKey, "", serverPath);
    }

    mailfakes::EventLog log;
    FakeRegistry registry;
    mailfakes::Versions versions;
    mailfakes::MapiLoaderFake mapi{log};
    mailfakes::OwnerWindow owner{log};
    OutlookProbe probe{&owner, registry, versions, mapi};
};

TEST_F(OutlookProbeTest, NotRegisteredGivesNoPathNoTextAndFailsTheCheck) {
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "");
    EXPECT_EQ(probe.GetOutlookVersionText(), "");
    EXPECT_FALSE(probe.CheckOutlookVersion(9, 0, 4527, "10.0.2627;"));
    EXPECT_TRUE(versions.Asked().empty());
}

TEST_F(OutlookProbeTest, ClassIdWithoutServerKeyGivesNoPath) {
    registry.SetString(RegistryRoot::ClassesRoot, "Outlook.Application\\CLSID", "", kClassId);
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "");
}

TEST_F(OutlookProbeTest, RegistrationIsReadFromClassesRootOnly) {
    registry.SetString(RegistryRoot::LocalMachine, "Outlook.Application\\CLSID", "", kClassId);
    registry.SetString(RegistryRoot::LocalMachine, kServerKey, "", "C:\\Office\\outlook.exe");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "");
}

TEST_F(OutlookProbeTest, ServerPathBecomesUpperCaseLibraryPathBesideIt) {
    Register("C:\\Office\\outlook.exe");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "C:\\OFFICE\\OUTLLIB.DLL");
    Register("c:\\Program Files\\Microsoft Office\\Office10\\Outlook.Exe");
    EXPECT_EQ(probe.GetOutlookLibraryPath(),
              "C:\\PROGRAM FILES\\MICROSOFT OFFICE\\OFFICE10\\OUTLLIB.DLL");
}

TEST_F(OutlookProbeTest, QuotesAndSwitchesStayInThePath) {
    Register("\"C:\\Office\\OUTLOOK.EXE\" /automation");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "\"C:\\OFFICE\\OUTLLIB.DLL\" /AUTOMATION");
    // Such a path names no file: no version, empty text, failed check.
    versions.Set("C:\\OFFICE\\OUTLLIB.DLL", mailfakes::Found(10, 0, 2625));
    EXPECT_EQ(probe.GetOutlookVersionText(), "");
    EXPECT_FALSE(probe.CheckOutlookVersion(9, 0, 4527, "10.0.2627;"));
    ASSERT_FALSE(versions.Asked().empty());
    EXPECT_EQ(versions.Asked().back(), "\"C:\\OFFICE\\OUTLLIB.DLL\" /AUTOMATION");
}

TEST_F(OutlookProbeTest, EveryProgramNameIsReplacedAndOnlyAfterABackslash) {
    Register("C:\\OUTLOOK.EXE\\outlook.exe;D:\\Outlook.exe");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "C:\\OUTLLIB.DLL\\OUTLLIB.DLL;D:\\OUTLLIB.DLL");
    Register("OUTLOOK.EXE");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "OUTLOOK.EXE");
    Register("C:\\Office\\MSOUTLOOK.EXE");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "C:\\OFFICE\\MSOUTLOOK.EXE");
}

TEST_F(OutlookProbeTest, OnlyAsciiLettersChangeCase) {
    // 0xFA is a small u with acute in code page 1250; it stays as it is.
    Register("C:\\Programy\\S\xFA" "bory\\outlook.exe");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "C:\\PROGRAMY\\S\xFA" "BORY\\OUTLLIB.DLL");
}

TEST_F(OutlookProbeTest, ClassIdReadAllowsOnly1024Bytes) {
    const std::string longest(1023, 'A');  // with its closing zero exactly 1024 bytes
    registry.SetString(RegistryRoot::ClassesRoot, "Outlook.Application\\CLSID", "", longest);
    registry.SetString(RegistryRoot::ClassesRoot, "CLSID\\" + longest + "\\LocalServer32", "",
                 "C:\\OUTLOOK.EXE");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "C:\\OUTLLIB.DLL");

    const std::string tooLong(1024, 'A');
    registry.SetString(RegistryRoot::ClassesRoot, "Outlook.Application\\CLSID", "", tooLong);
    registry.SetString(RegistryRoot::ClassesRoot, "CLSID\\" + tooLong + "\\LocalServer32", "",
                 "C:\\OUTLOOK.EXE");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "");
}

TEST_F(OutlookProbeTest, ServerReadAllows8000Bytes) {
    const std::string folder = "C:\\" + std::string(7999 - 3 - 12, 'D');
    Register(folder + "\\OUTLOOK.EXE");  // 7999 characters and the closing zero
    EXPECT_EQ(probe.GetOutlookLibraryPath(), folder + "\\OUTLLIB.DLL");
    Register(folder + "D\\OUTLOOK.EXE");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "");
}

TEST_F(OutlookProbeTest, VersionTextAndCheckFollowTheLibraryVersion) {
    Register("C:\\Office\\OUTLOOK.EXE");
    versions.Set("C:\\OFFICE\\OUTLLIB.DLL", mailfakes::Found(10, 0, 2627));
    EXPECT_EQ(probe.GetOutlookVersionText(), "MS Outlook 10.0.2627");
    EXPECT_FALSE(probe.CheckOutlookVersion(9, 0, 4527, "10.0.2627;"));

    versions.Set("C:\\OFFICE\\OUTLLIB.DLL", mailfakes::Found(9, 0, 4527));
    EXPECT_EQ(probe.GetOutlookVersionText(), "MS Outlook 9.0.4527");
    EXPECT_TRUE(probe.CheckOutlookVersion(9, 0, 4527, "10.0.2627;"));

    versions.Set("C:\\OFFICE\\OUTLLIB.DLL", mailfakes::Found(9, 0, 4526));
    EXPECT_FALSE(probe.CheckOutlookVersion(9, 0, 4527, "10.0.2627;"));
}

TEST_F(OutlookProbeTest, CheckTakesTheNumbersEvenWhenNoVersionWasFound) {
    Register("C:\\Office\\OUTLOOK.EXE");
    FileVersion partial;  // a reader that parsed numbers and still reported failure
    partial.major = 10;
    partial.minor = 0;
    partial.build = 2628;
    versions.Set("C:\\OFFICE\\OUTLLIB.DLL", partial);
    EXPECT_EQ(probe.GetOutlookVersionText(), "");
    EXPECT_TRUE(probe.CheckOutlookVersion(9, 0, 4527, "10.0.2627;"));
}

}  // namespace
