// uidriver works the Tarnvik Analyzér dialog from another process as a user would and prints what
// it sees as UTF-8 "key=value" lines (\r, \n, \ escaped), running the commands of Run in order.
// The first failure prints error=<why>, ends the program it works and exits with 1.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/Items.h"
#include "platform/EncodingWin32.h"
#include "res/resource.h"

namespace {

const wchar_t kCaption[] = L"Tarnvik Analyzér 1.0";
// Times are differences of GetTickCount, which survive its wrap (Windows XP has no GetTickCount64).
constexpr DWORD kWaitMs = 120000;  // the longest any one step may take
using Failure = std::wstring;      // thrown: why the driver gives up

HANDLE g_process = nullptr;
DWORD g_pid = 0;
HWND g_dialog = nullptr;
HANDLE g_limited = nullptr;  // the token of a start that is not elevated

void Print(const std::string& key, const std::wstring& value) {
    std::string line = key + "=";
    for (const char c : platform::Utf8FromWide(value))
        line += c == '\\' ? "\\\\" : c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    std::printf("%s\n", line.c_str());
}

template <typename Found>
auto WaitFor(const wchar_t* what, Found found) {  // found() while the program runs
    for (const DWORD start = ::GetTickCount();; ::Sleep(50)) {
        if (::WaitForSingleObject(g_process, 0) == WAIT_OBJECT_0)
            throw Failure(L"the program ended");
        if (auto result = found()) return result;
        if (::GetTickCount() - start > kWaitMs) throw Failure(L"timeout: ") + what;
    }
}

// A top-level dialog window of the program. Its caption is compared without asking the program.
template <typename Wanted>
HWND TopWindow(const wchar_t* caption, Wanted wanted) {
    HWND window = nullptr;
    for (;;) {
        window = ::FindWindowExW(nullptr, window, L"#32770", caption);
        if (!window) return nullptr;
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        if (pid == g_pid && wanted(window)) return window;
    }
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kWaitMs, &result))
        throw Failure(L"no answer to message ") + std::to_wstring(message);
    return static_cast<LRESULT>(result);
}

std::wstring Text(HWND window) {
    std::wstring text(Ask(window, WM_GETTEXTLENGTH) + 1, L'\0');
    text.resize(Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return text;
}

HWND Control(int id) { return ::GetDlgItem(g_dialog, id); }

void PressTest() { ::PostMessageW(Control(IDC_TEST), BM_CLICK, 0, 0); }

HWND FindBox() {  // a message box of the program, not its dialog
    return TopWindow(nullptr, [](HWND w) {
        return w != g_dialog && ::GetDlgItem(w, 0xFFFF) && ::IsWindowVisible(w);
    });
}

// The screen's pixels over a window (another program's window DC shows none under Wine),
// taken until two captures agree, so that the repaint after a closed box has finished.
RECT g_area{};
std::vector<DWORD> g_shot;  // 0x00RRGGBB, row by row

void Capture(HWND window) {
    ::GetWindowRect(window, &g_area);
    const int w = g_area.right - g_area.left;
    const int h = g_area.bottom - g_area.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> previous;
    for (int attempt = 0; attempt < 2 || (attempt < 40 && g_shot != previous); ++attempt) {
        previous.swap(g_shot);
        ::Sleep(attempt ? 100 : 0);
        void* bits = nullptr;
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, w, h, screen, g_area.left, g_area.top, SRCCOPY);
        g_shot.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + (bits ? w * h : 0));
        ::DeleteObject(::SelectObject(memory, old));
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
    }
}

// Whether the last capture shows a pixel of pure red, a link's colour, over the window.
bool ShowsRed(HWND window) {
    RECT r{};
    RECT control{};
    ::GetWindowRect(window, &control);
    ::IntersectRect(&r, &control, &g_area);
    const LONG width = g_area.right - g_area.left;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            if ((g_shot[(y - g_area.top) * width + x - g_area.left] & 0xFFFFFF) == 0xFF0000)
                return true;
    return false;
}

// Reads the box and presses its OK; returns once the dialog is idle again or gone.
void ReadAndClose(const std::string& prefix, HWND box) {
    Print(prefix + ".caption", Text(box));
    Print(prefix + ".text", Text(::GetDlgItem(box, 0xFFFF)));  // the message of every message box
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    while (::IsWindow(box)) ::Sleep(20);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(g_dialog, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored);
}

