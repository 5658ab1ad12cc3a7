#include "tests/e2e/driver/Commands.h"

#include <windows.h>

#include <commctrl.h>

#include <cwchar>

#include "res/resource.h"
#include "tests/e2e/driver/MessageBoxes.h"
#include "tests/e2e/driver/Output.h"
#include "tests/e2e/driver/Pixels.h"
#include "tests/e2e/driver/RegistryCommands.h"
#include "tests/e2e/driver/Session.h"
#include "tests/e2e/driver/ToolTips.h"
#include "tests/e2e/driver/Ui.h"

namespace uidriver {

namespace {

constexpr int kFieldIds[] = {IDC_CPU,   IDC_RAM,      IDC_DISK,     IDC_OS,
                             IDC_IE,    IDC_ACTIVEX,  IDC_EARLIER_INSTALL,
                             IDC_HTTP,  IDC_HTTPS,    IDC_DOMAIN,   IDC_SERVICES,
                             IDC_OUTLOOK, IDC_EXCHANGE, IDC_LOTUS,  IDC_PROTOCOL_NOTE};
constexpr int kImageIds[] = {IDC_DISK_STATUS,     IDC_OS_STATUS,      IDC_IE_STATUS,
                             IDC_ACTIVEX_STATUS,  IDC_EARLIER_INSTALL_STATUS,
                             IDC_HTTP_STATUS,     IDC_HTTPS_STATUS,   IDC_ADMIN_STATUS,
                             IDC_DOMAIN_STATUS,   IDC_SERVICES_STATUS, IDC_OUTLOOK_STATUS,
                             IDC_EXCHANGE_STATUS, IDC_LOTUS_STATUS};
constexpr int kLabelIds[] = {IDC_DISK_LABEL,     IDC_OS_LABEL,       IDC_IE_LABEL,
                             IDC_ACTIVEX_LABEL,  IDC_EARLIER_INSTALL_LABEL,
                             IDC_HTTP_LABEL,     IDC_HTTPS_LABEL,    IDC_ADMIN_LABEL,
                             IDC_DOMAIN_LABEL,   IDC_SERVICES_LABEL, IDC_OUTLOOK_LABEL,
                             IDC_EXCHANGE_LABEL, IDC_LOTUS_LABEL,    IDC_PROTOCOL_NOTE};

constexpr DWORD kPollMs = 50;
constexpr DWORD kClickSettleMs = 5000;
constexpr DWORD kHoverWaitMs = 3000;

int ParseInteger(const std::wstring& text) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.c_str(), &end, 10);
    if (text.empty() || *end != L'\0') throw DriverError(L"not a number: " + text);
    return static_cast<int>(value);
}

std::wstring Key(const wchar_t* prefix, int id) {
    return std::wstring(prefix) + L"." + std::to_wstring(id);
}

void ReportBox(const std::wstring& prefix, const BoxFacts& facts) {
    Report(prefix + L".caption", facts.caption);
    Report(prefix + L".icon", facts.icon);
    Report(prefix + L".text", facts.text);
}

// Clicks and waits until the handler has returned or has opened a message box, at most
// `waitMs`. Returns whether the handler returned.
bool ClickButton(const Session& session, int id, DWORD waitMs) {
    const SendTicket click = SendWithoutWaiting(session.Control(id), BM_CLICK, 0, 0);
    const ULONGLONG deadline = ::GetTickCount64() + waitMs;
    while (!WaitHandled(click, kPollMs)) {
        if (::GetTickCount64() > deadline || FindBox(session)) return false;
    }
    return true;
}

void Launch(Session& session, const Arguments& args) {
    session.Launch(args[0]);
    Report(L"launched", static_cast<long long>(session.ProcessId()));
}

void Attach(Session& session, const Arguments&) {
    session.Attach();
    Report(L"attached", static_cast<long long>(session.ProcessId()));
}

void Kill(Session&, const Arguments& args) {
    Report(L"killed", KillByImagePath(args[0]));
}

void Click(Session& session, const Arguments& args) {
    ClickButton(session, ParseInteger(args[0]), kClickSettleMs);
}

void ReportChecked(const Session& session, int id) {
    DWORD_PTR state = 0;
    if (!::SendMessageTimeoutW(session.Control(id), BM_GETCHECK, 0, 0, SMTO_NORMAL,
                               session.timeouts.sendMs, &state))
        throw DriverError(L"timeout: the button did not answer BM_GETCHECK");
    Report(Key(L"checked", id), state == BST_CHECKED ? 1 : 0);
}

