// The main dialog: installation type, "Test !", one read-only field, status image and label
// per item, and the protocol note. Implements the view that the test run drives.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

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
    void OnPaint();
    void OnInstallTypeExchange();
    void OnInstallTypeLotus();
    void OnTest();
    void ShowExchangeGroup(bool show);
    void ShowLotusGroup(bool show);
    CStaticLink* LabelById(int id);

    // TestRunView
    std::string GetCaption() const override;
    std::optional<CalendarTime> GetLocalTime() const override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void SetFieldText(int fieldId, const std::string& text) override;
    void Refresh() override;
    void Redraw() override;
    void ShowStatusImage(int imageId, bool pass) override;
    void SetLabelMessage(int labelId, const std::string& message) override;
    void SetProtocolNoteMessage(const std::string& message) override;
    bool IsRadioChecked(int radioId) const override;
    ProtocolWriteResult WriteProtocolFile(const std::string& path, const std::string& text) override;
    void ShowMessageBox(const std::string& text, const std::string& caption,
                        MessageBoxKind kind) override;
    void ExitProcess(int exitCode) override;

    std::unique_ptr<CToolTipCtrl> m_pToolTip;
    HICON m_hIcon = nullptr;
    CStaticLink m_lblLotus;
    CStaticLink m_lblOutlook;
    CStaticLink m_lblExchange;
    CStaticLink m_lblDisk;
    CStaticLink m_lblOs;
    CStaticLink m_lblIe;
    CStaticLink m_lblActiveX;
    CStaticLink m_lblHttp;
    CStaticLink m_lblHttps;
    CStaticLink m_lblAdmin;
    CStaticLink m_lblDomain;
    CStaticLink m_lblServices;
    CStaticLink m_lblEarlierInstall;
    CStaticLink m_lblProtocolNote;
    std::string m_strCpu;
    std::string m_strRam;
    std::string m_strDisk;
    std::string m_strOs;
    std::string m_strIe;
    std::string m_strDomain;
    std::string m_strServices;
    std::string m_strOutlook;
    std::string m_strHttp;
    std::string m_strHttps;
    std::string m_strLotus;
    std::string m_strExchange;
    std::string m_strProtocolNote;
    std::string m_strActiveX;
    std::string m_strEarlierInstall;

    // The conflict list and its counter live in the test run, which the dialog owns.
    TestRun m_testRun{*this};
    // Both status images are loaded once and shared by every item, so runs never leak them.
    platform::UniqueGdiObject m_bmpPass;
    platform::UniqueGdiObject m_bmpFail;
    HCURSOR m_hCursorBeforeWait = nullptr;
    std::wstring m_strProtocolPathW;
};
