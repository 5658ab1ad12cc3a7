#include "probes/mail/OutlookProbeWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "MailWin32Support.h"
#include "platform/SystemLibraryWin32.h"

namespace {

using mailtest::FixtureFolder;
using mailtest::TestEnvironmentVariable;

const char kOverrides[] = "Software\\Wine\\DllOverrides";

// Sets Wine's load order for mapi32 for one test and puts back what was there. Wine keeps
// its own mapi32 built in; only this override makes it load a file put into system32.
class MapiLoadOrder {
public:
    explicit MapiLoadOrder(const char* order) {
        HKEY key = nullptr;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
        char previous[64] = {};
        DWORD size = sizeof(previous) - 1;
        m_hadPrevious = ::RegQueryValueExA(key, "mapi32", nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(previous),
                                           &size) == ERROR_SUCCESS;
        m_previous = previous;
        EXPECT_EQ(::RegSetValueExA(key, "mapi32", 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                                   static_cast<DWORD>(std::strlen(order) + 1)),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    MapiLoadOrder(const MapiLoadOrder&) = delete;
    MapiLoadOrder& operator=(const MapiLoadOrder&) = delete;
    ~MapiLoadOrder() {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kOverrides, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
            return;
        }
        if (m_hadPrevious) {
            ::RegSetValueExA(key, "mapi32", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(m_previous.c_str()),
                             static_cast<DWORD>(m_previous.size() + 1));
        } else {
            ::RegDeleteValueA(key, "mapi32");
        }
        ::RegCloseKey(key);
    }

private:
    bool m_hadPrevious = false;
    std::string m_previous;
};

// The system's mapi32.dll moved aside for one test, so that a test can put its own there
// or none at all.
class SystemMapiAside {
public:
    SystemMapiAside()
        : m_path(platform::SystemDirectoryPath("mapi32.dll")), m_aside(m_path + ".tarnvik-aside") {
        m_moved = ::MoveFileExA(m_path.c_str(), m_aside.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    SystemMapiAside(const SystemMapiAside&) = delete;
    SystemMapiAside& operator=(const SystemMapiAside&) = delete;
    ~SystemMapiAside() {
        if (m_installed) {
            EXPECT_TRUE(::DeleteFileA(m_path.c_str())) << "DeleteFileA " << m_path;
        }
        if (m_moved) {
            EXPECT_TRUE(::MoveFileExA(m_aside.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING))
                << "MoveFileExA back to " << m_path;
        }
    }

    void Install(const std::string& stubFolder) {
        m_installed = ::CopyFileA((FixtureFolder(stubFolder) + "mapi32.dll").c_str(),
                                  m_path.c_str(), FALSE) != 0;
        EXPECT_TRUE(m_installed) << "CopyFileA to " << m_path << ": " << ::GetLastError();
    }

private:
    std::string m_path;
    std::string m_aside;
    bool m_moved = false;
    bool m_installed = false;
};

// A top-level window of this thread that stands for the main dialog. It stays hidden:
// focus works the same, and Wine takes seconds to destroy a window that was mapped.
class OwnerWindow {
public:
    OwnerWindow()
        : m_hWnd(::CreateWindowExA(0, "STATIC", "Tarnvik owner", WS_OVERLAPPEDWINDOW,
                                   10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr)) {
        EXPECT_NE(m_hWnd, nullptr) << "CreateWindowExA";
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    ~OwnerWindow() { ::DestroyWindow(m_hWnd); }

    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

class MapiLogonWin32Test : public ::testing::Test {
protected:
    MapiLogonWin32Test() {
        owner_.Set(std::to_string(reinterpret_cast<ULONG_PTR>(window_.Get())));
        // Something else holds the focus, so that the probe has to give it back.
        ::SetFocus(nullptr);
    }

    bool Run() {
        EXPECT_NE(::GetFocus(), window_.Get());
        OutlookProbeWin32 outlook(window_.Get());
        message_ = "sentinel";
        return outlook.Probe().TestMapiLogon(message_);
    }

    void ExpectOwnerEnabledAndFocused() {
        EXPECT_TRUE(::IsWindowEnabled(window_.Get()));
        EXPECT_EQ(::GetFocus(), window_.Get());
    }

    TestEnvironmentVariable log_{"TARNVIK_MAPI_STUB_LOG"};
    TestEnvironmentVariable initResult_{"TARNVIK_MAPI_STUB_INIT_HR"};
    TestEnvironmentVariable logonResult_{"TARNVIK_MAPI_STUB_LOGON_HR"};
    TestEnvironmentVariable owner_{"TARNVIK_MAPI_STUB_OWNER"};
    MapiLoadOrder loadOrder_{"native"};
    SystemMapiAside systemMapi_;
    OwnerWindow window_;
    std::string message_;
};

TEST_F(MapiLogonWin32Test, NoMapiInTheSystemDirectoryAndAPlantedCopyIsIgnored) {
    char previous[MAX_PATH] = {};
    ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryA(FixtureFolder("mapi_full").c_str()));
    const bool result = Run();
    ::SetCurrentDirectoryA(previous);
    EXPECT_FALSE(result);
    EXPECT_EQ(message_, "Failed to initialize MAPI.");
    EXPECT_EQ(log_.Get(), "(unset)");
    ExpectOwnerEnabledAndFocused();
}

TEST_F(MapiLogonWin32Test, NoMapiInitialize) {
    systemMapi_.Install("mapi_no_initialize");
    EXPECT_FALSE(Run());
    EXPECT_EQ(message_, "Failed to initialize MAPI (MAPIInitialize).");
    EXPECT_EQ(log_.Get(), "attach;detach;");
    ExpectOwnerEnabledAndFocused();
}

TEST_F(MapiLogonWin32Test, InitializeFails) {
    systemMapi_.Install("mapi_full");
    initResult_.Set("80004005");
    EXPECT_FALSE(Run());
    EXPECT_EQ(message_, "Failed to initialise MAPI (Initialize)");
    EXPECT_EQ(log_.Get(), "attach;init(0,1);detach;");
    ExpectOwnerEnabledAndFocused();
}

TEST_F(MapiLogonWin32Test, NoMapiLogonEx) {
    systemMapi_.Install("mapi_no_logon");
    EXPECT_FALSE(Run());
    EXPECT_EQ(message_, "Failed to initialize MAPI (MAPILogonEx).");
    EXPECT_EQ(log_.Get(), "attach;init(0,1);uninit;detach;");
    ExpectOwnerEnabledAndFocused();
}

TEST_F(MapiLogonWin32Test, LogonFailsOrIsCancelled) {
    systemMapi_.Install("mapi_full");
    logonResult_.Set("80040113");  // MAPI_E_USER_CANCEL
    EXPECT_FALSE(Run());
    EXPECT_EQ(message_, "MAPI Logon failed.");
    EXPECT_EQ(log_.Get(), "attach;init(0,1);logon(0,empty,null,0x13,owner disabled);uninit;detach;");
    ExpectOwnerEnabledAndFocused();
}

TEST_F(MapiLogonWin32Test, LogonSucceedsAndTheSessionIsReleasedAtOnce) {
    systemMapi_.Install("mapi_full");
    EXPECT_TRUE(Run());
    EXPECT_EQ(message_, "OK");
    EXPECT_EQ(log_.Get(),
              "attach;init(0,1);logon(0,empty,null,0x13,owner disabled);release;uninit;detach;");
    ExpectOwnerEnabledAndFocused();
}

TEST_F(MapiLogonWin32Test, TwoRunsLoadAndLogOnAnew) {
    systemMapi_.Install("mapi_full");
    EXPECT_TRUE(Run());
    ::SetFocus(nullptr);
    EXPECT_TRUE(Run());
    ExpectOwnerEnabledAndFocused();
    const std::string once =
        "attach;init(0,1);logon(0,empty,null,0x13,owner disabled);release;uninit;detach;";
    EXPECT_EQ(log_.Get(), once + once);
}

// Wine's own MAPI, with no mail system behind it: whatever step it refuses, the probe ends
// with one of its failure texts and gives the owner back. Kept last: Wine may keep its
// library loaded afterwards.
TEST(MapiLogonWin32WineTest, WinesOwnMapiWithoutMailSystemFails) {
    OwnerWindow window;
    ::SetFocus(nullptr);
    OutlookProbeWin32 outlook(window.Get());
    std::string message = "sentinel";
    EXPECT_FALSE(outlook.Probe().TestMapiLogon(message));
    EXPECT_TRUE(message == "Failed to initialize MAPI." ||
                message == "Failed to initialise MAPI (Initialize)" ||
                message == "Failed to initialize MAPI (MAPILogonEx)." ||
                message == "MAPI Logon failed.")
        << message;
    EXPECT_TRUE(::IsWindowEnabled(window.Get()));
    EXPECT_EQ(::GetFocus(), window.Get());
}

}  // namespace
