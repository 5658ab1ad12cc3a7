// The probes of one test run on this PC. The probe objects (hardware, HTTP, mail clients)
// live exactly as long as this object, which OnTest creates for one run.
#pragma once

#include <windows.h>

#include <memory>

#include "app/TestRunProbes.h"
#include "probes/hardware/HardwareInfo.h"
#include "probes/hardware/HardwareSourceWin32.h"
#include "probes/network/HttpProbe.h"

class OutlookProbeWin32;
class NotesProbeWin32;

class Win32Probes final : public TestRunProbes {
public:
    // `dialog` is disabled while MAPI may show its own windows.
    explicit Win32Probes(HWND dialog);
    ~Win32Probes() override;

    std::string GetMemoryText() override;
    std::string GetProcessorText() override;
    std::string GetDiskText() override;
    bool HasEnoughDiskSpace(std::int32_t requiredBytes) override;
    std::string DescribeOperatingSystem() override;
    std::string DescribeIeVersion() override;
    bool IsIeVersionAtLeast(std::int32_t major, std::int32_t minor, std::int32_t build) override;
    bool CheckActiveXZonePolicy(const std::string& url, std::string& detail) override;
    bool CheckEarlierInstallation(std::string& text) override;
    bool TestUrl(const std::string& url, std::string& message) override;
    bool IsUserInAdministrators() override;
    std::string GetPrimaryDomainName() override;
    std::string FindConflictingServices(const std::string& conflictSpec) override;
    std::string GetOutlookVersionText() override;
    bool CheckOutlookVersion(std::int32_t major, std::int32_t minor, std::int32_t build,
                             const std::string& blacklist) override;
    bool TestMapiLogon(std::string& message) override;
    std::string GetNotesVersionText() override;
    bool CheckNotesVersion(std::int32_t major, std::int32_t minor, std::int32_t build,
                           const std::string& blacklist) override;

private:
    OutlookProbeWin32& Outlook();
    NotesProbeWin32& Notes();

    HWND m_hDialog;
    HardwareSourceWin32 m_hardwareSource;
    CHardwareInfo m_hardware{m_hardwareSource};
    std::unique_ptr<HttpProbe> m_pHttp;
    // Made when the run reaches the installation type that needs them.
    std::unique_ptr<OutlookProbeWin32> m_pOutlook;
    std::unique_ptr<NotesProbeWin32> m_pNotes;
};
