// The Lotus Notes probe on the real platform: the registry in its native and then its
// 32-bit view, ModuleVersion for the program file and "nstrings.dll" mapped as data.
#pragma once

#include "platform/RegistryWin32.h"
#include "probes/mail/FileVersionSourceWin32.h"
#include "probes/mail/NotesProbe.h"
#include "probes/mail/StringTableSourceWin32.h"

class NotesProbeWin32 {
public:
    NotesProbeWin32();

    NotesProbeWin32(const NotesProbeWin32&) = delete;
    NotesProbeWin32& operator=(const NotesProbeWin32&) = delete;

    NotesProbe& Probe() { return m_probe; }

private:
    platform::RegistryWin32 m_registry;
    ModuleVersionSource m_versions;
    DataFileStringTable m_strings;
    NotesProbe m_probe;
};
