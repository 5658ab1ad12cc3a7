// The MS Outlook probe on the real platform: the registry in its native and then its
// 32-bit view, ModuleVersion for OUTLLIB.DLL and the system's "mapi32.DLL".
#pragma once

#include <windows.h>

#include "platform/RegistryWin32.h"
#include "probes/mail/FileVersionSourceWin32.h"
#include "probes/mail/MailOwnerWindowWin32.h"
#include "probes/mail/MapiLibraryWin32.h"
#include "probes/mail/OutlookProbe.h"

class OutlookProbeWin32 {
public:
    // `owner` (may be null) is disabled during the MAPI log-on, then enabled and focused.
    explicit OutlookProbeWin32(HWND owner);

    OutlookProbeWin32(const OutlookProbeWin32&) = delete;
    OutlookProbeWin32& operator=(const OutlookProbeWin32&) = delete;

    OutlookProbe& Probe() { return m_probe; }

private:
    platform::RegistryWin32 m_registry;
    ModuleVersionSource m_versions;
    MapiLoaderWin32 m_mapi;
    HwndOwnerWindow m_owner;
    OutlookProbe m_probe;
};
