#include "probes/software/InternetExplorer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Win32TestSupport.h"
#include "platform/Text.h"

namespace {

using win32test::TestKey;

const char kSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
const char kServiceUrl[] = "https://sync.tarnvik.test/es/logon.asp";
const std::string kRun = "Spúšťanie ovládacích prvkov ActiveX";
const std::string kSigned = "Sťahovať podpísané ovládacie prvky ActiveX";
const std::string kScript = "Skriptovať ActiveX označené ako bezpečné";

std::string Problems(const std::string& list) { return "Problémy v nastavení: " + list; }

// The current user's zone key, its three ActiveX policies set for one test.
struct ZonePolicies : TestKey {
    ZonePolicies(int zone, DWORD run, DWORD download, DWORD script)
        : TestKey(HKEY_CURRENT_USER, kSettingsKey + std::string("Zones\\") + std::to_string(zone)) {
        SetDword("1200", run);
        SetDword("1001", download);
        SetDword("1405", script);
    }
};

// What a first CoInitialize on this thread answers; COM is left as it was.
HRESULT ComStateOfThisThread() {
    const HRESULT hr = ::CoInitialize(nullptr);
    if (SUCCEEDED(hr)) ::CoUninitialize();
    return hr;
}

TEST(InternetExplorerWin32, VersionIsThatOfTheSystemShellLibrary) {
    const DLLVERSIONINFO info = win32test::SystemShlwapiVersion();
    const int major = static_cast<int>(info.dwMajorVersion);
    const int minor = static_cast<int>(info.dwMinorVersion);
    const int build = static_cast<int>(info.dwBuildNumber);
    EXPECT_EQ(text::Format("Internet Explorer %d.%d.%d", major, minor, build), DescribeIeVersion());
    EXPECT_TRUE(IsIeVersionAtLeast(major, minor, build));
    EXPECT_FALSE(IsIeVersionAtLeast(major, minor, build + 1));
    EXPECT_TRUE(IsIeVersionAtLeast(5, 50, 4522));
}

TEST(InternetExplorerWin32, InternetZonePoliciesOfTheCurrentUserAreAppended) {
    const struct {
        const char* url;
        DWORD run, download, script;
        bool passes;
        std::string detail;
    } cases[] = {
        {kServiceUrl, 3, 1, 0, false, Problems(kRun)},
        {kServiceUrl, 3, 3, 3, false, Problems(kRun + ", " + kSigned + ", " + kScript)},
        {kServiceUrl, 1, 1, 1, true, "OK"},  // prompts are accepted
        {kServiceUrl, 0, 0, 0, true, "OK"},
        {"no address at all", 0, 0, 3, false, Problems(kScript)},  // judged in the Internet zone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        const ZonePolicies internet(3, c.run, c.download, c.script);
        const HRESULT comBefore = ComStateOfThisThread();
        std::string detail = "x";
        EXPECT_EQ(CheckActiveXZonePolicy(c.url, detail), c.passes);
        EXPECT_EQ("x" + c.detail, detail);
        EXPECT_EQ(comBefore, ComStateOfThisThread());
    }
}

TEST(InternetExplorerWin32, TrustedSiteReadsTheTrustedZone) {
    TestKey mapping(HKEY_CURRENT_USER, kSettingsKey + std::string("ZoneMap\\Domains\\trusted.tarnvik.test"));
    mapping.SetDword("https", 2);
    const ZonePolicies internet(3, 3, 0, 0);
    const ZonePolicies trusted(2, 0, 3, 0);

    std::string detail;
    EXPECT_FALSE(CheckActiveXZonePolicy("https://trusted.tarnvik.test/es/logon.asp", detail));
    EXPECT_EQ(Problems(kSigned), detail);
    // The same policies seen from an address of the Internet zone.
    detail.clear();
    EXPECT_FALSE(CheckActiveXZonePolicy(kServiceUrl, detail));
    EXPECT_EQ(Problems(kRun), detail);
}

}  // namespace
