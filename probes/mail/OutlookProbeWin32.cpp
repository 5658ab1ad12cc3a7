#include "probes/mail/OutlookProbeWin32.h"

OutlookProbeWin32::OutlookProbeWin32(HWND owner)
    // 32-bit Office registers its classes in the 32-bit view of HKEY_CLASSES_ROOT.
    : m_registry(platform::RegistryViews::NativeThen32Bit),
      m_owner(owner),
      m_probe(&m_owner, m_registry, m_versions, m_mapi) {}
