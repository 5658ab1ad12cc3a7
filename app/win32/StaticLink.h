// A label that turns into a red, underlined link while it holds a message: hand cursor,
// and a click shows the message in an "Informácie" box.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "platform/Win32Handles.h"

class CStaticLink {
public:
    CStaticLink() = default;
    CStaticLink(const CStaticLink&) = delete;
    CStaticLink& operator=(const CStaticLink&) = delete;
    ~CStaticLink();

    // Takes over the dialog's static control `id`.
    bool SubclassDlgItem(int id, HWND dialog);

    // An empty message makes it a plain label again. Shows at the label's next paint.
    void SetMessage(std::string message) { m_strMessage = std::move(message); }
    // While its dialog is busy a link shows no hand: the dialog's wait cursor stays.
    void SetBusy(bool busy) { m_bBusy = busy; }

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    HBRUSH CtlColor(HDC dc);
    void OnLButtonDown();
    bool OnSetCursor();
    void UseFont(HFONT font);

    HWND m_hWnd = nullptr;
    COLORREF m_crText = RGB(255, 0, 0);
    platform::UniqueGdiObject m_fontUnderline;  // created on first coloured paint, then kept
    HFONT m_hFontNormal = nullptr;              // the dialog's font, owned by the dialog
    std::string m_strMessage;
    bool m_bBusy = false;
};
