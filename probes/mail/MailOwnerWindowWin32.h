// A dialog window as the owner of the MAPI log-on.
#pragma once

#include <windows.h>

#include "probes/mail/MailOwnerWindow.h"

class HwndOwnerWindow final : public MailOwnerWindow {
public:
    explicit HwndOwnerWindow(HWND window) : m_hWnd(window) {}

    void Disable() override;
    void EnableAndFocus() override;

private:
    HWND m_hWnd;
};
