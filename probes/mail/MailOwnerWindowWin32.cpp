#include "probes/mail/MailOwnerWindowWin32.h"

void HwndOwnerWindow::Disable() {
    if (m_hWnd != nullptr) ::EnableWindow(m_hWnd, FALSE);
}

void HwndOwnerWindow::EnableAndFocus() {
    if (m_hWnd == nullptr) return;
    ::EnableWindow(m_hWnd, TRUE);
    ::SetFocus(m_hWnd);
}