// Presses "Test !" and, until the box that ends the run, keeps asking the dialog for an answer:
// the longest wait for one, when each item's status image was set and when the box came (ms,
// printed as watch.*). Reads the box.
void Test() {
    const DWORD pressed = ::GetTickCount();
    DWORD longest = 0;
    std::vector<DWORD> imaged(kItemCount);
    PressTest();
    for (;;) {
        const HWND box = FindBox();  // first: every image set before the box is counted below
        const DWORD asked = ::GetTickCount();
        Ask(g_dialog, WM_NULL);
        longest = std::max(longest, ::GetTickCount() - asked);
        for (std::size_t i = 0; i < kItemCount; ++i)
            if (!imaged[i] && kItems[i].image &&
                Ask(Control(kItems[i].image), STM_GETIMAGE, IMAGE_BITMAP))
                imaged[i] = ::GetTickCount() - pressed;
        if (box) {
            Print("watch.box", std::to_wstring(::GetTickCount() - pressed));
            Print("watch.longest", std::to_wstring(longest));
            for (std::size_t i = 0; i < kItemCount; ++i)
                if (imaged[i])
                    Print("watch." + std::string(kItems[i].key), std::to_wstring(imaged[i]));
            return ReadAndClose("box", box);
        }
        if (::GetTickCount() - pressed > kWaitMs)
            throw Failure(L"timeout: the box that ends the run");
        ::Sleep(20);
    }
}

void State() {
    Capture(g_dialog);
    const auto link = [](int id) { return ShowsRed(Control(id)) ? L"1" : L"0"; };
    // Every tick shows one bitmap, every cross another; the operating system's is always a tick.
    const auto image = [](int id) { return Ask(Control(id), STM_GETIMAGE, IMAGE_BITMAP); };
    const LRESULT tick = image(IDC_OS_STATUS);
    for (const ItemRow& row : kItems) {
        const std::string key = row.key;
        const bool shown = ::IsWindowVisible(Control(row.field ? row.field : row.image));
        Print(key + ".visible", shown ? L"1" : L"0");
        if (row.field) Print(key + ".field", Text(Control(row.field)));
        if (!row.image) continue;
        const LRESULT bitmap = image(row.image);
        Print(key + ".image", !shown           ? L"hidden"
                              : !bitmap        ? L"none"
                              : bitmap == tick ? L"tick"
                                               : L"cross");
        Print(key + ".link", shown ? link(row.label) : L"0");
    }
    Print("note", Text(Control(IDC_PROTOCOL_NOTE)));
    Print("note.link", link(IDC_PROTOCOL_NOTE));
    Print("checked", Ask(Control(IDC_TYPE_EXCHANGE), BM_GETCHECK) == BST_CHECKED ? L"exchange"
                     : Ask(Control(IDC_TYPE_LOTUS), BM_GETCHECK) == BST_CHECKED  ? L"lotus"
                                                                                 : L"none");
    Print("enabled", ::IsWindowEnabled(g_dialog) ? L"1" : L"0");
    const bool testable = ::IsWindowEnabled(Control(IDC_TEST)) &&
                          ::IsWindowEnabled(Control(IDC_TYPE_EXCHANGE)) &&
                          ::IsWindowEnabled(Control(IDC_TYPE_LOTUS));
    Print("testable", testable ? L"1" : L"0");  // "Test !" and the installation types
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(g_dialog, nullptr), &gui);
    Print("focus", gui.hwndFocus == g_dialog || ::IsChild(g_dialog, gui.hwndFocus) ? L"1" : L"0");
}

// What would look wrong to a user: visible controls that overlap (group boxes frame others), and
// a tab stop that does not follow the one before it down the dialog, or rightwards on its row.
void Layout() {
    std::vector<std::pair<HWND, RECT>> shown;  // in tab order
    for (HWND c = ::GetWindow(g_dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        if (::IsWindowVisible(c) && ::GetWindowRect(c, &r)) shown.emplace_back(c, r);
    }
    const auto id = [](HWND c) { return std::to_wstring(::GetDlgCtrlID(c)); };
    const auto style = [](HWND c) { return ::GetWindowLongW(c, GWL_STYLE); };
    const auto frame = [&](HWND c) { return (style(c) & BS_TYPEMASK) == BS_GROUPBOX; };
    std::wstring overlaps;
    std::wstring order;
    const std::pair<HWND, RECT>* previous = nullptr;
    for (const auto& a : shown) {
        for (const auto* b = &a + 1; b != shown.data() + shown.size(); ++b) {
            RECT both{};
            if (!frame(a.first) && !frame(b->first) &&
                ::IntersectRect(&both, &a.second, &b->second))
                overlaps += id(a.first) + L"/" + id(b->first) + L" ";
        }
        if (!(style(a.first) & WS_TABSTOP)) continue;
        if (previous) {
            const RECT& p = previous->second;
            const RECT& r = a.second;
            const bool sameRow = r.top < p.bottom && r.bottom > p.top;
            if (sameRow ? r.left < p.right : r.top < p.bottom)
                order += id(previous->first) + L">" + id(a.first) + L" ";
        }
        previous = &a;
    }
    Print("layout.overlaps", overlaps);
    Print("layout.order", order);
    std::wstring labels;  // the report names each item as its label in the dialog reads
    for (const ItemRow& row : kItems) {
        const std::wstring text = platform::WideFromProgramText(row.dialogLabel);
        if (row.label && Text(Control(row.label)) != text) labels += text + L" ";
    }
    Print("layout.labels", labels);
}

void Click(const std::wstring& key) {
    int label = 0;
    for (const ItemRow& row : kItems)
        if (std::wstring(row.key, row.key + std::strlen(row.key)) == key) label = row.label;
    // Sent messages are handled in order: the second is answered once the click returned,
    // or from the modal loop of the box the click opened.
    ::SendNotifyMessageW(Control(label), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    Ask(g_dialog, WM_NULL);
    ReadAndClose("clickbox", WaitFor(L"the box", FindBox));
}

// Handle values are handed out lowest free first: one that a run left open raises the highest.
void Handles() {
    HANDLE copies[64] = {};
    for (HANDLE& copy : copies)  // of the driver's own process handle
        ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), g_process, &copy, 0, FALSE,
                          0);
    Print("handles", std::to_wstring(
                         reinterpret_cast<std::uintptr_t>(*std::max_element(copies, copies + 64))));
    for (HANDLE copy : copies)  // the program's copy is closed as it comes back
        if (::DuplicateHandle(g_process, copy, ::GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS))
            ::CloseHandle(copy);
}

