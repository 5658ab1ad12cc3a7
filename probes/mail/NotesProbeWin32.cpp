#include "probes/mail/NotesProbeWin32.h"

NotesProbeWin32::NotesProbeWin32()
    // The 32-bit Notes installer writes HKLM\SOFTWARE into the 32-bit view.
    : m_registry(platform::RegistryViews::NativeThen32Bit),
      m_probe(m_registry, m_versions, m_strings) {}