void Radio(Session& session, const Arguments& args) {
    const int id = ParseInteger(args[0]);
    if (!ClickButton(session, id, session.timeouts.sendMs))
        throw DriverError(L"timeout: the dialog did not finish handling the radio click");
    ReportChecked(session, id);
}

void Checked(Session& session, const Arguments& args) {
    ReportChecked(session, ParseInteger(args[0]));
}

void Test(Session& session, const Arguments&) {
    const ULONGLONG start = ::GetTickCount64();
    SendWithoutWaiting(session.Control(IDC_TEST), BM_CLICK, 0, 0);
    WaitForBox(session, session.timeouts.testRunMs);
    Report(L"test.ms", static_cast<long long>(::GetTickCount64() - start));
}

void WaitBox(Session& session, const Arguments&) {
    WaitForBox(session, session.timeouts.boxMs);
}

void Box(Session& session, const Arguments&) {
    ReportBox(L"box", ReadBox(session, WaitForBox(session, session.timeouts.boxMs)));
}

void CloseBoxCommand(Session& session, const Arguments&) {
    CloseBox(session, WaitForBox(session, session.timeouts.boxMs));
}

void Field(Session& session, const Arguments& args) {
    const int id = ParseInteger(args[0]);
    Report(Key(L"field", id), ReadText(session.Control(id), session.timeouts.sendMs));
}

void Fields(Session& session, const Arguments&) {
    for (const int id : kFieldIds)
        Report(Key(L"field", id), ReadText(session.Control(id), session.timeouts.sendMs));
}

void Visible(Session& session, const Arguments& args) {
    const int id = ParseInteger(args[0]);
    Report(Key(L"visible", id), ::IsWindowVisible(session.Control(id)) ? 1 : 0);
}

BOOL CALLBACK ReportChildVisibility(HWND child, LPARAM parent) {
    const int id = ::GetDlgCtrlID(child);
    if (::GetParent(child) == reinterpret_cast<HWND>(parent) && id > 0)
        Report(Key(L"visible", id), ::IsWindowVisible(child) ? 1 : 0);
    return TRUE;
}

// Whether the keyboard focus of the program's window thread lies in the dialog.
void Focus(Session& session, const Arguments&) {
    HWND dialog = session.Dialog();
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    const DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
    const bool inDialog = ::GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr &&
                          (info.hwndFocus == dialog || ::IsChild(dialog, info.hwndFocus));
    Report(L"focus", inDialog ? 1 : 0);
}

void Visibility(Session& session, const Arguments&) {
    HWND dialog = session.Dialog();
    ::EnumChildWindows(dialog, ReportChildVisibility, reinterpret_cast<LPARAM>(dialog));
}

void Enabled(Session& session, const Arguments& args) {
    const int id = ParseInteger(args[0]);
    HWND window = id == 0 ? session.Dialog() : session.Control(id);
    Report(Key(L"enabled", id), ::IsWindowEnabled(window) ? 1 : 0);
}

// The screen shows only what no box covers and what the program has finished painting.
Pixels CaptureControl(const Session& session, HWND control) {
    WaitUntilIdle(session.Dialog(), session.timeouts.sendMs);
    return CaptureStable(ScreenRect(control));
}

void ReportImage(const Session& session, int id) {
    HWND control = session.Control(id);
    Report(Key(L"image", id), ::IsWindowVisible(control)
                                  ? ClassifyStatusImage(CaptureControl(session, control))
                                  : std::wstring(L"hidden"));
}

void Image(Session& session, const Arguments& args) {
    ReportImage(session, ParseInteger(args[0]));
}

void Images(Session& session, const Arguments&) {
    for (const int id : kImageIds) ReportImage(session, id);
}

void PixelCounts(Session& session, const Arguments& args) {
    const int id = ParseInteger(args[0]);
    const HueCounts counts = CountHues(CaptureControl(session, session.Control(id)));
    Report(Key(L"pixels", id), L"green:" + std::to_wstring(counts.green) +
                                   L" red:" + std::to_wstring(counts.red) +
                                   L" blue:" + std::to_wstring(counts.blue) +
                                   L" yellow:" + std::to_wstring(counts.yellow));
}

void ReportLink(const Session& session, int id) {
    HWND control = session.Control(id);
    if (!::IsWindowVisible(control)) {
        Report(Key(L"link", id), L"hidden");
        return;
    }
    const LinkLook look = InspectLink(CaptureControl(session, control));
    Report(Key(L"link", id), look.redPixels > 0 && look.underlined ? 1 : 0);
    Report(Key(L"link", id) + L".red", look.redPixels);
    Report(Key(L"link", id) + L".underlined", look.underlined ? 1 : 0);
}

