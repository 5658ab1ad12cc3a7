// A very small dialog base: a modal loop of its own (so messages can be looked at before
// dialog processing), one dialog procedure that hands messages to virtual handlers, and
// data exchange of field texts to their controls.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Sent by the dialog to a static control that may want to colour itself (a reflected
// WM_CTLCOLORSTATIC): wParam is the device context; a non-zero result is the brush to use.
constexpr UINT WM_REFLECTED_CTLCOLORSTATIC = WM_APP + 0x100;

class DialogBase {
public:
    DialogBase(int templateId, HWND parent) : m_templateId(templateId), m_hParent(parent) {}
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    virtual ~DialogBase();

    // Creates the dialog and runs its message loop until EndDialog; returns EndDialog's value.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    HWND GetSafeHwnd() const { return m_hWnd; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // Called for every message of the modal loop before dialog processing; true = consumed.
    virtual bool PreTranslateMessage(MSG* message);
    virtual void OnCommand(int id, int notifyCode);
    // Any other message; return true and set `result` when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    // Data exchange: field texts (code page 1250) bound to control ids; the fields are
    // read-only, so texts only ever travel to the controls.
    void BindText(int controlId, std::string* text) { m_bindings.emplace_back(controlId, text); }
    void UpdateData();

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    HWND m_hParent;
    HWND m_hWnd = nullptr;
    bool m_bModalRunning = false;
    INT_PTR m_nModalResult = IDCANCEL;
    std::vector<std::pair<int, std::string*>> m_bindings;
};
