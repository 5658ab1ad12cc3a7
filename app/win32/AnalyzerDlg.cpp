#include "app/win32/AnalyzerDlg.h"

#include <commctrl.h>

#include <algorithm>

#include "app/Csv.h"
#include "app/ExitCodes.h"
#include "app/Protocol.h"
#include "app/Summary.h"
#include "app/win32/Messages.h"
#include "platform/EncodingWin32.h"
#include "res/resource.h"

namespace {

// Tool tips come up at once and stay long enough to read a long conflict message, which
// wraps at this width.
constexpr int kToolTipInitialMilliseconds = 1;
constexpr int kToolTipShownMilliseconds = 30000;
constexpr int kToolTipWidthPixels = 400;

// A dialog that does not answer the run's thread in time is not waited for.
constexpr UINT kOwnerAnswerMilliseconds = 2000;

// Ticks once a second while items wait for the network.
constexpr UINT_PTR kWaitingTimer = 1;
constexpr UINT kWaitingTickMilliseconds = 1000;

std::size_t Index(Item item) { return static_cast<std::size_t>(item); }

// The status images as drawn for 100, 125, 150 and 200 % of 96 DPI. The largest that the
// screen's DPI calls for is shown at its real size, so it stays sharp.
struct StatusImages {
    int pixels;
    int pass;
    int fail;
};
constexpr StatusImages kStatusImages[] = {
    {16, IDB_STATUS_PASS, IDB_STATUS_FAIL},
    {20, IDB_STATUS_PASS_20, IDB_STATUS_FAIL_20},
    {24, IDB_STATUS_PASS_24, IDB_STATUS_FAIL_24},
    {32, IDB_STATUS_PASS_32, IDB_STATUS_FAIL_32},
};
constexpr int kStandardDpi = 96;

const StatusImages& StatusImagesForScreen() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const int wanted = ::MulDiv(kStatusImages[0].pixels, dpi, kStandardDpi);
    const StatusImages* chosen = &kStatusImages[0];
    for (const StatusImages& images : kStatusImages) {
        if (images.pixels <= wanted) chosen = &images;
    }
    return *chosen;
}

HBITMAP LoadStatusBitmap(int id) {
    return static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                             IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

}  // namespace

CAnalyzerDlg::CAnalyzerDlg(BackgroundRun::Request runs)
    : DialogBase(IDD_ANALYZER_DIALOG),
      m_runs(std::move(runs)),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_bmpPass(LoadStatusBitmap(StatusImagesForScreen().pass)),
      m_bmpFail(LoadStatusBitmap(StatusImagesForScreen().fail)) {}

// A run still going when the dialog is gone is cancelled (BackgroundRun's destructor) before
// the bitmaps its items might show are deleted.
CAnalyzerDlg::~CAnalyzerDlg() { m_run.reset(); }

BOOL CAnalyzerDlg::OnInitDialog() {
    for (const ItemRow& row : kItems) {
        if (row.label != 0) m_lblItems[Index(row.item)].SubclassDlgItem(row.label, GetSafeHwnd());
    }
    m_lblProtocolNote.SubclassDlgItem(IDC_PROTOCOL_NOTE, GetSafeHwnd());
    CreateToolTips();

    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    const bool lotus = m_runs.settings.installType == InstallType::Lotus;
    ::CheckDlgButton(GetSafeHwnd(), lotus ? IDC_TYPE_LOTUS : IDC_TYPE_EXCHANGE, BST_CHECKED);
    ShowGroup(InstallType::Exchange, !lotus);
    ShowGroup(InstallType::Lotus, lotus);
    return TRUE;
}

void CAnalyzerDlg::CreateToolTips() {
    m_pToolTip = std::make_unique<CToolTipCtrl>();
    if (!m_pToolTip->Create(GetSafeHwnd(), 0)) {
        // Everything else works as before: the links just come without tool tips.
        m_pToolTip.reset();
        return;
    }
    m_pToolTip->SetDelayTime(TTDT_INITIAL, kToolTipInitialMilliseconds);
    m_pToolTip->SetDelayTime(TTDT_AUTOPOP, kToolTipShownMilliseconds);
    m_pToolTip->SetMaxTipWidth(kToolTipWidthPixels);
    // Every judged item's label; the protocol note gets none.
    for (const ItemRow& row : kItems) {
        if (row.label != 0) m_pToolTip->AddTool(GetDlgItem(row.label), std::string());
    }
    m_pToolTip->Activate(true);
}

