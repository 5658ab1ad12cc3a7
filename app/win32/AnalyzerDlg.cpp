#include "app/win32/AnalyzerDlg.h"

#include <commctrl.h>

#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/Protocol.h"
#include "platform/EncodingWin32.h"
#include "platform/FileWin32.h"
#include "probes/PcWin32.h"
#include "res/resource.h"

namespace {

// Tool tips come up at once and stay long enough to read a long conflict message, which
// wraps at this width.
constexpr int kToolTipInitialMilliseconds = 1;
constexpr int kToolTipShownMilliseconds = 30000;
constexpr int kToolTipWidthPixels = 400;

// The caption is "Tarnvik Analyzér 1.0"; room to spare.
constexpr int kCaptionChars = 256;

std::size_t Index(Item item) { return static_cast<std::size_t>(item); }

std::wstring ExecutablePath() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length);
}

// The status images as drawn for 100, 125, 150 and 200 % of 96 DPI. The largest that the
// screen's DPI calls for is shown at its real size, so it stays sharp.
struct StatusImages {
    int pixels;
    int pass;
    int fail;
};
constexpr StatusImages kStatusImages[] = {{16, IDB_STATUS_PASS, IDB_STATUS_FAIL},
                                          {20, IDB_STATUS_PASS_20, IDB_STATUS_FAIL_20},
                                          {24, IDB_STATUS_PASS_24, IDB_STATUS_FAIL_24},
                                          {32, IDB_STATUS_PASS_32, IDB_STATUS_FAIL_32}};
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

CAnalyzerDlg::CAnalyzerDlg(HWND parent)
    : DialogBase(IDD_ANALYZER_DIALOG, parent),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_bmpPass(LoadStatusBitmap(StatusImagesForScreen().pass)),
      m_bmpFail(LoadStatusBitmap(StatusImagesForScreen().fail)),
      m_strProtocolPathW(protocol::PathBesideExecutable(ExecutablePath())) {
    DoDataExchange();
}

// The window (and with it every control showing a status bitmap) is gone before the
// bitmaps are deleted: DialogBase destroys it only after this body, so do it here.
CAnalyzerDlg::~CAnalyzerDlg() {
    if (GetSafeHwnd() != nullptr) ::DestroyWindow(GetSafeHwnd());
}

void CAnalyzerDlg::DoDataExchange() {
    for (const ItemRow& row : kItems) {
        if (row.field != 0) BindText(row.field, &m_strFields[Index(row.item)]);
    }
    BindText(IDC_PROTOCOL_NOTE, &m_strProtocolNote);
}

