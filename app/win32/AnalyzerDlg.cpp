#include "app/win32/AnalyzerDlg.h"

#include <commctrl.h>

#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/Protocol.h"
#include "app/win32/Win32Probes.h"
#include "platform/EncodingWin32.h"
#include "res/resource.h"

namespace {

// Labels in the order they are taken over; all but the protocol note get a tool tip.
const int kLinkLabels[] = {IDC_LOTUS_LABEL,    IDC_DISK_LABEL,     IDC_OS_LABEL,
                           IDC_IE_LABEL,       IDC_EARLIER_INSTALL_LABEL,
                           IDC_ACTIVEX_LABEL,  IDC_HTTP_LABEL,     IDC_HTTPS_LABEL,
                           IDC_ADMIN_LABEL,    IDC_DOMAIN_LABEL,   IDC_SERVICES_LABEL,
                           IDC_EXCHANGE_LABEL, IDC_OUTLOOK_LABEL};

const int kExchangeGroup[] = {IDC_EXCHANGE_GROUP, IDC_OUTLOOK_LABEL,   IDC_OUTLOOK,
                              IDC_OUTLOOK_STATUS, IDC_EXCHANGE_LABEL,  IDC_EXCHANGE,
                              IDC_EXCHANGE_STATUS};
const int kLotusGroup[] = {IDC_LOTUS_GROUP, IDC_LOTUS_LABEL, IDC_LOTUS, IDC_LOTUS_STATUS};

std::wstring ExecutablePath() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length);
}

HBITMAP LoadStatusBitmap(int id) {
    return static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                             IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

}  // namespace

CAnalyzerDlg::CAnalyzerDlg(HWND parent)
    : DialogBase(IDD_ANALYZER_DIALOG, parent),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_bmpPass(LoadStatusBitmap(IDB_STATUS_PASS)),
      m_bmpFail(LoadStatusBitmap(IDB_STATUS_FAIL)),
      m_strProtocolPathW(protocol::PathBesideExecutable(ExecutablePath())) {
    DoDataExchange();
}

// The window (and with it every control showing a status bitmap) is gone before the
// bitmaps are deleted: DialogBase destroys it only after this body, so do it here.
CAnalyzerDlg::~CAnalyzerDlg() {
    if (GetSafeHwnd() != nullptr) ::DestroyWindow(GetSafeHwnd());
}

void CAnalyzerDlg::DoDataExchange() {
    BindText(IDC_CPU, &m_strCpu);
    BindText(IDC_RAM, &m_strRam);
    BindText(IDC_DISK, &m_strDisk);
    BindText(IDC_OS, &m_strOs);
    BindText(IDC_IE, &m_strIe);
    BindText(IDC_DOMAIN, &m_strDomain);
    BindText(IDC_SERVICES, &m_strServices);
    BindText(IDC_OUTLOOK, &m_strOutlook);
    BindText(IDC_HTTP, &m_strHttp);
    BindText(IDC_HTTPS, &m_strHttps);
    BindText(IDC_LOTUS, &m_strLotus);
    BindText(IDC_EXCHANGE, &m_strExchange);
    BindText(IDC_PROTOCOL_NOTE, &m_strProtocolNote);
    BindText(IDC_ACTIVEX, &m_strActiveX);
    BindText(IDC_EARLIER_INSTALL, &m_strEarlierInstall);
}

BOOL CAnalyzerDlg::OnInitDialog() {
    UpdateData();

    m_pToolTip = std::make_unique<CToolTipCtrl>();
    if (!m_pToolTip->Create(GetSafeHwnd(), 0)) {
        // The dialog still works, only without links and tool tips.
        m_pToolTip.reset();
        return TRUE;
    }

    for (int id : kLinkLabels) LabelById(id)->SubclassDlgItem(id, GetSafeHwnd());
    m_lblProtocolNote.SubclassDlgItem(IDC_PROTOCOL_NOTE, GetSafeHwnd());

    m_pToolTip->SetDelayTime(TTDT_INITIAL, 1);
    m_pToolTip->SetDelayTime(TTDT_AUTOPOP, 30000);
    m_pToolTip->SetMaxTipWidth(400);  // long conflict messages wrap
    for (int id : kLinkLabels) m_pToolTip->AddTool(GetDlgItem(id), std::string());
    m_pToolTip->Activate(true);

    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    ::CheckDlgButton(GetSafeHwnd(), IDC_TYPE_EXCHANGE, BST_CHECKED);
    ShowExchangeGroup(true);
    ShowLotusGroup(false);
    return TRUE;
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
    if (!IsRadioChecked(IDC_TYPE_EXCHANGE)) return;
    ShowExchangeGroup(true);
    ShowLotusGroup(false);
}

void CAnalyzerDlg::OnInstallTypeLotus() {
    if (!IsRadioChecked(IDC_TYPE_LOTUS)) return;
    ShowExchangeGroup(false);
    ShowLotusGroup(true);
}

