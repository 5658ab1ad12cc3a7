#include "app/win32/DialogBase.h"

#include "platform/EncodingWin32.h"

DialogBase::~DialogBase() {
    if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
}

INT_PTR DialogBase::DoModal() {
    const HWND created = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                                              m_hParent, &DialogBase::DialogProc,
                                              reinterpret_cast<LPARAM>(this));
    if (created == nullptr) return -1;
    if (m_hParent != nullptr) ::EnableWindow(m_hParent, FALSE);

    m_bModalRunning = true;
    MSG message;
    while (m_bModalRunning) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {  // WM_QUIT belongs to whoever runs the outer loop
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (PreTranslateMessage(&message)) continue;
        if (::IsDialogMessageW(m_hWnd, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }

    if (m_hParent != nullptr) ::EnableWindow(m_hParent, TRUE);
    if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
    return m_nModalResult;
}

void DialogBase::EndDialog(INT_PTR result) {
    m_nModalResult = result;
    m_bModalRunning = false;
    // Wake the loop even if no other message is pending.
    ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

bool DialogBase::PreTranslateMessage(MSG*) { return false; }

void DialogBase::OnCommand(int id, int notifyCode) {
    if ((id == IDOK || id == IDCANCEL) && notifyCode == BN_CLICKED) EndDialog(id);
}

bool DialogBase::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

void DialogBase::UpdateData() {
    for (const auto& [id, text] : m_bindings) {
        ::SetDlgItemTextW(m_hWnd, id, platform::WideFromProgramText(*text).c_str());
    }
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogBase* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return self->OnInitDialog();
    }
    self = reinterpret_cast<DialogBase*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;

    switch (message) {
        case WM_COMMAND:
            self->OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            // Let a self-colouring static decide; otherwise the default colours apply.
            const LRESULT brush = ::SendMessageW(reinterpret_cast<HWND>(lParam),
                                                 WM_REFLECTED_CTLCOLORSTATIC, wParam, 0);
            if (brush != 0) return static_cast<INT_PTR>(brush);
            return FALSE;
        }
        case WM_NCDESTROY:
            self->m_hWnd = nullptr;
            ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            return FALSE;
        default: {
            INT_PTR result = 0;
            if (self->OnMessage(message, wParam, lParam, result)) {
                // A few messages take their answer as the procedure's own return value.
                if (message == WM_QUERYDRAGICON) return result;
                ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
                return TRUE;
            }
            return FALSE;
        }
    }
}
