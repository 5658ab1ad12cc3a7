#include "app/win32/Win32Probes.h"

#include "probes/mail/NotesProbeWin32.h"
#include "probes/mail/OutlookProbeWin32.h"
#include "probes/network/WinInetClientWin32.h"
#include "probes/software/Accounts.h"
#include "probes/software/ConflictingServices.h"
#include "probes/software/EarlierInstallation.h"
#include "probes/software/InternetExplorer.h"
#include "probes/software/OperatingSystem.h"

Win32Probes::Win32Probes(HWND dialog) : m_hDialog(dialog) {}
Win32Probes::~Win32Probes() = default;

std::string Win32Probes::GetMemoryText() { return m_hardware.GetMemoryText(); }
std::string Win32Probes::GetProcessorText() { return m_hardware.GetProcessorText(); }
std::string Win32Probes::GetDiskText() { return m_hardware.GetDiskText(); }
bool Win32Probes::HasEnoughDiskSpace(std::int32_t requiredBytes) {
    return m_hardware.HasEnoughDiskSpace(requiredBytes);
}

std::string Win32Probes::DescribeOperatingSystem() { return ::DescribeOperatingSystem(); }
std::string Win32Probes::DescribeIeVersion() { return ::DescribeIeVersion(); }
bool Win32Probes::IsIeVersionAtLeast(std::int32_t major, std::int32_t minor, std::int32_t build) {
    return ::IsIeVersionAtLeast(major, minor, build);
}
bool Win32Probes::CheckActiveXZonePolicy(const std::string& url, std::string& detail) {
    return ::CheckActiveXZonePolicy(url, detail);
}
bool Win32Probes::CheckEarlierInstallation(std::string& text) {
    return ::CheckEarlierInstallation(text);
}

bool Win32Probes::TestUrl(const std::string& url, std::string& message) {
    if (!m_pHttp) m_pHttp = std::make_unique<HttpProbe>(MakeHttpProbe());
    return m_pHttp->TestUrl(url, message);
}

bool Win32Probes::IsUserInAdministrators() { return ::IsUserInAdministrators(); }
std::string Win32Probes::GetPrimaryDomainName() { return ::GetPrimaryDomainName(); }
std::string Win32Probes::FindConflictingServices(const std::string& conflictSpec) {
    return ::FindConflictingServices(conflictSpec);
}

OutlookProbeWin32& Win32Probes::Outlook() {
    if (!m_pOutlook) m_pOutlook = std::make_unique<OutlookProbeWin32>(m_hDialog);
    return *m_pOutlook;
}
NotesProbeWin32& Win32Probes::Notes() {
    if (!m_pNotes) m_pNotes = std::make_unique<NotesProbeWin32>();
    return *m_pNotes;
}

std::string Win32Probes::GetOutlookVersionText() { return Outlook().Probe().GetOutlookVersionText(); }
bool Win32Probes::CheckOutlookVersion(std::int32_t major, std::int32_t minor, std::int32_t build,
                                      const std::string& blacklist) {
    return Outlook().Probe().CheckOutlookVersion(major, minor, build, blacklist);
}
bool Win32Probes::TestMapiLogon(std::string& message) {
    return Outlook().Probe().TestMapiLogon(message);
}
std::string Win32Probes::GetNotesVersionText() { return Notes().Probe().GetNotesVersionText(); }
bool Win32Probes::CheckNotesVersion(std::int32_t major, std::int32_t minor, std::int32_t build,
                                    const std::string& blacklist) {
    return Notes().Probe().CheckNotesVersion(major, minor, build, blacklist);
}