void CAnalyzerDlg::OnCommand(int id, int notifyCode) {
    if (notifyCode != BN_CLICKED) return;
    switch (id) {
        case IDC_TYPE_EXCHANGE: OnInstallTypeExchange(); return;
        case IDC_TYPE_LOTUS: OnInstallTypeLotus(); return;
        case IDC_TEST: OnTest(); return;
        case IDOK:
        case IDCANCEL: OnClose(id); return;
        default: return;
    }
}

bool CAnalyzerDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    switch (message) {
        case WM_PAINT:
            if (!::IsIconic(GetSafeHwnd())) return false;
            OnPaint();
            result = 0;
            return true;
        case WM_QUERYDRAGICON: result = reinterpret_cast<INT_PTR>(m_hIcon); return true;
        case WM_SETCURSOR:
            if (!m_run) return false;
            ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
            result = TRUE;
            return true;
        case kRunProgressMessage:
            OnRunProgress();
            result = 0;
            return true;
        case WM_TIMER:
            if (wParam != kWaitingTimer) return false;
            ShowWaiting();
            result = 0;
            return true;
        case kOwnerEnabledMessage:
            ::EnableWindow(GetSafeHwnd(), wParam != FALSE);
            if (wParam != FALSE) FocusButton();
            result = 0;
            return true;
        default: return false;
    }
}

void CAnalyzerDlg::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(GetSafeHwnd(), &paint);
    ::SendMessageW(GetSafeHwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(GetSafeHwnd(), &client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(GetSafeHwnd(), &paint);
}

void CAnalyzerDlg::OnInstallTypeExchange() {
    if (!IsChecked(IDC_TYPE_EXCHANGE)) return;
    ShowGroup(InstallType::Exchange, true);
    ShowGroup(InstallType::Lotus, false);
}

void CAnalyzerDlg::OnInstallTypeLotus() {
    if (!IsChecked(IDC_TYPE_LOTUS)) return;
    ShowGroup(InstallType::Exchange, false);
    ShowGroup(InstallType::Lotus, true);
}

void CAnalyzerDlg::ShowGroup(InstallType type, bool show) {
    const int command = show ? SW_SHOW : SW_HIDE;
    ::ShowWindow(GetDlgItem(type == InstallType::Exchange ? IDC_EXCHANGE_GROUP : IDC_LOTUS_GROUP),
                 command);
    for (const ItemRow& row : kItems) {
        if (row.onlyFor != type) continue;
        for (const int id : {row.label, row.field, row.image})
            ::ShowWindow(GetDlgItem(id), command);
    }
}

bool CAnalyzerDlg::IsChecked(int radio) const {
    return ::IsDlgButtonChecked(GetSafeHwnd(), radio) == BST_CHECKED;
}

void CAnalyzerDlg::OnTest() {
    if (m_run) return;  // one run at a time
    BackgroundRun::Request request = m_runs;
    request.settings.installType =
        IsChecked(IDC_TYPE_LOTUS) ? InstallType::Lotus : InstallType::Exchange;
    request.notify = GetSafeHwnd();
    request.setOwnerEnabled = [dialog = GetSafeHwnd()](bool enabled) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(dialog, kOwnerEnabledMessage, enabled, 0, SMTO_NORMAL,
                              kOwnerAnswerMilliseconds, &ignored);
    };
    SetBusy(true);
    m_run = std::make_unique<BackgroundRun>(std::move(request));
}

void CAnalyzerDlg::OnRunProgress() {
    if (!m_run) return;
    const RunProgress progress = m_run->TakeProgress();
    for (const Item item : progress.waiting) m_waiting.emplace_back(item, ::GetTickCount());
    if (!progress.waiting.empty()) {
        ShowWaiting();
        ::SetTimer(GetSafeHwnd(), kWaitingTimer, kWaitingTickMilliseconds, nullptr);
    }
    for (const auto& [item, result] : progress.items) {
        m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                                       [item = item](const auto& w) { return w.first == item; }),
                        m_waiting.end());
        ShowItem(item, result);
    }
    if (m_waiting.empty()) ::KillTimer(GetSafeHwnd(), kWaitingTimer);
    if (progress.end) OnRunEnded(*progress.end);
}