void CAnalyzerDlg::ShowExchangeGroup(bool show) {
    for (int id : kExchangeGroup) ::ShowWindow(GetDlgItem(id), show ? SW_SHOW : SW_HIDE);
}

void CAnalyzerDlg::ShowLotusGroup(bool show) {
    for (int id : kLotusGroup) ::ShowWindow(GetDlgItem(id), show ? SW_SHOW : SW_HIDE);
}

void CAnalyzerDlg::OnTest() {
    Win32Probes probes(GetSafeHwnd());
    m_testRun.Run(probes);
}

CStaticLink* CAnalyzerDlg::LabelById(int id) {
    switch (id) {
        case IDC_LOTUS_LABEL: return &m_lblLotus;
        case IDC_OUTLOOK_LABEL: return &m_lblOutlook;
        case IDC_EXCHANGE_LABEL: return &m_lblExchange;
        case IDC_DISK_LABEL: return &m_lblDisk;
        case IDC_OS_LABEL: return &m_lblOs;
        case IDC_IE_LABEL: return &m_lblIe;
        case IDC_ACTIVEX_LABEL: return &m_lblActiveX;
        case IDC_HTTP_LABEL: return &m_lblHttp;
        case IDC_HTTPS_LABEL: return &m_lblHttps;
        case IDC_ADMIN_LABEL: return &m_lblAdmin;
        case IDC_DOMAIN_LABEL: return &m_lblDomain;
        case IDC_SERVICES_LABEL: return &m_lblServices;
        case IDC_EARLIER_INSTALL_LABEL: return &m_lblEarlierInstall;
        case IDC_PROTOCOL_NOTE: return &m_lblProtocolNote;
        default: return nullptr;
    }
}

// ---- the view the test run drives ----

std::string CAnalyzerDlg::GetCaption() const {
    wchar_t caption[256] = {};
    const int length = ::GetWindowTextW(GetSafeHwnd(), caption, 256);
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

void CAnalyzerDlg::SetFieldText(int fieldId, const std::string& text) {
    std::string* field = nullptr;
    switch (fieldId) {
        case IDC_CPU: field = &m_strCpu; break;
        case IDC_RAM: field = &m_strRam; break;
        case IDC_DISK: field = &m_strDisk; break;
        case IDC_OS: field = &m_strOs; break;
        case IDC_IE: field = &m_strIe; break;
        case IDC_DOMAIN: field = &m_strDomain; break;
        case IDC_SERVICES: field = &m_strServices; break;
        case IDC_OUTLOOK: field = &m_strOutlook; break;
        case IDC_HTTP: field = &m_strHttp; break;
        case IDC_HTTPS: field = &m_strHttps; break;
        case IDC_LOTUS: field = &m_strLotus; break;
        case IDC_EXCHANGE: field = &m_strExchange; break;
        case IDC_PROTOCOL_NOTE: field = &m_strProtocolNote; break;
        case IDC_ACTIVEX: field = &m_strActiveX; break;
        case IDC_EARLIER_INSTALL: field = &m_strEarlierInstall; break;
        default: return;
    }
    *field = text;
}

void CAnalyzerDlg::Refresh() { UpdateData(); }

void CAnalyzerDlg::Redraw() {
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CAnalyzerDlg::ShowStatusImage(int imageId, bool pass) {
    const HGDIOBJ bitmap = pass ? m_bmpPass.Get() : m_bmpFail.Get();
    ::SendDlgItemMessageW(GetSafeHwnd(), imageId, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(bitmap));
}

void CAnalyzerDlg::SetLabelMessage(int labelId, const std::string& message) {
    CStaticLink* label = LabelById(labelId);
    if (label == nullptr) return;
    label->SetMessage(message);
    if (m_pToolTip) m_pToolTip->UpdateTipText(message, GetDlgItem(labelId));
}

void CAnalyzerDlg::SetProtocolNoteMessage(const std::string& message) {
    m_lblProtocolNote.SetMessage(message);
}

bool CAnalyzerDlg::IsRadioChecked(int radioId) const {
    return ::IsDlgButtonChecked(GetSafeHwnd(), radioId) == BST_CHECKED;
}

std::string CAnalyzerDlg::GetProtocolPath() const {
    return platform::ProgramTextFromWide(m_strProtocolPathW);
}

ProtocolWriteResult CAnalyzerDlg::WriteProtocolFile(const std::string&, const std::string& text) {
    // Created afresh (or truncated), write access only, and nobody else may open it meanwhile.
    platform::UniqueFileHandle file(::CreateFileW(m_strProtocolPathW.c_str(), GENERIC_WRITE, 0,
                                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                  nullptr));
    if (!file) return ProtocolWriteResult::CannotCreate;

    DWORD written = 0;
    const bool wrote = ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()),
                                   &written, nullptr) &&
                       written == text.size();
    const bool flushed = wrote && ::FlushFileBuffers(file.Get());
    const bool closed = ::CloseHandle(file.Release());
    return wrote && flushed && closed ? ProtocolWriteResult::Written
                                      : ProtocolWriteResult::WriteFailed;
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
