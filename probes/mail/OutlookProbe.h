// MS Outlook: its version, found through its COM registration, and a MAPI log-on test.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "probes/mail/PeMachineType.h"
#include "probes/software/ModuleVersion.h"

// Values of the MAPI interface that the log-on test passes.
inline constexpr std::uint32_t kMapiInitVersion = 0;
inline constexpr std::uint32_t kMapiMultithreadNotifications = 0x1;
inline constexpr std::uint32_t kMapiLogonUi = 0x01;
inline constexpr std::uint32_t kMapiNewSession = 0x02;
inline constexpr std::uint32_t kMapiExplicitProfile = 0x10;
inline constexpr std::uint32_t kMapiUseDefault = 0x40;

// One loaded MAPI library; destroying it unloads the library. Each call answers empty when
// the library lacks the entry point; results are HRESULTs, negative for failure. MAPI wants
// every thread that calls it to have initialised it: all calls come from one thread.
class MapiLibrary {
public:
    virtual ~MapiLibrary() = default;
    virtual std::optional<std::int32_t> Initialize(std::uint32_t version, std::uint32_t flags) = 0;
    // A session it delivers is logged off and released at once: it only proves that the
    // log-on works.
    virtual std::optional<std::int32_t> LogonEx(std::uintptr_t parentWindow,
                                                const char* profileName, const char* password,
                                                std::uint32_t flags) = 0;
    // Does nothing when the library lacks the entry point.
    virtual void Uninitialize() = 0;
};

// What the MS Outlook probe asks of the system.
class OutlookSource : public virtual platform::RegistryReader, public virtual ModuleVersionSource {
public:
    // The window that owns the log-on (the main dialog), kept disabled while MAPI may show
    // its own windows; enabling it again also gives it the keyboard focus.
    virtual void DisableOwner() = 0;
    virtual void EnableAndFocusOwner() = 0;
    // The system's MAPI library, or null when it cannot be loaded.
    virtual std::unique_ptr<MapiLibrary> LoadMapi() = 0;
    // Runs `session` on a thread of its own and waits for it at most `deadlineMilliseconds`
    // (less when the run is cancelled). False when it had not ended by then: it may still run
    // on, so everything it touches must be its own.
    virtual bool RunMapiSession(std::function<void()> session,
                                std::uint32_t deadlineMilliseconds) = 0;
    // Up to `size` bytes from the start of the file, read as data; empty when it cannot be read.
    virtual std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::string& path,
                                                                   std::size_t size) const = 0;
    // The machine type this program is built for, as a PE header names it.
    virtual std::uint16_t ProgramMachineType() const = 0;
};

// The registered mail client's own MAPI library, which the system's MAPI loads
// (HKLM\Software\Clients\Mail: the client named by its default value, then its DLLPathEx,
// or its DLLPath where that is missing or empty). Empty when none is registered.
std::optional<std::string> MailClientLibrary(const platform::RegistryReader& registry);

class OutlookProbe {
public:
    // `system` is not owned and must outlive the probe. `elevated`: the process acts with the
    // Administrators group enabled (IsUserInAdministrators).
    OutlookProbe(OutlookSource& system, bool elevated) : m_system(system), m_bElevated(elevated) {}

    // The presumed path of OUTLLIB.DLL beside the registered OUTLOOK.EXE, upper case;
    // empty when MS Outlook is not registered. An elevated process reads the machine's class
    // registration only: the merged classes let each user's own registration win, and the
    // library is then loaded with administrator rights.
    std::string GetOutlookLibraryPath() const;
    // "MS Outlook 10.0.2627", or empty when no version was found.
    std::string GetOutlookVersionText() const;
    bool CheckOutlookVersion(const Version& minimum, const std::string& blacklist) const;

    // A log-on where nobody can answer MAPI's windows: after this it counts as failed.
    static constexpr std::uint32_t kSilentLogonMilliseconds = 120000;
    // MAPI's windows wait for the user; a user who walked away is not waited for all day.
    static constexpr std::uint32_t kDialogLogonMilliseconds = 600000;

    // Logs on to MAPI with a new session and MAPI's own profile choice, or, without
    // `showWindows`, with the default profile and no window at all. Every MAPI call, from
    // initialising to uninitialising, is made on one thread, which is given up at its deadline.
    // Sets `message` to "OK" or to the step that failed; true only when the log-on succeeded. MAPI
    // runs inside the program, so it cannot work for an MS Outlook built for the other machine
    // type: a failed log-on then also names the build of this program to use instead. An
    // elevated run loads nothing when the mail client's library is one that users may have
    // changed.
    bool TestMapiLogon(std::string& message, bool showWindows);

private:
    // The registry and the library are read once, whatever asks for them first.
    const ModuleVersion& LibraryVersion() const;
    std::optional<std::string> ForeignOutlookText() const;
    std::optional<std::string> UntrustedMailClientText() const;

    OutlookSource& m_system;
    bool m_bElevated;
    mutable std::optional<std::string> m_strLibraryPath;
    mutable std::optional<ModuleVersion> m_libraryVersion;
};