void Link(Session& session, const Arguments& args) {
    ReportLink(session, ParseInteger(args[0]));
}

void Links(Session& session, const Arguments&) {
    for (const int id : kLabelIds) ReportLink(session, id);
}

void ReportTip(const Session& session, int id) {
    const ToolFacts facts = ReadTool(session, session.Control(id));
    Report(Key(L"tip", id) + L".registered", facts.registered ? 1 : 0);
    Report(Key(L"tip", id), facts.text);
}

void Tip(Session& session, const Arguments& args) {
    ReportTip(session, ParseInteger(args[0]));
}

void Tips(Session& session, const Arguments&) {
    for (const int id : kLabelIds) ReportTip(session, id);
}

void ToolTipCommand(Session& session, const Arguments&) {
    const ToolTipSettings settings = ReadToolTipSettings(session);
    Report(L"tooltip.initial", settings.initialMs);
    Report(L"tooltip.autopop", settings.autoPopMs);
    Report(L"tooltip.maxwidth", settings.maxWidth);
    Report(L"tooltip.count", settings.toolCount);
}

// A click on a label: either a box opens (read it, close it) or nothing happens.
void ClickLabel(Session& session, const Arguments& args) {
    const int id = ParseInteger(args[0]);
    HWND label = session.Control(id);
    const std::wstring key = Key(L"clickbox", id);
    const SendTicket click = SendWithoutWaiting(label, WM_LBUTTONDOWN, MK_LBUTTON,
                                                MAKELPARAM(2, 2));
    const ULONGLONG deadline = ::GetTickCount64() + session.timeouts.boxMs;
    HWND box = nullptr;
    while (!WaitHandled(click, kPollMs) && !(box = FindBox(session))) {
        if (::GetTickCount64() > deadline)
            throw DriverError(L"timeout: the label click neither returned nor opened a box");
    }
    if (box) {
        box = WaitForBox(session, session.timeouts.boxMs);
        ReportBox(key, ReadBox(session, box));
        CloseBox(session, box);
        if (!WaitHandled(click, session.timeouts.boxMs))
            throw DriverError(L"timeout: the label click did not return after its box closed");
    } else {
        Report(key, L"none");
    }
    SendAndWait(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2), session.timeouts.sendMs);
}

HWND VisibleToolTip(const Session& session) {
    for (HWND tip : TopLevelWindows(session.ProcessId(), TOOLTIPS_CLASSW)) {
        if (::IsWindowVisible(tip)) return tip;
    }
    return nullptr;
}

// Away from every window, so that a tip shown earlier goes.
void MouseToCorner() {
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
}

// Rests the mouse on a control and reads the tool tip that the program shows for it.
void Hover(Session& session, const Arguments& args) {
    const int id = ParseInteger(args[0]);
    const RECT rect = ScreenRect(session.Control(id));
    MouseToCorner();
    ULONGLONG deadline = ::GetTickCount64() + kHoverWaitMs;
    while (VisibleToolTip(session) && ::GetTickCount64() < deadline) ::Sleep(kPollMs);
    const int y = (rect.top + rect.bottom) / 2;
    // Two positions, so that the program sees the pointer move inside the control.
    ::SetCursorPos(rect.left + 2, y);
    ::Sleep(kPollMs);
    ::SetCursorPos((rect.left + rect.right) / 2, y);
    HWND shown = nullptr;
    deadline = ::GetTickCount64() + kHoverWaitMs;
    while (!(shown = VisibleToolTip(session)) && ::GetTickCount64() < deadline) ::Sleep(kPollMs);
    Report(Key(L"hover", id) + L".shown", shown ? 1 : 0);
    Report(Key(L"hover", id) + L".text", shown ? ReadText(shown, session.timeouts.sendMs) : L"");
    // Later screen reads must not see the tip.
    MouseToCorner();
    deadline = ::GetTickCount64() + kHoverWaitMs;
    while (VisibleToolTip(session) && ::GetTickCount64() < deadline) ::Sleep(kPollMs);
}

void RegSet(Session&, const Arguments& args) {
    SetRegistryValue(args[0], args[1], args[2], args[3]);
    Report(L"regset", args[0] + L"\\" + args[1]);
}

void RegDel(Session&, const Arguments& args) {
    Report(L"regdel", DeleteRegistryKey(args[0]) ? L"deleted" : L"absent");
}

