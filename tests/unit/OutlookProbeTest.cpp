#include "probes/mail/OutlookProbe.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "FakeRegistry.h"
#include "MailFakes.h"

namespace {

using platform::RegistryRoot;

const char kClassId[] = "{0006F03A-0000-0000-C000-000000000046}";
const char kLibrary[] = "C:\\OFFICE\\OUTLLIB.DLL";

class OutlookProbeTest : public ::testing::Test {
protected:
    void Register(const std::string& serverPath, const std::string& classId = kClassId,
                  RegistryRoot root = RegistryRoot::ClassesRoot) {
        registry.SetString(root, "Outlook.Application\\CLSID", "", classId);
        registry.SetString(root, "CLSID\\" + classId + "\\LocalServer32", "", serverPath);
    }
    bool Check() { return probe.CheckOutlookVersion(9, 0, 4527, "10.0.2627;"); }

    FakeRegistry registry;
    mailfakes::Versions versions;
    mailfakes::MapiSeams mapi;
    OutlookProbe probe{&mapi, registry, versions, mapi};
};

TEST_F(OutlookProbeTest, NotRegisteredGivesNoPathNoTextAndFailsTheCheck) {
    // Registered under another root, or a class id without its server key, is not registered.
    Register("C:\\Office\\outlook.exe", kClassId, RegistryRoot::LocalMachine);
    registry.SetString(RegistryRoot::ClassesRoot, "Outlook.Application\\CLSID", "", kClassId);
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "");
    EXPECT_EQ(probe.GetOutlookVersionText(), "");
    EXPECT_FALSE(Check());
    EXPECT_TRUE(versions.asked.empty());
}

TEST_F(OutlookProbeTest, ServerPathBecomesUpperCaseLibraryPath) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Office\\outlook.exe", kLibrary},
        {"c:\\Program Files\\Microsoft Office\\Office10\\Outlook.Exe",
         "C:\\PROGRAM FILES\\MICROSOFT OFFICE\\OFFICE10\\OUTLLIB.DLL"},
        // Quotes and switches stay in the path.
        {"\"C:\\Office\\OUTLOOK.EXE\" /automation", "\"C:\\OFFICE\\OUTLLIB.DLL\" /AUTOMATION"},
        // Every program name is replaced, but only after a backslash.
        {"C:\\OUTLOOK.EXE\\outlook.exe;D:\\Outlook.exe",
         "C:\\OUTLLIB.DLL\\OUTLLIB.DLL;D:\\OUTLLIB.DLL"},
        {"OUTLOOK.EXE", "OUTLOOK.EXE"},
        {"C:\\Office\\MSOUTLOOK.EXE", "C:\\OFFICE\\MSOUTLOOK.EXE"},
        // Only ASCII letters change case: 0xFA, a small u with acute in code page 1250, stays.
        {"C:\\Programy\\S\xFA" "bory\\outlook.exe", "C:\\PROGRAMY\\S\xFA" "BORY\\OUTLLIB.DLL"},
    };
    for (const auto& [server, library] : cases) {
        Register(server);
        EXPECT_EQ(probe.GetOutlookLibraryPath(), library) << server;
    }
}

TEST_F(OutlookProbeTest, ClassIdIsReadIntoUpTo1024BytesAndServerPathInto8000) {
    Register("C:\\OUTLOOK.EXE", std::string(1023, 'A'));  // with its closing zero 1024 bytes
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "C:\\OUTLLIB.DLL");
    Register("C:\\OUTLOOK.EXE", std::string(1024, 'A'));
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "");
    const std::string folder = "C:\\" + std::string(7999 - 3 - 12, 'D');
    Register(folder + "\\OUTLOOK.EXE");  // 7999 characters and the closing zero
    EXPECT_EQ(probe.GetOutlookLibraryPath(), folder + "\\OUTLLIB.DLL");
    Register(folder + "D\\OUTLOOK.EXE");
    EXPECT_EQ(probe.GetOutlookLibraryPath(), "");
}

TEST_F(OutlookProbeTest, VersionTextAndCheckFollowTheLibraryVersion) {
    Register("C:\\Office\\OUTLOOK.EXE");
    const struct {
        FileVersion version;
        const char* text;
        bool accepted;
    } cases[] = {
        {FileVersion{10, 0, 2627, true}, "MS Outlook 10.0.2627", false},
        {FileVersion{9, 0, 4527, true}, "MS Outlook 9.0.4527", true},
        {FileVersion{9, 0, 4526, true}, "MS Outlook 9.0.4526", false},
        // Numbers parsed by a reader that still failed: no text, but they are judged.
        {FileVersion{10, 0, 2628, false}, "", true},
    };
    for (const auto& c : cases) {
        versions.byName[kLibrary] = c.version;
        EXPECT_EQ(probe.GetOutlookVersionText(), c.text);
        EXPECT_EQ(Check(), c.accepted) << c.text;
    }
    // A path with switches names no file.
    Register("\"C:\\Office\\OUTLOOK.EXE\" /automation");
    EXPECT_EQ(probe.GetOutlookVersionText(), "");
    EXPECT_FALSE(Check());
    EXPECT_EQ(versions.asked.back(), "\"C:\\OFFICE\\OUTLLIB.DLL\" /AUTOMATION");
}

}  // namespace