void PrintExit(HANDLE process) {  // which must end
    DWORD code = 0;
    if (::WaitForSingleObject(process, kWaitMs) || !::GetExitCodeProcess(process, &code))
        throw Failure(L"the program does not end");
    Print("exit", std::to_wstring(static_cast<int>(code)));
}

void Adopt(HANDLE process) {
    g_process = process;
    g_pid = ::GetProcessId(process);
    g_dialog = WaitFor(L"the dialog", [] { return TopWindow(kCaption, ::IsWindowVisible); });
    Ask(g_dialog, WM_NULL);  // its initialisation has finished
}

void Run(const std::vector<std::wstring>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& command = args[i];
        const auto argument = [&] {
            return ++i < args.size() ? args[i] : throw Failure(L"no argument");
        };
        if (command == L"limited") {  // Administrators kept for denying only, as under UAC
            HANDLE token = nullptr;
            SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
            SID_AND_ATTRIBUTES admins{};
            if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &token) ||
                !::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                            DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                            &admins.Sid) ||
                !::CreateRestrictedToken(token, 0, 1, &admins, 0, nullptr, 0, nullptr, &g_limited))
                throw Failure(L"no limited token");
        } else if (command == L"start" || command == L"run") {  // run: a silent run, its exit code
            const std::wstring path = argument();
            std::wstring line = L"\"" + path + L"\" " + argument();
            const std::wstring folder = path.substr(0, path.rfind(L'\\'));
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION info{};
            // Without a limited token, with the driver's own, as CreateProcessW does.
            if (!::CreateProcessAsUserW(g_limited, path.c_str(), line.data(), nullptr, nullptr,
                                        FALSE, 0, nullptr, folder.c_str(), &startup, &info))
                throw Failure(L"cannot start ") + path;
            if (command == L"run") {
                PrintExit(info.hProcess);
                continue;
            }
            ::SetCursorPos(0, 0);  // no tool tip pops up over the dialog while it is read
            Adopt(info.hProcess);
        } else if (command == L"attach") {
            DWORD pid = 0;
            if (!::GetWindowThreadProcessId(::FindWindowW(L"#32770", kCaption), &pid))
                throw Failure(L"no program runs");
            Adopt(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid));
        } else if (command == L"exchange" || command == L"lotus") {
            Ask(Control(command == L"lotus" ? IDC_TYPE_LOTUS : IDC_TYPE_EXCHANGE), BM_CLICK);
        } else if (command == L"test") {
            Test();
        } else if (command == L"press") {
            PressTest();
        } else if (command == L"wait") {
            ::Sleep(std::stoul(argument()));
        } else if (command == L"shut") {  // the close box, during a run or not
            const DWORD asked = ::GetTickCount();
            ::PostMessageW(g_dialog, WM_CLOSE, 0, 0);
            ::WaitForSingleObject(g_process, kWaitMs);
            Print("shut.ms", std::to_wstring(::GetTickCount() - asked));
        } else if (command == L"state") {
            State();
        } else if (command == L"layout") {
            Layout();
        } else if (command == L"handles") {
            Handles();
        } else if (command == L"read") {  // a box shown instead of the dialog
            ReadAndClose("box", g_dialog);
        } else if (command == L"click") {
            Click(argument());
        } else if (command == L"hold") {  // no sharing, until the driver ends
            if (::CreateFileW(argument().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0,
                              nullptr) == INVALID_HANDLE_VALUE)
                throw Failure(L"cannot open ") + args[i];
        } else if (command == L"close") {
            ::PostMessageW(Control(IDOK), BM_CLICK, 0, 0);
            ::WaitForSingleObject(g_process, kWaitMs);
        } else {
            throw Failure(L"unknown command ") + command;
        }
    }
}

}  // namespace

int main() {
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    try {
        Run(std::vector<std::wstring>(args + 1, args + count));
        if (g_process && !::IsWindow(g_dialog)) PrintExit(g_process);  // its dialog is gone
        return 0;
    } catch (const Failure& why) {
        Print("error", why);
    }
    if (g_process) ::TerminateProcess(g_process, 1);
    return 1;
}
