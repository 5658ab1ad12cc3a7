// The main dialog: installation type, "Test !", one read-only field, status image and label
// per item, and the protocol note. Implements the view that the test run drives.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/Items.h"
#include "app/TestRun.h"
#include "app/TestRunView.h"
#include "app/win32/DialogBase.h"
#include "app/win32/StaticLink.h"
#include "app/win32/ToolTip.h"
#include "platform/Win32Handles.h"

class CAnalyzerDlg final : public DialogBase, private TestRunView {
public:
    explicit CAnalyzerDlg(HWND parent = nullptr);
    ~CAnalyzerDlg() override;

    std::string GetProtocolPath() const override;

protected:
    BOOL OnInitDialog() override;
    bool PreTranslateMessage(MSG* message) override;
    void OnCommand(int id, int notifyCode) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void DoDataExchange();
    void CreateToolTips();
    void OnPaint();
    void OnInstallTypeExchange();
    void OnInstallTypeLotus();
    void OnTest();
    // Shows or hides the group box and the rows of one installation type.
    void ShowGroup(Shown group, bool show);

    // TestRunView
    std::string GetCaption() const override;
    std::optional<CalendarTime> GetLocalTime() const override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void SetFieldText(Item item, const std::string& text) override;
    void SetProtocolNote(const std::string& text) override;
    void Refresh() override;
    void Redraw() override;
    void ShowStatusImage(Item item, bool pass) override;
    void SetLabelMessage(Item item, const std::string& message) override;
    void SetProtocolNoteMessage(const std::string& message) override;
    bool IsExchangeChecked() const override;
    bool IsLotusChecked() const override;
    ProtocolWriteResult WriteProtocolFile(const std::string& text) override;
    void ShowMessageBox(const std::string& text, const std::string& caption,
                        MessageBoxKind kind) override;
    void ExitProcess(int exitCode) override;

    std::unique_ptr<CToolTipCtrl> m_pToolTip;
    HICON m_hIcon = nullptr;
    // Indexed by item; the entries of items without a field or label stay unused.
    std::array<CStaticLink, kItemCount> m_lblItems;
    CStaticLink m_lblProtocolNote;
    std::array<std::string, kItemCount> m_strFields;
    std::string m_strProtocolNote;

    // The conflict list and its counter live in the test run, which the dialog owns.
    TestRun m_testRun{*this};
    // Both status images are loaded once and shared by every item, so runs never leak them.
    platform::UniqueGdiObject m_bmpPass;
    platform::UniqueGdiObject m_bmpFail;
    HCURSOR m_hCursorBeforeWait = nullptr;
    std::wstring m_strProtocolPathW;
};
