#include "probes/software/InternetExplorer.h"

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Text.h"

namespace {

constexpr char kZonesKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\";
constexpr char kDomainsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains\\";
constexpr char kServiceUrl[] = "https://sync.tarnvik.test/es/logon.asp";
constexpr char kTrustedHost[] = "trusted.tarnvik.test";

const std::string kRun = "Spúšťanie ovládacích prvkov ActiveX";
const std::string kSigned = "Sťahovať podpísané ovládacie prvky ActiveX";
const std::string kScript = "Skriptovať ActiveX označené ako bezpečné";

// Sets one DWORD value under HKCU and puts back what was there before (or nothing).
class ScopedUserDword {
public:
    ScopedUserDword(const std::string& subkey, const char* name, DWORD value)
        : m_subkey(subkey), m_name(name) {
        HKEY existing = nullptr;
        m_keyExisted = ::RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_QUERY_VALUE,
                                       &existing) == ERROR_SUCCESS;
        if (m_keyExisted) {
            DWORD size = 0;
            if (::RegQueryValueExA(existing, name, nullptr, &m_oldType, nullptr, &size) ==
                ERROR_SUCCESS) {
                m_oldData.resize(size);
                m_valueExisted =
                    ::RegQueryValueExA(existing, name, nullptr, &m_oldType, m_oldData.data(),
                                       &size) == ERROR_SUCCESS;
            }
            ::RegCloseKey(existing);
        }
        HKEY key = nullptr;
        LONG status = ::RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0,
                                        KEY_SET_VALUE, nullptr, &key, nullptr);
        EXPECT_EQ(ERROR_SUCCESS, status) << "RegCreateKeyExA " << subkey;
        if (status != ERROR_SUCCESS) return;
        status = ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                  sizeof(value));
        EXPECT_EQ(ERROR_SUCCESS, status) << "RegSetValueExA " << name;
        ::RegCloseKey(key);
    }
    ScopedUserDword(const ScopedUserDword&) = delete;
    ScopedUserDword& operator=(const ScopedUserDword&) = delete;
    ~ScopedUserDword() {
        if (!m_keyExisted) {
            EXPECT_EQ(ERROR_SUCCESS, ::RegDeleteKeyA(HKEY_CURRENT_USER, m_subkey.c_str()));
            return;
        }
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, m_subkey.c_str(), 0, KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot reopen " << m_subkey;
            return;
        }
        if (m_valueExisted) {
            ::RegSetValueExA(key, m_name.c_str(), 0, m_oldType, m_oldData.data(),
                             static_cast<DWORD>(m_oldData.size()));
        } else {
            ::RegDeleteValueA(key, m_name.c_str());
        }
        ::RegCloseKey(key);
    }

private:
    std::string m_subkey;
    std::string m_name;
    bool m_keyExisted = false;
    bool m_valueExisted = false;
    DWORD m_oldType = REG_NONE;
    std::vector<BYTE> m_oldData;
};

std::string ZoneKey(int zone) { return kZonesKey + std::to_string(zone); }

std::string Problems(const std::string& list) { return "Problémy v nastavení: " + list; }

TEST(InternetExplorerWin32, VersionIsThatOfTheSystemShellLibrary) {
    char directory[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryA(directory, MAX_PATH), 0u);
    const HMODULE library = ::LoadLibraryA((std::string(directory) + "\\shlwapi.dll").c_str());
    ASSERT_NE(nullptr, library);
    const auto dllGetVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void (*)()>(::GetProcAddress(library, "DllGetVersion")));
    ASSERT_NE(nullptr, dllGetVersion);
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SUCCEEDED(dllGetVersion(&info)));
    ::FreeLibrary(library);
    const int major = static_cast<int>(info.dwMajorVersion);
    const int minor = static_cast<int>(info.dwMinorVersion);
    const int build = static_cast<int>(info.dwBuildNumber);

    EXPECT_EQ(text::Format("Internet Explorer %d.%d.%d", major, minor, build),
              DescribeIeVersion());
    EXPECT_TRUE(IsIeVersionAtLeast(major, minor, build));
    EXPECT_FALSE(IsIeVersionAtLeast(major, minor, build + 1));
    EXPECT_TRUE(IsIeVersionAtLeast(5, 50, 4522));
}

