#include "app/win32/StaticLink.h"

#include <commctrl.h>

#include "app/Summary.h"
#include "app/win32/Messages.h"
#include "platform/EncodingWin32.h"

namespace {
constexpr UINT_PTR kSubclassId = 0x1043;
}

CStaticLink::~CStaticLink() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ::RemoveWindowSubclass(m_hWnd, &CStaticLink::SubclassProc, kSubclassId);
    }
}

bool CStaticLink::SubclassDlgItem(int id, HWND dialog) {
    const HWND control = ::GetDlgItem(dialog, id);
    if (control == nullptr) return false;
    if (!::SetWindowSubclass(control, &CStaticLink::SubclassProc, kSubclassId,
                             reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_hWnd = control;
    return true;
}

HBRUSH CStaticLink::CtlColor(HDC dc) {
    // Only text statics (left, centred, right) holding a message are drawn as links.
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if (m_strMessage.empty() || (style & SS_TYPEMASK) > SS_RIGHT) {
        UseFont(m_hFontNormal);
        return nullptr;
    }

    if (!m_fontUnderline) {
        m_hFontNormal = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        LOGFONTW logFont = {};
        ::GetObjectW(m_hFontNormal != nullptr ? static_cast<HGDIOBJ>(m_hFontNormal)
                                              : ::GetStockObject(DEFAULT_GUI_FONT),
                     sizeof(logFont), &logFont);
        logFont.lfUnderline = TRUE;
        m_fontUnderline.Reset(::CreateFontIndirectW(&logFont));
    }
    // Some static implementations select the control's own font after asking for colours,
    // so the underlined font becomes the control's font while the label is a link.
    UseFont(static_cast<HFONT>(m_fontUnderline.Get()));
    ::SelectObject(dc, m_fontUnderline.Get());
    ::SetTextColor(dc, m_crText);
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CStaticLink::UseFont(HFONT font) {
    if (font == nullptr) return;
    if (reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)) != font) {
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

void CStaticLink::OnLButtonDown() {
    if (m_strMessage.empty()) return;
    ::MessageBoxW(m_hWnd, platform::WideFromProgramText(m_strMessage).c_str(),
                  platform::WideFromProgramText(kInformationCaption).c_str(), MB_OK);
}

bool CStaticLink::OnSetCursor() {
    if (m_strMessage.empty() || m_bBusy) return false;
    ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
    return true;
}

LRESULT CALLBACK CStaticLink::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR selfData) {
    auto* self = reinterpret_cast<CStaticLink*>(selfData);
    switch (message) {
        case WM_NCHITTEST:
            // Statics without the notify style are transparent to the mouse; a link is not.
            return HTCLIENT;
        case WM_REFLECTED_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(self->CtlColor(reinterpret_cast<HDC>(wParam)));
        case WM_LBUTTONDOWN: self->OnLButtonDown(); return 0;
        case WM_SETCURSOR:
            if (self->OnSetCursor()) return TRUE;
            break;  // a plain label leaves the cursor to its dialog
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(hwnd, &CStaticLink::SubclassProc, kSubclassId);
            self->m_hWnd = nullptr;
            break;
        default: break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}