void CAnalyzerDlg::ShowWaiting() {
    for (const auto& [item, since] : m_waiting) {
        const std::string text = WaitingText((::GetTickCount() - since) / 1000);
        ::SetDlgItemTextW(GetSafeHwnd(), Row(item).field,
                          platform::WideFromProgramText(text).c_str());
    }
}

void CAnalyzerDlg::OnRunEnded(const RunEnd& end) {
    m_run.reset();
    m_waiting.clear();
    ::KillTimer(GetSafeHwnd(), kWaitingTimer);
    ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
    ShowOutcome(end);
    if (!end.csvWritten && m_nExitCode == 0) {
        ShowMessageBox(CsvNotWritten(platform::ProgramTextFromWide(m_runs.csvPath)), kErrorCaption,
                       MessageBoxKind::Plain);
    }
    // Only now: no second run starts from under the box that ends the first.
    SetBusy(false);
}

void CAnalyzerDlg::ShowOutcome(const RunEnd& end) {
    const std::string path = platform::ProgramTextFromWide(m_runs.protocolPath);
    switch (end.protocol) {
        case platform::FileWriteResult::CannotCreate:
            ShowMessageBox(kProtocolNotCreated, kErrorCaption, MessageBoxKind::Plain);
            m_nExitCode = kExitProtocolNotCreated;
            EndDialog(IDCANCEL);
            return;
        case platform::FileWriteResult::WriteFailed:
            // The run stops here, but the dialog stays usable and the user learns why.
            ShowMessageBox(ProtocolNotWritten(path), kErrorCaption, MessageBoxKind::Plain);
            return;
        case platform::FileWriteResult::Written: break;
    }
    ::SetDlgItemTextW(GetSafeHwnd(), IDC_PROTOCOL_NOTE,
                      platform::WideFromProgramText(ProtocolNote(path)).c_str());
    m_lblProtocolNote.SetMessage(end.report.protocol);
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const Summary summary = SummaryOf(end.report.conflicts);
    ShowMessageBox(summary.text, summary.caption, summary.kind);
}

void CAnalyzerDlg::OnClose(int id) {
    // Nothing of a cancelled run is written or shown; the destructor gives it its moment.
    if (m_run) m_run->Cancel();
    EndDialog(id);
}

void CAnalyzerDlg::SetBusy(bool busy) {
    for (const int id : {IDC_TEST, IDC_TYPE_EXCHANGE, IDC_TYPE_LOTUS}) {
        ::EnableWindow(GetDlgItem(id), !busy);
    }
    FocusButton();
    for (CStaticLink& label : m_lblItems) label.SetBusy(busy);
    m_lblProtocolNote.SetBusy(busy);
    if (busy) ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
}

void CAnalyzerDlg::FocusButton() {
    // Not the first field, where the dialog would put it and select the whole text.
    const int button = ::IsWindowEnabled(GetDlgItem(IDC_TEST)) ? IDC_TEST : IDOK;
    ::SendMessageW(GetSafeHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(button)),
                   TRUE);
}

void CAnalyzerDlg::ShowItem(Item item, const ItemResult& result) {
    const ItemRow& row = Row(item);
    if (row.field != 0) {
        ::SetDlgItemTextW(GetSafeHwnd(), row.field,
                          platform::WideFromProgramText(result.field).c_str());
    }
    if (result.verdict == Verdict::None || row.image == 0) return;
    const HGDIOBJ bitmap = result.verdict == Verdict::Pass ? m_bmpPass.Get() : m_bmpFail.Get();
    ::SendDlgItemMessageW(GetSafeHwnd(), row.image, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(bitmap));
    m_lblItems[Index(item)].SetMessage(result.message);
    if (m_pToolTip) m_pToolTip->UpdateTipText(result.message, GetDlgItem(row.label));
    ::InvalidateRect(GetDlgItem(row.label), nullptr, TRUE);  // plain or link from now on
}

void CAnalyzerDlg::ShowMessageBox(const std::string& text, const std::string& caption,
                                  MessageBoxKind kind) const {
    UINT flags = MB_OK;
    if (kind == MessageBoxKind::Information) flags |= MB_ICONINFORMATION;
    if (kind == MessageBoxKind::Exclamation) flags |= MB_ICONEXCLAMATION;
    ::MessageBoxW(GetSafeHwnd(), platform::WideFromProgramText(text).c_str(),
                  platform::WideFromProgramText(caption).c_str(), flags);
}