TEST(InternetExplorerWin32, InternetZonePoliciesOfTheCurrentUserAreRead) {
    const ScopedUserDword run(ZoneKey(3), "1200", 3);
    const ScopedUserDword download(ZoneKey(3), "1001", 1);
    const ScopedUserDword script(ZoneKey(3), "1405", 0);
    std::string detail;
    EXPECT_FALSE(CheckActiveXZonePolicy(kServiceUrl, detail));
    EXPECT_EQ(Problems(kRun), detail);
}

TEST(InternetExplorerWin32, AllThreeDisallowedAreListed) {
    const ScopedUserDword run(ZoneKey(3), "1200", 3);
    const ScopedUserDword download(ZoneKey(3), "1001", 3);
    const ScopedUserDword script(ZoneKey(3), "1405", 3);
    std::string detail;
    EXPECT_FALSE(CheckActiveXZonePolicy(kServiceUrl, detail));
    EXPECT_EQ(Problems(kRun + ", " + kSigned + ", " + kScript), detail);
}

TEST(InternetExplorerWin32, PromptsAreAccepted) {
    const ScopedUserDword run(ZoneKey(3), "1200", 1);
    const ScopedUserDword download(ZoneKey(3), "1001", 1);
    const ScopedUserDword script(ZoneKey(3), "1405", 1);
    std::string detail;
    EXPECT_TRUE(CheckActiveXZonePolicy(kServiceUrl, detail));
    EXPECT_EQ("OK", detail);
}

TEST(InternetExplorerWin32, TrustedSiteReadsTheTrustedZone) {
    const ScopedUserDword mapping(kDomainsKey + std::string(kTrustedHost), "https", 2);
    const ScopedUserDword internetRun(ZoneKey(3), "1200", 3);
    const ScopedUserDword trustedRun(ZoneKey(2), "1200", 0);
    const ScopedUserDword trustedDownload(ZoneKey(2), "1001", 3);
    const ScopedUserDword trustedScript(ZoneKey(2), "1405", 0);

    std::string trusted;
    EXPECT_FALSE(CheckActiveXZonePolicy(std::string("https://") + kTrustedHost + "/es/logon.asp",
                                        trusted));
    EXPECT_EQ(Problems(kSigned), trusted);

    // The same policies seen from an address of the Internet zone.
    std::string internet;
    EXPECT_FALSE(CheckActiveXZonePolicy(kServiceUrl, internet));
    EXPECT_EQ(Problems(kRun), internet);
}

TEST(InternetExplorerWin32, UnmappableAddressIsJudgedInTheInternetZone) {
    const ScopedUserDword run(ZoneKey(3), "1200", 0);
    const ScopedUserDword download(ZoneKey(3), "1001", 0);
    const ScopedUserDword script(ZoneKey(3), "1405", 3);
    std::string detail;
    EXPECT_FALSE(CheckActiveXZonePolicy("no address at all", detail));
    EXPECT_EQ(Problems(kScript), detail);
}

// What a first CoInitialize on this thread answers; COM is left as it was.
HRESULT ComStateOfThisThread() {
    const HRESULT hr = ::CoInitialize(nullptr);
    if (SUCCEEDED(hr)) ::CoUninitialize();
    return hr;
}

TEST(InternetExplorerWin32, FindingsAreAppendedAndComIsLeftAsItWas) {
    const ScopedUserDword run(ZoneKey(3), "1200", 0);
    const ScopedUserDword download(ZoneKey(3), "1001", 0);
    const ScopedUserDword script(ZoneKey(3), "1405", 0);
    const HRESULT before = ComStateOfThisThread();
    std::string detail = "x";
    EXPECT_TRUE(CheckActiveXZonePolicy(kServiceUrl, detail));
    EXPECT_EQ("xOK", detail);
    EXPECT_EQ(before, ComStateOfThisThread());
}

}  // namespace
