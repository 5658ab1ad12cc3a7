#include "probes/mail/OutlookProbeWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Win32TestSupport.h"
#include "platform/SystemLibraryWin32.h"

namespace {

using namespace win32test;

const char kLoggedOnOnce[] =
    "attach;init(0,1);logon(0,empty,null,0x13,owner disabled);release;uninit;detach;";

// A file moved aside for one test, so that the test can put its own there or none at all.
class FileAside : Scoped {
public:
    explicit FileAside(const std::string& path)
        : m_path(path), m_moved(::MoveFileExA(path.c_str(), (path + ".tarnvik-aside").c_str(), 0) != 0) {}
    ~FileAside() {
        EXPECT_TRUE(!m_moved || ::MoveFileExA((m_path + ".tarnvik-aside").c_str(), m_path.c_str(), 0))
            << "moving back " << m_path;
    }

private:
    std::string m_path;
    bool m_moved;
};

// A top-level window of this thread that stands for the main dialog. It stays hidden:
// focus works the same, and Wine takes seconds to destroy a window that was mapped.
class OwnerWindow : Scoped {
public:
    OwnerWindow()
        : m_hWnd(::CreateWindowExA(0, "STATIC", "Tarnvik owner", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                   100, nullptr, nullptr, nullptr, nullptr)) {
        EXPECT_NE(m_hWnd, nullptr) << "CreateWindowExA";
    }
    ~OwnerWindow() { ::DestroyWindow(m_hWnd); }
    HWND Get() const { return m_hWnd; }

    // Runs the probe while something else holds the focus, which the probe has to give back.
    bool RunProbe(std::string& message) {
        ::SetFocus(nullptr);
        EXPECT_NE(::GetFocus(), m_hWnd);
        OutlookProbeWin32 outlook(m_hWnd);
        message = "sentinel";
        const bool passed = outlook.Probe().TestMapiLogon(message);
        EXPECT_TRUE(::IsWindowEnabled(m_hWnd));
        EXPECT_EQ(::GetFocus(), m_hWnd);
        return passed;
    }

private:
    HWND m_hWnd;
};

// A stub MAPI in the system directory that logs its calls. Wine keeps its own mapi32
// built in; only the "native" load order makes it load a file put into system32.
struct StubMapi {
    explicit StubMapi(const char* stubFolder) {
        loadOrder.SetString("mapi32", "native");
        ownerVariable.Set(std::to_string(reinterpret_cast<ULONG_PTR>(owner.Get())).c_str());
        if (stubFolder) stub = std::make_unique<TestFile>(FixtureFolder(stubFolder) + "mapi32.dll", path);
    }

    TestEnvironmentVariable log{"TARNVIK_MAPI_STUB_LOG"};
    TestEnvironmentVariable initResult{"TARNVIK_MAPI_STUB_INIT_HR"};
    TestEnvironmentVariable logonResult{"TARNVIK_MAPI_STUB_LOGON_HR"};
    TestEnvironmentVariable ownerVariable{"TARNVIK_MAPI_STUB_OWNER"};
    TestKey loadOrder{HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides"};
    const std::string path = platform::SystemDirectoryPath("mapi32.dll");
    FileAside systemMapi{path};
    std::unique_ptr<TestFile> stub;
    OwnerWindow owner;
};

TEST(MapiLogonWin32Test, EveryStepHasItsTextAndTheOwnerIsGivenBack) {
    // A full stub in the current directory must never be what is loaded.
    const WorkingDirectory planted(FixtureFolder("mapi_full"));
    const struct {
        const char* stub;
        const char* initResult;
        const char* logonResult;
        bool passes;
        const char* message;
        const char* log;
    } cases[] = {
        {nullptr, nullptr, nullptr, false, "Failed to initialize MAPI.", "(unset)"},
        {"mapi_no_initialize", nullptr, nullptr, false, "Failed to initialize MAPI (MAPIInitialize).",
         "attach;detach;"},
        {"mapi_full", "80004005", nullptr, false, "Failed to initialise MAPI (Initialize)",
         "attach;init(0,1);detach;"},
        {"mapi_no_logon", nullptr, nullptr, false, "Failed to initialize MAPI (MAPILogonEx).",
         "attach;init(0,1);uninit;detach;"},
        {"mapi_full", nullptr, "80040113", false, "MAPI Logon failed.",  // MAPI_E_USER_CANCEL
         "attach;init(0,1);logon(0,empty,null,0x13,owner disabled);uninit;detach;"},
        {"mapi_full", nullptr, nullptr, true, "OK", kLoggedOnOnce},  // the session is released at once
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        StubMapi mapi(c.stub);
        mapi.initResult.Set(c.initResult);
        mapi.logonResult.Set(c.logonResult);
        std::string message;
        EXPECT_EQ(mapi.owner.RunProbe(message), c.passes);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(mapi.log.Get(), c.log);
    }
}

TEST(MapiLogonWin32Test, TwoRunsLoadAndLogOnAnew) {
    StubMapi mapi("mapi_full");
    std::string message;
    EXPECT_TRUE(mapi.owner.RunProbe(message));
    EXPECT_TRUE(mapi.owner.RunProbe(message));
    EXPECT_EQ(mapi.log.Get(), std::string(kLoggedOnOnce) + kLoggedOnOnce);
}

// Wine's own MAPI, with no mail system behind it: whatever step it refuses, the probe ends
// with one of its failure texts and gives the owner back. Kept last: Wine may keep its
// library loaded afterwards.
TEST(MapiLogonWin32WineTest, WinesOwnMapiWithoutMailSystemFails) {
    OwnerWindow owner;
    std::string message;
    EXPECT_FALSE(owner.RunProbe(message));
    EXPECT_TRUE(message == "Failed to initialize MAPI." ||
                message == "Failed to initialise MAPI (Initialize)" ||
                message == "Failed to initialize MAPI (MAPILogonEx)." || message == "MAPI Logon failed.")
        << message;
}

}  // namespace