BOOL CAnalyzerDlg::OnInitDialog() {
    UpdateData();

    for (const ItemRow& row : kItems) {
        if (row.label != 0) m_lblItems[Index(row.item)].SubclassDlgItem(row.label, GetSafeHwnd());
    }
    m_lblProtocolNote.SubclassDlgItem(IDC_PROTOCOL_NOTE, GetSafeHwnd());
    CreateToolTips();

    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    ::CheckDlgButton(GetSafeHwnd(), IDC_TYPE_EXCHANGE, BST_CHECKED);
    ShowGroup(Shown::Exchange, true);
    ShowGroup(Shown::Lotus, false);
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

bool CAnalyzerDlg::PreTranslateMessage(MSG* message) {
    // Tool tips of windows that do not notify need to see the mouse messages first.
    if (m_pToolTip) m_pToolTip->RelayEvent(message);
    return DialogBase::PreTranslateMessage(message);
}

void CAnalyzerDlg::OnCommand(int id, int notifyCode) {
    if (notifyCode == BN_CLICKED) {
        switch (id) {
            case IDC_TYPE_EXCHANGE: OnInstallTypeExchange(); return;
            case IDC_TYPE_LOTUS: OnInstallTypeLotus(); return;
            case IDC_TEST: OnTest(); return;
            default: break;
        }
    }
    DialogBase::OnCommand(id, notifyCode);
}

bool CAnalyzerDlg::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    switch (message) {
        case WM_PAINT:
            if (!::IsIconic(GetSafeHwnd())) return false;
            OnPaint();
            result = 0;
            return true;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<INT_PTR>(m_hIcon);
            return true;
        default:
            return false;
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
    if (!IsExchangeChecked()) return;
    ShowGroup(Shown::Exchange, true);
    ShowGroup(Shown::Lotus, false);
}

void CAnalyzerDlg::OnInstallTypeLotus() {
    if (!IsLotusChecked()) return;
    ShowGroup(Shown::Exchange, false);
    ShowGroup(Shown::Lotus, true);
}

void CAnalyzerDlg::ShowGroup(Shown group, bool show) {
    const int command = show ? SW_SHOW : SW_HIDE;
    ::ShowWindow(GetDlgItem(group == Shown::Exchange ? IDC_EXCHANGE_GROUP : IDC_LOTUS_GROUP),
                 command);
    for (const ItemRow& row : kItems) {
        if (row.shown != group) continue;
        for (const int id : {row.label, row.field, row.image}) ::ShowWindow(GetDlgItem(id), command);
    }
}

void CAnalyzerDlg::OnTest() {
    PcWin32 pc(GetSafeHwnd());
    m_testRun.Run(pc);
}

// ---- the view the test run drives ----

std::string CAnalyzerDlg::GetCaption() const {
    wchar_t caption[kCaptionChars] = {};
    const int length = ::GetWindowTextW(GetSafeHwnd(), caption, kCaptionChars);
    return platform::ProgramTextFromWide(caption, length);
}

std::optional<CalendarTime> CAnalyzerDlg::GetLocalTime() const {
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    if (localtime_s(&local, &now) != 0) return std::nullopt;
    return CalendarTime{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                        local.tm_hour, local.tm_min,     local.tm_sec};
}

void CAnalyzerDlg::BeginWaitCursor() {
    m_hCursorBeforeWait = ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
}

void CAnalyzerDlg::EndWaitCursor() {
    ::SetCursor(m_hCursorBeforeWait != nullptr
                    ? m_hCursorBeforeWait
                    : ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}

void CAnalyzerDlg::SetFieldText(Item item, const std::string& text) {
    m_strFields[Index(item)] = text;
}

void CAnalyzerDlg::SetProtocolNote(const std::string& text) { m_strProtocolNote = text; }

void CAnalyzerDlg::Refresh() { UpdateData(); }

void CAnalyzerDlg::Redraw() {
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CAnalyzerDlg::ShowStatusImage(Item item, bool pass) {
    const HGDIOBJ bitmap = pass ? m_bmpPass.Get() : m_bmpFail.Get();
    ::SendDlgItemMessageW(GetSafeHwnd(), Row(item).image, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(bitmap));
}

void CAnalyzerDlg::SetLabelMessage(Item item, const std::string& message) {
    m_lblItems[Index(item)].SetMessage(message);
    if (m_pToolTip) m_pToolTip->UpdateTipText(message, GetDlgItem(Row(item).label));
}

void CAnalyzerDlg::SetProtocolNoteMessage(const std::string& message) {
    m_lblProtocolNote.SetMessage(message);
}

bool CAnalyzerDlg::IsExchangeChecked() const {
    return ::IsDlgButtonChecked(GetSafeHwnd(), IDC_TYPE_EXCHANGE) == BST_CHECKED;
}

bool CAnalyzerDlg::IsLotusChecked() const {
    return ::IsDlgButtonChecked(GetSafeHwnd(), IDC_TYPE_LOTUS) == BST_CHECKED;
}

std::string CAnalyzerDlg::GetProtocolPath() const {
    return platform::ProgramTextFromWide(m_strProtocolPathW);
}

ProtocolWriteResult CAnalyzerDlg::WriteProtocolFile(const std::string& text) {
    // A new file moved over the old one: a link at the protocol's name is never written
    // through, and the previous protocol stays whole until the new one is complete.
    switch (platform::WriteFileByReplacement(m_strProtocolPathW, text)) {
        case platform::FileWriteResult::Written: return ProtocolWriteResult::Written;
        case platform::FileWriteResult::CannotCreate: return ProtocolWriteResult::CannotCreate;
        case platform::FileWriteResult::WriteFailed: break;
    }
    return ProtocolWriteResult::WriteFailed;
}

void CAnalyzerDlg::ShowMessageBox(const std::string& text, const std::string& caption,
                                  MessageBoxKind kind) {
    UINT flags = MB_OK;
    if (kind == MessageBoxKind::Information) flags |= MB_ICONINFORMATION;
    if (kind == MessageBoxKind::Exclamation) flags |= MB_ICONEXCLAMATION;
    ::MessageBoxW(GetSafeHwnd(), platform::WideFromProgramText(text).c_str(),
                  platform::WideFromProgramText(caption).c_str(), flags);
}

void CAnalyzerDlg::ExitProcess(int exitCode) {
    std::exit(exitCode);  // an ordinary exit: static objects are destroyed
}
