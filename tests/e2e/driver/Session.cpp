#include "tests/e2e/driver/Session.h"

#include <tlhelp32.h>

#include "tests/e2e/driver/Output.h"

namespace uidriver {

namespace {

constexpr DWORD kPollMs = 50;

struct WindowQuery {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (query->processId != 0 && owner != query->processId) return TRUE;
    if (query->className != nullptr && ClassNameOf(window) != query->className) return TRUE;
    query->found->push_back(window);
    return TRUE;
}

std::vector<HWND> FindDialogs(DWORD processId) {
    std::vector<HWND> dialogs;
    for (HWND window : TopLevelWindows(processId, L"#32770")) {
        if (CaptionOf(window) == kDialogCaption) dialogs.push_back(window);
    }
    return dialogs;
}

std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

DriverError::DriverError(const std::wstring& message)
    : std::runtime_error(Utf8FromWide(message)), m_strMessage(message) {}

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className) {
    std::vector<HWND> found;
    WindowQuery query{processId, className, &found};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return found;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = L"";
    ::GetClassNameW(window, name, 256);
    return name;
}

std::wstring CaptionOf(HWND window) {
    // Top-level captions are kept by the window manager side, so this does not need the
    // owning thread to answer and works while the program is busy.
    wchar_t caption[512] = L"";
    ::InternalGetWindowText(window, caption, 512);
    return caption;
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH * 4] = L"";
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, nullptr);
    if (length == 0 || length >= MAX_PATH * 4) return path;
    return full;
}

void Session::Launch(const std::wstring& exePath) {
    if (m_hProcess) throw DriverError(L"launch: a program is already attached");
    const std::wstring path = FullPath(exePath);
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw DriverError(L"launch: no such file " + path);
    std::wstring commandLine = L"\"" + path + L"\"";
    const std::wstring folder = FolderOf(path);
    // The program must not inherit the driver's output: whoever reads the driver's output
    // waits for its end, and the program may outlive the driver.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    platform::UniqueFileHandle nul(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                                 OPEN_EXISTING, 0, nullptr));
    if (!nul) throw DriverError(L"launch: cannot open NUL");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.Get();
    PROCESS_INFORMATION info{};
    // Started from its own folder, as a double click in Explorer would.
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        throw DriverError(L"launch: CreateProcessW failed with error " +
                          std::to_wstring(::GetLastError()));
    ::CloseHandle(info.hThread);
    m_hProcess.Reset(info.hProcess);
    m_nProcessId = info.dwProcessId;
    m_bLaunched = true;
    ::WaitForInputIdle(info.hProcess, timeouts.launchMs);
    AdoptDialog(timeouts.launchMs);
}

void Session::Attach() {
    if (m_hProcess) throw DriverError(L"attach: a program is already attached");
    const std::vector<HWND> dialogs = FindDialogs(0);
    if (dialogs.empty()) throw DriverError(L"attach: no window is captioned " +
                                           std::wstring(kDialogCaption));
    if (dialogs.size() > 1) throw DriverError(L"attach: more than one program is running");
    DWORD processId = 0;
    ::GetWindowThreadProcessId(dialogs.front(), &processId);
    m_hProcess.Reset(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
    if (!m_hProcess) throw DriverError(L"attach: OpenProcess failed with error " +
                                       std::to_wstring(::GetLastError()));
    m_nProcessId = processId;
    AdoptDialog(timeouts.launchMs);
}

void Session::AdoptDialog(DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        const std::vector<HWND> dialogs = FindDialogs(m_nProcessId);
        if (!dialogs.empty() && ::IsWindowVisible(dialogs.front())) {
            m_hDialog = dialogs.front();
            break;
        }
        if (!IsRunning()) {
            throw DriverError(L"the program ended with exit code " +
                              std::to_wstring(static_cast<int>(WaitForExit(0))) +
                              L" before its dialog appeared");
        }
        if (::GetTickCount64() > deadline)
            throw DriverError(L"timeout: the dialog did not appear within " +
                              std::to_wstring(timeoutMs / 1000) + L" s");
        ::Sleep(kPollMs);
    }
    // The dialog answers messages once its initialisation has finished.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(m_hDialog, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored);
}

void Session::TerminateLaunched() {
    if (!m_bLaunched || !IsRunning()) return;
    ::TerminateProcess(m_hProcess.Get(), 1);
    ::WaitForSingleObject(m_hProcess.Get(), timeouts.exitMs);
}

bool Session::IsRunning() const {
    return m_hProcess && ::WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT;
}

DWORD Session::WaitForExit(DWORD timeoutMs) const {
    if (!m_hProcess) throw DriverError(L"no program is attached");
    if (::WaitForSingleObject(m_hProcess.Get(), timeoutMs) != WAIT_OBJECT_0)
        throw DriverError(L"timeout: the program did not end within " +
                          std::to_wstring(timeoutMs / 1000) + L" s");
    DWORD code = 0;
    ::GetExitCodeProcess(m_hProcess.Get(), &code);
    return code;
}

HWND Session::Dialog() const {
    if (!m_hDialog) throw DriverError(L"no program is attached (use launch or attach first)");
    if (!::IsWindow(m_hDialog)) throw DriverError(L"the dialog is gone");
    return m_hDialog;
}

HWND Session::Control(int id) const {
    HWND control = ::GetDlgItem(Dialog(), id);
    if (!control) throw DriverError(L"the dialog has no control " + std::to_wstring(id));
    return control;
}

int KillByImagePath(const std::wstring& exePath) {
    const std::wstring wanted = FullPath(exePath);
    platform::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) throw DriverError(L"kill: CreateToolhelp32Snapshot failed");
    int killed = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        platform::UniqueKernelHandle process(::OpenProcess(
            PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
            entry.th32ProcessID));
        if (!process) continue;
        wchar_t image[MAX_PATH * 4] = L"";
        DWORD length = MAX_PATH * 4;
        if (!::QueryFullProcessImageNameW(process.Get(), 0, image, &length)) continue;
        if (::CompareStringOrdinal(image, -1, wanted.c_str(), -1, TRUE) != CSTR_EQUAL) continue;
        if (::TerminateProcess(process.Get(), 1)) {
            ::WaitForSingleObject(process.Get(), 10000);
            ++killed;
        }
    }
    return killed;
}

}  // namespace uidriver
