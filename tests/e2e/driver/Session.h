// The program under test as the driver sees it: its process and its main dialog.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Win32Handles.h"

namespace uidriver {

// A command that cannot do what it was asked; the driver prints it and exits non-zero.
class DriverError : public std::runtime_error {
public:
    explicit DriverError(const std::wstring& message);
    const std::wstring& Message() const { return m_strMessage; }

private:
    std::wstring m_strMessage;
};

// The main dialog's caption: how the driver tells the program's window from any other.
inline constexpr const wchar_t* kDialogCaption = L"Tarnvik Analyz\u00e9r 1.0";

struct Timeouts {
    DWORD launchMs = 60000;    // the first start in a fresh prefix is slow
    DWORD testRunMs = 120000;  // a whole test run, network timeouts included
    DWORD boxMs = 10000;       // a box to appear after a click, or to go after closing it
    DWORD exitMs = 30000;
    DWORD sendMs = 5000;       // one message to a window that should be idle
};

class Session {
public:
    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void Launch(const std::wstring& exePath);
    void Attach();
    // Ends a process this driver started, used when the driver gives up.
    void TerminateLaunched();

    bool IsRunning() const;
    // Waits for the process to end and returns its exit code.
    DWORD WaitForExit(DWORD timeoutMs) const;

    HWND Dialog() const;
    HWND Control(int id) const;
    DWORD ProcessId() const { return m_nProcessId; }
    HANDLE Process() const { return m_hProcess.Get(); }

    // Keeps a file open, without sharing, until the driver ends.
    void Hold(platform::UniqueFileHandle file) { m_heldFiles.push_back(std::move(file)); }

    Timeouts timeouts;

private:
    void AdoptDialog(DWORD timeoutMs);

    platform::UniqueKernelHandle m_hProcess;
    DWORD m_nProcessId = 0;
    HWND m_hDialog = nullptr;
    bool m_bLaunched = false;
    std::vector<platform::UniqueFileHandle> m_heldFiles;
};

// Top-level windows of one process (every process when `processId` is 0), optionally of one
// window class, in z-order from the top.
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className);
std::wstring ClassNameOf(HWND window);
std::wstring CaptionOf(HWND window);

// Ends every process whose image is `exePath`; returns how many were ended.
int KillByImagePath(const std::wstring& exePath);

// Windows' own form of a path: full, with backslashes.
std::wstring FullPath(const std::wstring& path);

}  // namespace uidriver
