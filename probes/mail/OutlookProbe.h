// MS Outlook: its version, found through its COM registration, and a MAPI log-on test.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "probes/software/ModuleVersion.h"

// Values of the MAPI interface that the log-on test passes.
inline constexpr std::uint32_t kMapiInitVersion = 0;
inline constexpr std::uint32_t kMapiMultithreadNotifications = 0x1;
inline constexpr std::uint32_t kMapiLogonUi = 0x01;
inline constexpr std::uint32_t kMapiNewSession = 0x02;
inline constexpr std::uint32_t kMapiExplicitProfile = 0x10;

// One loaded MAPI library; destroying it unloads the library. Each call answers empty when
// the library lacks the entry point; results are HRESULTs, negative for failure.
class MapiLibrary {
public:
    virtual ~MapiLibrary() = default;
    virtual std::optional<std::int32_t> Initialize(std::uint32_t version, std::uint32_t flags) = 0;
    // A session it delivers is released at once: it only proves that the log-on works.
    virtual std::optional<std::int32_t> LogonEx(std::uintptr_t parentWindow,
                                                const char* profileName, const char* password,
                                                std::uint32_t flags) = 0;
    // Does nothing when the library lacks the entry point.
    virtual void Uninitialize() = 0;
};

// What the MS Outlook probe asks of the system.
class OutlookSource : public virtual platform::RegistryReader,
                      public virtual ModuleVersionSource {
public:
    // The window that owns the log-on (the main dialog), kept disabled while MAPI may show
    // its own windows; enabling it again also gives it the keyboard focus.
    virtual void DisableOwner() = 0;
    virtual void EnableAndFocusOwner() = 0;
    // The system's MAPI library, or null when it cannot be loaded.
    virtual std::unique_ptr<MapiLibrary> LoadMapi() = 0;
};

class OutlookProbe {
public:
    // `system` is not owned and must outlive the probe.
    explicit OutlookProbe(OutlookSource& system) : m_system(system) {}

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
    ModuleVersion ReadLibraryVersion() const;

    OutlookSource& m_system;
};
