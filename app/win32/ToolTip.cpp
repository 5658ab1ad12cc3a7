#include <windows.h>
#include <commctrl.h>

#include "app/win32/ToolTip.h"
#include "platform/EncodingWin32.h"

CToolTipCtrl::~CToolTipCtrl() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

bool CToolTipCtrl::Create(HWND parent, DWORD style) {
    m_hParent = parent;
    m_hWnd = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    return m_hWnd != nullptr;
}

TTTOOLINFOW CToolTipCtrl::ToolInfo(HWND tool) const {
    TTTOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = m_hParent;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    return info;
}

void CToolTipCtrl::AddTool(HWND tool, const std::string& text) {
    std::wstring wide = platform::WideFromProgramText(text);
    TTTOOLINFOW info = ToolInfo(tool);
    info.lpszText = wide.data();
    ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(const std::string& text, HWND tool) {
    std::wstring wide = platform::WideFromProgramText(text);
    TTTOOLINFOW info = ToolInfo(tool);
    info.lpszText = wide.data();
    ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetDelayTime(DWORD which, int milliseconds) {
    ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, which, MAKELPARAM(milliseconds, 0));
}

void CToolTipCtrl::SetMaxTipWidth(int pixels) {
    ::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, pixels);
}

void CToolTipCtrl::Activate(bool active) {
    ::SendMessageW(m_hWnd, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}
