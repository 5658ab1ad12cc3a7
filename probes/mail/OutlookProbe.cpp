#include "probes/mail/OutlookProbe.h"

#include "platform/FileTrust.h"
#include "platform/Text.h"
#include "probes/mail/VersionRule.h"

// The result texts are kept exactly as users and support know them, "initialise" beside
// "initialize" included: do not correct them.

namespace {

constexpr std::size_t kClassIdMaxBytes = 1024;
constexpr std::size_t kServerPathMaxBytes = 8000;
const char kMailClientsKey[] = "Software\\Clients\\Mail";
// The DOS header, and the PE header wherever a usual module puts it.
constexpr std::size_t kHeaderBytes = 4096;

// Lets the owner go again however the log-on test ends.
class OwnerDisabledScope {
public:
    explicit OwnerDisabledScope(OutlookSource& system) : m_system(system) {
        m_system.DisableOwner();
    }
    OwnerDisabledScope(const OwnerDisabledScope&) = delete;
    OwnerDisabledScope& operator=(const OwnerDisabledScope&) = delete;
    ~OwnerDisabledScope() { m_system.EnableAndFocusOwner(); }

private:
    OutlookSource& m_system;
};

// The log-on steps once the library is loaded; the caller unloads it afterwards.
bool LogOn(MapiLibrary& mapi, std::string& message, bool showWindows) {
    const auto initialized = mapi.Initialize(kMapiInitVersion, kMapiMultithreadNotifications);
    if (!initialized) {
        message = "Failed to initialize MAPI (MAPIInitialize).";
        return false;
    }
    if (*initialized < 0) {
        message = "Failed to initialise MAPI (Initialize)";
        return false;
    }
    // No parent window, an empty (not null) profile name and no password: MAPI asks the
    // user for the profile. Where nobody can answer, the default profile or nothing.
    const auto loggedOn =
        showWindows
            ? mapi.LogonEx(0, "", nullptr, kMapiLogonUi | kMapiNewSession | kMapiExplicitProfile)
            : mapi.LogonEx(0, nullptr, nullptr, kMapiNewSession | kMapiUseDefault);
    if (!loggedOn) {
        message = "Failed to initialize MAPI (MAPILogonEx).";
    } else {
        message = *loggedOn < 0 ? "MAPI Logon failed." : "OK";
    }
    mapi.Uninitialize();
    return loggedOn && *loggedOn >= 0;
}

// The library, the text and the verdict of a log-on belong to its thread: one given up at its
// deadline may end long after the probe is gone.
struct MapiSession {
    std::unique_ptr<MapiLibrary> mapi;
    std::string message;
    bool loggedOn = false;
};

bool LogOnInSession(OutlookSource& system, std::string& message, bool showWindows) {
    auto session = std::make_shared<MapiSession>();
    session->mapi = system.LoadMapi();
    if (!session->mapi) {
        message = "Failed to initialize MAPI.";
        return false;
    }
    const std::uint32_t deadline = showWindows ? OutlookProbe::kDialogLogonMilliseconds
                                               : OutlookProbe::kSilentLogonMilliseconds;
    const bool ended = system.RunMapiSession(
        [session, showWindows] {
            session->loggedOn = LogOn(*session->mapi, session->message, showWindows);
        },
        deadline);
    if (!ended) {
        message = "MAPI Logon failed.";
        return false;
    }
    message = session->message;
    return session->loggedOn;
}

}  // namespace

std::optional<std::string> MailClientLibrary(const platform::RegistryReader& registry) {
    const auto client = registry.ReadString(platform::RegistryRoot::LocalMachine, kMailClientsKey,
                                            "", kServerPathMaxBytes);
    if (!client || client->empty()) return std::nullopt;
    const std::string clientKey = kMailClientsKey + ("\\" + *client);
    auto library = registry.ReadString(platform::RegistryRoot::LocalMachine, clientKey, "DLLPathEx",
                                       kServerPathMaxBytes);
    if (!library || library->empty()) {
        library = registry.ReadString(platform::RegistryRoot::LocalMachine, clientKey, "DLLPath",
                                      kServerPathMaxBytes);
    }
    if (!library || library->empty()) return std::nullopt;
    return library;
}

