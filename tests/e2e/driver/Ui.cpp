#include "tests/e2e/driver/Ui.h"

#include <vector>

#include "tests/e2e/driver/Session.h"

namespace uidriver {

namespace {

// One flag per message ever sent: a handler may return long after the command that sent
// its message has finished, and its callback must still find its flag.
std::vector<bool>& HandledFlags() {
    static std::vector<bool> flags;
    return flags;
}

void CALLBACK MarkHandled(HWND, UINT, ULONG_PTR ticket, LRESULT) {
    HandledFlags()[ticket] = true;
}

}  // namespace

SendTicket SendWithoutWaiting(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const SendTicket ticket = HandledFlags().size();
    HandledFlags().push_back(false);
    if (!::SendMessageCallbackW(window, message, wParam, lParam, MarkHandled, ticket))
        throw DriverError(L"SendMessageCallbackW failed with error " +
                          std::to_wstring(::GetLastError()));
    return ticket;
}

bool WaitHandled(SendTicket ticket, DWORD timeoutMs) {
    // The callback arrives as a message to this thread, so keep pumping while waiting.
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        if (HandledFlags()[ticket]) return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                    QS_ALLINPUT);
    }
}

bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
    return WaitHandled(SendWithoutWaiting(window, message, wParam, lParam), timeoutMs);
}

std::wstring ReadText(HWND window, DWORD timeoutMs) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, timeoutMs, &length))
        throw DriverError(L"timeout: the window did not answer WM_GETTEXTLENGTH");
    std::vector<wchar_t> text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(),
                               reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, timeoutMs,
                               &copied))
        throw DriverError(L"timeout: the window did not answer WM_GETTEXT");
    return std::wstring(text.data(), copied < text.size() ? copied : text.size() - 1);
}

void WaitUntilIdle(HWND window, DWORD timeoutMs) {
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored))
        throw DriverError(L"timeout: the program did not answer within " +
                          std::to_wstring(timeoutMs / 1000) + L" s");
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) throw DriverError(L"GetWindowRect failed");
    return rect;
}

}  // namespace uidriver
