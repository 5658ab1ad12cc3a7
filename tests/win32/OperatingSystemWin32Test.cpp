#include "probes/software/OperatingSystem.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/EncodingWin32.h"
#include "platform/RegistryWin32.h"
#include "platform/Text.h"

namespace {

const char kHotfixKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix";
const char kQ246009Key[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

bool MachineKeyExists(const char* subkey) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

struct SavedValue {
    std::string name;
    DWORD type = 0;
    std::vector<BYTE> data;
};

// Sets `subkey` of HKLM to the wanted presence for one test. A key that was there is
// removed with its values and put back afterwards; a key that was missing is created empty
// and removed again, together with its parent if the parent had to be created.
class MachineKeyPresence {
public:
    MachineKeyPresence(const char* subkey, const char* parent, bool present)
        : m_subkey(subkey), m_parent(parent), m_parentExisted(MachineKeyExists(parent)),
          m_existed(MachineKeyExists(subkey)) {
        if (m_existed && !present) {
            SaveValues();
            EXPECT_EQ(::RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_subkey), ERROR_SUCCESS);
        } else if (!m_existed && present) {
            Create(std::vector<SavedValue>());
        }
        m_changed = m_existed != present;
    }
    MachineKeyPresence(const MachineKeyPresence&) = delete;
    MachineKeyPresence& operator=(const MachineKeyPresence&) = delete;
    ~MachineKeyPresence() {
        if (!m_changed) return;
        if (m_existed) {
            Create(m_values);
        } else {
            EXPECT_EQ(::RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_subkey), ERROR_SUCCESS);
            if (!m_parentExisted) {
                EXPECT_EQ(::RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_parent), ERROR_SUCCESS);
            }
        }
    }

private:
    void SaveValues() {
        HKEY key = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, m_subkey, 0, KEY_READ, &key), ERROR_SUCCESS);
        for (DWORD index = 0;; ++index) {
            char name[256];
            DWORD nameLength = sizeof(name);
            SavedValue value;
            value.data.resize(4096);
            DWORD size = static_cast<DWORD>(value.data.size());
            if (::RegEnumValueA(key, index, name, &nameLength, nullptr, &value.type,
                                value.data.data(), &size) != ERROR_SUCCESS) {
                break;
            }
            value.name.assign(name, nameLength);
            value.data.resize(size);
            m_values.push_back(value);
        }
        ::RegCloseKey(key);
    }

    void Create(const std::vector<SavedValue>& values) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_subkey, 0, nullptr, 0, KEY_WRITE,
                                    nullptr, &key, nullptr),
                  ERROR_SUCCESS)
            << "RegCreateKeyExA " << m_subkey;
        for (const SavedValue& value : values) {
            EXPECT_EQ(::RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                                       static_cast<DWORD>(value.data.size())),
                      ERROR_SUCCESS);
        }
        ::RegCloseKey(key);
    }

    const char* m_subkey;
    const char* m_parent;
    bool m_parentExisted;
    bool m_existed;
    bool m_changed = false;
    std::vector<SavedValue> m_values;
};

OsVersionRecord Nt4(VersionRecordKind kind, const std::string& servicePack) {
    OsVersionRecord v;
    v.kind = kind;
    v.dwPlatformId = kPlatformWin32NT;
    v.dwMajorVersion = 4;
    v.dwMinorVersion = 0;
    v.dwBuildNumber = 1381;
    v.szCSDVersion = servicePack;
    v.wProductType = kind == VersionRecordKind::Extended ? kProductWorkstation : 0;
    return v;
}

TEST(OperatingSystemWin32Test, ReadsTheExtendedRecord) {
    OSVERSIONINFOEXW expected = {};
    expected.dwOSVersionInfoSize = sizeof(expected);
    ASSERT_TRUE(::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&expected)));

    const OsVersionRecord record = ReadOsVersionRecord();
    EXPECT_EQ(record.kind, VersionRecordKind::Extended);
    EXPECT_EQ(record.dwMajorVersion, expected.dwMajorVersion);
    EXPECT_EQ(record.dwMinorVersion, expected.dwMinorVersion);
    EXPECT_EQ(record.dwBuildNumber, expected.dwBuildNumber);
    EXPECT_EQ(record.dwPlatformId, expected.dwPlatformId);
    EXPECT_EQ(record.szCSDVersion, platform::ProgramTextFromWide(expected.szCSDVersion));
    EXPECT_EQ(record.wSuiteMask, expected.wSuiteMask);
    EXPECT_EQ(record.wProductType, expected.wProductType);
}

TEST(OperatingSystemWin32Test, DescriptionEndsWithTheBuild) {
    const OsVersionRecord record = ReadOsVersionRecord();
    const std::string description = DescribeOperatingSystem();
    const std::string build = text::Format(" (Build %d)", static_cast<int>(record.dwBuildNumber));
    ASSERT_GE(description.size(), build.size()) << description;
    EXPECT_EQ(description.substr(description.size() - build.size()), build) << description;
}

TEST(OperatingSystemWin32Test, PlainRecordReadsProductOptionsFromTheRegistry) {
    const platform::RegistryWin32 registry(platform::RegistryViews::NativeOnly);
    const std::string description =
        DescribeOperatingSystem(Nt4(VersionRecordKind::Plain, "Service Pack 5"), registry);
    EXPECT_EQ(description.find("Nie je"), std::string::npos) << description;
    EXPECT_NE(description.find(" Version 4.0Service Pack 5 (Build 1381)"), std::string::npos)
        << description;
}

TEST(OperatingSystemWin32Test, HotfixKeyMarksServicePack6a) {
    const platform::RegistryWin32 registry(platform::RegistryViews::NativeOnly);
    const OsVersionRecord sp6 = Nt4(VersionRecordKind::Extended, "Service Pack 6");
    const bool existed = MachineKeyExists(kQ246009Key);
    {
        MachineKeyPresence absent(kQ246009Key, kHotfixKey, false);
        EXPECT_EQ(DescribeOperatingSystem(sp6, registry),
                  "Microsoft Windows NT Workstation 4.0 Service Pack 6 (Build 1381)");
    }
    {
        MachineKeyPresence present(kQ246009Key, kHotfixKey, true);
        EXPECT_EQ(DescribeOperatingSystem(sp6, registry),
                  "Microsoft Windows NT Workstation 4.0 Service Pack 6a (Build 1381)");
    }
    EXPECT_EQ(MachineKeyExists(kQ246009Key), existed);
}

}  // namespace
