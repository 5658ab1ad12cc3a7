// The main dialog: installation type, "Test !", one read-only field, status image and label
// per item, and the protocol note. A run works in the background; each item shows as soon as
// it is judged, and the dialog keeps answering throughout.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Items.h"
#include "app/Summary.h"
#include "app/TestRun.h"
#include "app/win32/BackgroundRun.h"
#include "app/win32/DialogBase.h"
#include "app/win32/StaticLink.h"
#include "app/win32/ToolTip.h"
#include "platform/Win32Handles.h"

class CAnalyzerDlg final : public DialogBase {
public:
    // Every run is made from `runs`: its protocol path, CSV path, caption and, checked at
    // start, its installation type.
    explicit CAnalyzerDlg(BackgroundRun::Request runs);
    ~CAnalyzerDlg() override;

    // What the program ends with: 0, or the exit code of a protocol that could not be created.
    int ExitCode() const { return m_nExitCode; }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void CreateToolTips();
    void OnPaint();
    void OnInstallTypeExchange();
    void OnInstallTypeLotus();
    // Shows or hides the group box and the rows of one installation type.
    void ShowGroup(InstallType type, bool show);
    bool IsChecked(int radio) const;

    void OnTest();
    void OnRunProgress();
    // Counts the seconds in the fields of the items that wait for the network.
    void ShowWaiting();
    void OnRunEnded(const RunEnd& end);
    // The boxes that end a run: an error about the protocol file, or the summary.
    void ShowOutcome(const RunEnd& end);
    void OnClose(int id);
    // While a run goes on "Test !" and the radios are disabled and the wait cursor shows.
    void SetBusy(bool busy);
    // The keyboard focus on "Test !", or on "Koniec" while a run goes on.
    void FocusButton();
    void ShowItem(Item item, const ItemResult& result);
    void ShowMessageBox(const std::string& text, const std::string& caption,
                        MessageBoxKind kind) const;

    const BackgroundRun::Request m_runs;
    std::unique_ptr<CToolTipCtrl> m_pToolTip;
    HICON m_hIcon = nullptr;
    // Indexed by item; the entries of items without a label stay unused.
    std::array<CStaticLink, kItemCount> m_lblItems;
    CStaticLink m_lblProtocolNote;
    // Both status images are loaded once and shared by every item, so runs never leak them.
    platform::UniqueGdiObject m_bmpPass;
    platform::UniqueGdiObject m_bmpFail;
    std::unique_ptr<BackgroundRun> m_run;
    // The items that wait for the network, and the tick count when they began to.
    std::vector<std::pair<Item, DWORD>> m_waiting;
    int m_nExitCode = 0;
};
