#include "tests/e2e/driver/ToolTips.h"

#include <commctrl.h>

#include <vector>

#include "tests/e2e/driver/Session.h"

namespace uidriver {

namespace {

// Longer than any tip: the control itself copies at most 1024 characters.
constexpr std::size_t kTextCapacity = 4096;

// Memory inside the program, because tool-tip messages carry pointers that the tool-tip
// control dereferences in its own process.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, std::size_t size) : m_hProcess(process) {
        m_pBase = ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                   PAGE_READWRITE);
        if (!m_pBase) throw DriverError(L"VirtualAllocEx failed with error " +
                                        std::to_wstring(::GetLastError()));
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    ~RemoteBlock() { ::VirtualFreeEx(m_hProcess, m_pBase, 0, MEM_RELEASE); }

    char* Address(std::size_t offset) const { return static_cast<char*>(m_pBase) + offset; }
    void Write(std::size_t offset, const void* data, std::size_t size) const {
        SIZE_T written = 0;
        if (!::WriteProcessMemory(m_hProcess, Address(offset), data, size, &written) ||
            written != size)
            throw DriverError(L"WriteProcessMemory failed");
    }
    void Read(std::size_t offset, void* data, std::size_t size) const {
        SIZE_T read = 0;
        if (!::ReadProcessMemory(m_hProcess, Address(offset), data, size, &read) || read != size)
            throw DriverError(L"ReadProcessMemory failed");
    }

private:
    HANDLE m_hProcess;
    void* m_pBase = nullptr;
};

LRESULT Ask(const Session& session, HWND tip, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(tip, message, wParam, lParam, SMTO_NORMAL, session.timeouts.sendMs,
                               &result))
        throw DriverError(L"timeout: the tool-tip control did not answer");
    return static_cast<LRESULT>(result);
}

}  // namespace

HWND FindToolTip(const Session& session) {
    HWND dialog = session.Dialog();
    const std::vector<HWND> tips = TopLevelWindows(session.ProcessId(), TOOLTIPS_CLASSW);
    for (HWND tip : tips) {
        if (::GetWindow(tip, GW_OWNER) == dialog) return tip;
    }
    if (tips.empty()) throw DriverError(L"the dialog has no tool-tip control");
    return tips.front();
}

ToolTipSettings ReadToolTipSettings(const Session& session) {
    HWND tip = FindToolTip(session);
    ToolTipSettings settings;
    settings.initialMs = Ask(session, tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0);
    settings.autoPopMs = Ask(session, tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0);
    settings.maxWidth = Ask(session, tip, TTM_GETMAXTIPWIDTH, 0, 0);
    settings.toolCount = Ask(session, tip, TTM_GETTOOLCOUNT, 0, 0);
    return settings;
}

ToolFacts ReadTool(const Session& session, HWND control) {
    HWND tip = FindToolTip(session);
    RemoteBlock block(session.Process(), sizeof(TTTOOLINFOW) + kTextCapacity * sizeof(wchar_t));
    const std::size_t textOffset = sizeof(TTTOOLINFOW);

    // The tools are keyed by the label's window, as registered by the dialog.
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = session.Dialog();
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = nullptr;  // asks for the tool only, no text copy
    block.Write(0, &info, sizeof info);
    const auto remoteInfo = reinterpret_cast<LPARAM>(block.Address(0));

    ToolFacts facts;
    facts.registered = Ask(session, tip, TTM_GETTOOLINFOW, 0, remoteInfo) != 0;
    if (!facts.registered) return facts;

    info.lpszText = reinterpret_cast<LPWSTR>(block.Address(textOffset));
    block.Write(0, &info, sizeof info);
    const wchar_t empty = L'\0';
    block.Write(textOffset, &empty, sizeof empty);
    Ask(session, tip, TTM_GETTEXTW, kTextCapacity, remoteInfo);

    std::vector<wchar_t> text(kTextCapacity, L'\0');
    block.Read(textOffset, text.data(), text.size() * sizeof(wchar_t));
    text.back() = L'\0';
    facts.text = text.data();
    return facts;
}

}  // namespace uidriver
