// The dialog's tool-tip control: tools are windows (the labels), which it subclasses to see
// their mouse messages; texts are code page 1250.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

class CToolTipCtrl {
public:
    CToolTipCtrl() = default;
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;
    ~CToolTipCtrl();

    bool Create(HWND parent, DWORD style);
    void AddTool(HWND tool, const std::string& text);
    void UpdateTipText(const std::string& text, HWND tool);
    void SetDelayTime(DWORD which, int milliseconds);
    void SetMaxTipWidth(int pixels);
    void Activate(bool active);

private:
    TTTOOLINFOW ToolInfo(HWND tool) const;

    HWND m_hWnd = nullptr;
    HWND m_hParent = nullptr;
};
