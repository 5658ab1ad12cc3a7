// MS Outlook: its version, found through its COM registration, and a MAPI log-on test.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"
#include "probes/mail/FileVersionSource.h"
#include "probes/mail/MailOwnerWindow.h"
#include "probes/mail/MapiLibrary.h"

class OutlookProbe {
public:
    // `owner` (may be null) is disabled during the log-on test; it and the seams are not
    // owned and must outlive the probe.
    OutlookProbe(MailOwnerWindow* owner, const platform::RegistryReader& registry,
                 const FileVersionSource& versions, MapiLoader& mapi)
        : m_pOwner(owner), m_registry(registry), m_versions(versions), m_mapi(mapi) {}

    // The presumed path of OUTLLIB.DLL beside the registered OUTLOOK.EXE, upper case;
    // empty when MS Outlook is not registered.
    std::string GetOutlookLibraryPath() const;
    // "MS Outlook 10.0.2627", or empty when no version was found.
    std::string GetOutlookVersionText() const;
    bool CheckOutlookVersion(std::int32_t minMajor, std::int32_t minMinor, std::int32_t minBuild,
                             const std::string& blacklist) const;

    // Logs on to MAPI with a new session and MAPI's own profile choice. Sets `message`
    // to "OK" or to the step that failed; true only when the log-on succeeded.
    bool TestMapiLogon(std::string& message);

private:
    FileVersion ReadLibraryVersion() const;

    MailOwnerWindow* m_pOwner;
    const platform::RegistryReader& m_registry;
    const FileVersionSource& m_versions;
    MapiLoader& m_mapi;
};
