// A very small dialog base: a modal dialog from the system's dialog manager, whose one dialog
// procedure hands messages to virtual handlers of the object.
#pragma once

#include <windows.h>

class DialogBase {
public:
    explicit DialogBase(int templateId) : m_templateId(templateId) {}
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    virtual ~DialogBase() = default;

    // Shows the dialog and returns EndDialog's value once it is closed (-1 when it could not
    // be created).
    INT_PTR DoModal(HWND parent = nullptr);
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }
    HWND GetSafeHwnd() const { return m_hWnd; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // "Koniec", Esc and the close box all end the dialog unless this is overridden.
    virtual void OnCommand(int id, int notifyCode);
    // Any other message; return true and set `result` when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    HWND m_hWnd = nullptr;
};