std::string OutlookProbe::GetOutlookLibraryPath() const {
    if (m_strLibraryPath) return *m_strLibraryPath;
    const auto root =
        m_bElevated ? platform::RegistryRoot::LocalMachine : platform::RegistryRoot::ClassesRoot;
    const std::string classes = m_bElevated ? "SOFTWARE\\Classes\\" : "";
    std::string serverKey;
    if (const auto classId = m_system.ReadString(root, classes + "Outlook.Application\\CLSID", "",
                                                 kClassIdMaxBytes)) {
        serverKey = classes + "CLSID\\" + *classId + "\\LocalServer32";
    }
    std::string path;
    if (!serverKey.empty()) {
        // Taken as registered: quotes or switches around the program path stay in it.
        path =
            m_system.ReadString(root, serverKey, "", kServerPathMaxBytes).value_or(std::string());
    }
    m_strLibraryPath =
        platform::ReplaceAll(platform::ToUpperAscii(path), "\\OUTLOOK.EXE", "\\OUTLLIB.DLL");
    return *m_strLibraryPath;
}

const ModuleVersion& OutlookProbe::LibraryVersion() const {
    if (!m_libraryVersion) {
        const std::string path = GetOutlookLibraryPath();
        m_libraryVersion = path.empty() ? ModuleVersion() : ModuleVersion(m_system, path);
    }
    return *m_libraryVersion;
}

std::string OutlookProbe::GetOutlookVersionText() const {
    const ModuleVersion& version = LibraryVersion();
    return version.found ? "MS Outlook " + version.Text() : std::string();
}

bool OutlookProbe::CheckOutlookVersion(const Version& minimum, const std::string& blacklist) const {
    // The numbers count as they stand even when no version was found: what was not
    // parsed is 0 and fails any real minimum.
    return IsVersionAccepted(LibraryVersion(), minimum, blacklist);
}

bool OutlookProbe::TestMapiLogon(std::string& message, bool showWindows) {
    bool loggedOn = false;
    {
        const OwnerDisabledScope ownerDisabled(m_system);
        if (const std::optional<std::string> untrusted = UntrustedMailClientText()) {
            message = *untrusted;
        } else {
            loggedOn = LogOnInSession(m_system, message, showWindows);
        }
    }
    if (!loggedOn) {
        // After the failed step, so that support still sees which one it was.
        if (const auto foreign = ForeignOutlookText()) message += " " + *foreign;
    }
    return loggedOn;
}

// With administrator rights the system's MAPI would run the mail client's library, and its
// folder would join the library search: only where nobody else can have changed either. A run
// that is not elevated runs the user's own library as the user, as MAPI always does.
std::optional<std::string> OutlookProbe::UntrustedMailClientText() const {
    if (!m_bElevated) return std::nullopt;
    const auto library = MailClientLibrary(m_system);
    if (!library ||
        platform::OnlyAdministratorsCanChange(*library, m_system.ReadPathFacts(*library))) {
        return std::nullopt;
    }
    return "Failed to initialize MAPI (the mail client's " + *library +
           " may be changed by users).";
}

std::optional<std::string> OutlookProbe::ForeignOutlookText() const {
    const std::string path = GetOutlookLibraryPath();
    if (path.empty()) return std::nullopt;
    const auto fileStart = m_system.ReadFileStart(path, kHeaderBytes);
    const auto machine = fileStart ? PeMachineType(*fileStart) : std::nullopt;
    if (!machine || *machine == m_system.ProgramMachineType()) return std::nullopt;
    if (*machine == kMachineX86) {
        return "Failed to log on to MAPI: MS Outlook is 32-bit, use the 32-bit "
               "TarnvikAnalyzer.exe.";
    }
    if (*machine == kMachineX64) {
        return "Failed to log on to MAPI: MS Outlook is 64-bit, use the x64 TarnvikAnalyzer.exe.";
    }
    return std::nullopt;
}