void RegDelVal(Session&, const Arguments& args) {
    Report(L"regdelval", DeleteRegistryValue(args[0], args[1]) ? L"deleted" : L"absent");
}

void Hold(Session& session, const Arguments& args) {
    platform::UniqueFileHandle file(::CreateFileW(args[0].c_str(), GENERIC_READ | GENERIC_WRITE,
                                                  0, nullptr, OPEN_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw DriverError(L"hold: cannot open " + args[0] + L" (error " +
                                 std::to_wstring(::GetLastError()) + L")");
    session.Hold(std::move(file));
    Report(L"held", args[0]);
}

void Close(Session& session, const Arguments&) {
    ::PostMessageW(session.Control(IDOK), BM_CLICK, 0, 0);
}

void CloseWindow(Session& session, const Arguments&) {
    ::PostMessageW(session.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void WaitExit(Session& session, const Arguments&) {
    Report(L"exit", static_cast<int>(session.WaitForExit(session.timeouts.exitMs)));
}

void Running(Session& session, const Arguments&) {
    Report(L"running", session.IsRunning() ? 1 : 0);
}

void SleepCommand(Session&, const Arguments& args) {
    ::Sleep(static_cast<DWORD>(ParseInteger(args[0])));
}

void TimeoutCommand(Session& session, const Arguments& args) {
    session.timeouts.testRunMs = static_cast<DWORD>(ParseInteger(args[0])) * 1000;
}

}  // namespace

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {L"launch", 1, Launch, L"<exe>: start the program and wait for its dialog"},
        {L"attach", 0, Attach, L": take over the one running program"},
        {L"kill", 1, Kill, L"<exe>: end every process started from <exe>"},
        {L"click", 1, Click, L"<id>: press a button"},
        {L"radio", 1, Radio, L"<id>: choose a radio button"},
        {L"checked", 1, Checked, L"<id>: whether a radio button is checked"},
        {L"test", 0, Test, L": press \"Test !\" and wait for the box that ends the run"},
        {L"wait-box", 0, WaitBox, L": wait for a message box"},
        {L"box", 0, Box, L": caption, icon and text of the open message box"},
        {L"close-box", 0, CloseBoxCommand, L": press OK in the open message box"},
        {L"field", 1, Field, L"<id>: text of a control"},
        {L"fields", 0, Fields, L": text of every field and of the protocol note"},
        {L"visible", 1, Visible, L"<id>: whether a control is shown"},
        {L"visibility", 0, Visibility, L": visibility of every control"},
        {L"focus", 0, Focus, L": whether the keyboard focus is in the dialog"},
        {L"enabled", 1, Enabled, L"<id>: whether a control (0: the dialog) is enabled"},
        {L"image", 1, Image, L"<id>: tick, cross or none on the screen"},
        {L"images", 0, Images, L": every status image"},
        {L"pixels", 1, PixelCounts, L"<id>: coloured pixels of a control on the screen"},
        {L"link", 1, Link, L"<id>: whether a label is drawn red and underlined"},
        {L"links", 0, Links, L": every label"},
        {L"tip", 1, Tip, L"<id>: tool-tip text of a label"},
        {L"tips", 0, Tips, L": tool-tip text of every label"},
        {L"tooltip", 0, ToolTipCommand, L": delays, width and tool count of the tool tip"},
        {L"click-label", 1, ClickLabel, L"<id>: click a label and read the box it opens"},
        {L"hover", 1, Hover, L"<id>: rest the mouse on a control and read the tool tip shown"},
        {L"regset", 4, RegSet, L"<key> <name> <type> <data>: write a registry value"},
        {L"regdel", 1, RegDel, L"<key>: delete a registry key and its subkeys"},
        {L"regdelval", 2, RegDelVal, L"<key> <name>: delete a registry value"},
        {L"hold", 1, Hold, L"<file>: keep a file open without sharing until the driver ends"},
        {L"close", 0, Close, L": press \"Koniec\""},
        {L"close-window", 0, CloseWindow, L": close the dialog from its system menu"},
        {L"wait-exit", 0, WaitExit, L": wait for the program to end, print its exit code"},
        {L"running", 0, Running, L": whether the program still runs"},
        {L"sleep", 1, SleepCommand, L"<ms>: pause"},
        {L"timeout", 1, TimeoutCommand, L"<s>: longest wait for a test run (default 120)"},
    };
    return commands;
}

const Command* FindCommand(const std::wstring& name) {
    for (const Command& command : AllCommands()) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

}  // namespace uidriver
