#include "app/win32/DialogBase.h"

#include "app/win32/Messages.h"

INT_PTR DialogBase::DoModal(HWND parent) {
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), parent,
                             &DialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

void DialogBase::OnCommand(int id, int notifyCode) {
    if ((id == IDOK || id == IDCANCEL) && notifyCode == BN_CLICKED) EndDialog(id);
}

bool DialogBase::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR CALLBACK DialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogBase*>(lParam);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<DialogBase*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;

    switch (message) {
        case WM_COMMAND: self->OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_CTLCOLORSTATIC: {
            // Let a self-colouring static decide; otherwise the default colours apply.
            const LRESULT brush = ::SendMessageW(reinterpret_cast<HWND>(lParam),
                                                 WM_REFLECTED_CTLCOLORSTATIC, wParam, 0);
            return static_cast<INT_PTR>(brush);
        }
        case WM_NCDESTROY:
            self->m_hWnd = nullptr;
            ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            return FALSE;
        default: {
            INT_PTR result = 0;
            if (!self->OnMessage(message, wParam, lParam, result)) return FALSE;
            // A few messages take their answer as the procedure's own return value.
            if (message == WM_QUERYDRAGICON) return result;
            ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
}
