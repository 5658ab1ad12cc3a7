#include "tests/e2e/driver/MessageBoxes.h"

#include <algorithm>
#include <vector>

#include "tests/e2e/driver/Pixels.h"
#include "tests/e2e/driver/Session.h"
#include "tests/e2e/driver/Ui.h"

namespace uidriver {

namespace {

constexpr int kBoxTextId = 0xFFFF;  // the message static of every system message box
constexpr DWORD kPollMs = 50;
constexpr int kGap = 8;

BOOL CALLBACK FindIconStatic(HWND child, LPARAM param) {
    if (ClassNameOf(child) != L"Static") return TRUE;
    if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

// A system message box, not some other dialog the program (or a library) may open.
bool IsMessageBox(HWND window, HWND dialog) {
    return window != dialog && ::IsWindowVisible(window) && ::GetDlgItem(window, kBoxTextId);
}

bool Overlaps(const RECT& a, const RECT& b) {
    RECT common;
    return ::IntersectRect(&common, &a, &b) != FALSE;
}

// Message boxes open in the middle of the screen and may hide the dialog's right half.
void MoveBesideDialog(const Session& session, HWND box) {
    const RECT dialog = ScreenRect(session.Dialog());
    RECT rect = ScreenRect(box);
    if (!Overlaps(dialog, rect)) return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    int x = rect.left;
    int y = rect.top;
    if (dialog.right + kGap + width <= screenWidth) {
        x = dialog.right + kGap;
    } else if (dialog.bottom + kGap + height <= screenHeight) {
        y = dialog.bottom + kGap;
    } else {
        x = std::max(0, screenWidth - width);
    }
    ::SetWindowPos(box, nullptr, x, y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    const ULONGLONG deadline = ::GetTickCount64() + session.timeouts.boxMs;
    while (::IsWindow(box) && ::GetTickCount64() < deadline) {
        rect = ScreenRect(box);
        if (rect.left == x && rect.top == y) break;
        ::Sleep(kPollMs);
    }
}

}  // namespace

HWND FindBox(const Session& session) {
    HWND dialog = session.Dialog();
    for (HWND window : TopLevelWindows(session.ProcessId(), L"#32770")) {
        if (IsMessageBox(window, dialog)) return window;
    }
    return nullptr;
}

HWND WaitForBox(const Session& session, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (!session.IsRunning())
            throw DriverError(L"the program ended with exit code " +
                              std::to_wstring(static_cast<int>(session.WaitForExit(0))) +
                              L" while a message box was awaited");
        if (HWND box = FindBox(session)) {
            WaitUntilIdle(box, session.timeouts.sendMs);
            MoveBesideDialog(session, box);
            return box;
        }
        if (::GetTickCount64() > deadline)
            throw DriverError(L"timeout: no message box appeared within " +
                              std::to_wstring(timeoutMs / 1000) + L" s");
        ::Sleep(kPollMs);
    }
}

BoxFacts ReadBox(const Session& session, HWND box) {
    BoxFacts facts;
    facts.caption = CaptionOf(box);
    HWND text = ::GetDlgItem(box, kBoxTextId);
    if (text) facts.text = ReadText(text, session.timeouts.sendMs);

    HWND icon = nullptr;
    ::EnumChildWindows(box, FindIconStatic, reinterpret_cast<LPARAM>(&icon));
    DWORD_PTR hasIcon = 0;
    if (icon && ::IsWindowVisible(icon))
        ::SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_NORMAL, session.timeouts.sendMs,
                              &hasIcon);
    const RECT iconRect = icon ? ScreenRect(icon) : RECT{};
    // A box without an icon keeps the static, but empty and shrunk to nothing.
    if (!hasIcon || iconRect.right <= iconRect.left || iconRect.bottom <= iconRect.top)
        facts.icon = L"none";
    else
        facts.icon = ClassifyBoxIcon(CaptureStable(iconRect));
    return facts;
}

void CloseBox(const Session& session, HWND box) {
    HWND ok = ::GetDlgItem(box, IDOK);
    if (ok)
        ::PostMessageW(ok, BM_CLICK, 0, 0);
    else
        ::PostMessageW(box, WM_CLOSE, 0, 0);
    const ULONGLONG deadline = ::GetTickCount64() + session.timeouts.boxMs;
    while (::IsWindow(box)) {
        if (::GetTickCount64() > deadline)
            throw DriverError(L"timeout: the message box did not close");
        ::Sleep(kPollMs);
    }
}

}  // namespace uidriver
