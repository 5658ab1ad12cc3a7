#include "probes/mail/OutlookProbe.h"

#include "platform/Text.h"
#include "probes/mail/VersionRule.h"

namespace {

constexpr std::size_t kClassIdMaxBytes = 1024;
constexpr std::size_t kServerPathMaxBytes = 8000;

// Only ASCII letters change: the path is then matched against an ASCII file name, and
// the file system ignores letter case anyway.
std::string ToUpperAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

// Lets the owner go again however the log-on test ends.
class OwnerDisabledScope {
public:
    explicit OwnerDisabledScope(MailOwnerWindow* owner) : m_owner(owner) {
        if (m_owner != nullptr) m_owner->Disable();
    }
    OwnerDisabledScope(const OwnerDisabledScope&) = delete;
    OwnerDisabledScope& operator=(const OwnerDisabledScope&) = delete;
    ~OwnerDisabledScope() {
        if (m_owner != nullptr) m_owner->EnableAndFocus();
    }

private:
    MailOwnerWindow* m_owner;
};

// The log-on steps once the library is loaded; the caller unloads it afterwards.
bool LogOn(MapiLibrary& mapi, std::string& message) {
    if (!mapi.HasInitialize()) {
        message = "Failed to initialize MAPI (MAPIInitialize).";
        return false;
    }
    if (mapi.Initialize(kMapiInitVersion, kMapiMultithreadNotifications) < 0) {
        message = "Failed to initialise MAPI (Initialize)";
        return false;
    }
    bool loggedOn = false;
    if (!mapi.HasLogonEx()) {
        message = "Failed to initialize MAPI (MAPILogonEx).";
    } else {
        MapiSession session = nullptr;
        // No parent window, an empty (not null) profile name and no password: MAPI asks
        // the user for the profile.
        if (mapi.LogonEx(0, "", nullptr, kMapiLogonUi | kMapiNewSession | kMapiExplicitProfile,
                         &session) < 0) {
            message = "MAPI Logon failed.";
        } else {
            message = "OK";
            loggedOn = true;
            // The session only proves that the log-on works; nothing else is done with it.
            if (session != nullptr) mapi.ReleaseSession(session);
        }
    }
    if (mapi.HasUninitialize()) mapi.Uninitialize();
    return loggedOn;
}

}  // namespace

std::string OutlookProbe::GetOutlookLibraryPath() const {
    std::string serverKey;
    if (const auto classId = m_registry.ReadString(platform::RegistryRoot::ClassesRoot,
                                                   "Outlook.Application\\CLSID", "",
                                                   kClassIdMaxBytes)) {
        serverKey = "CLSID\\" + *classId + "\\LocalServer32";
    }
    std::string path;
    if (!serverKey.empty()) {
        // Taken as registered: quotes or switches around the program path stay in it.
        path = m_registry
                   .ReadString(platform::RegistryRoot::ClassesRoot, serverKey, "",
                               kServerPathMaxBytes)
                   .value_or(std::string());
    }
    return text::ReplaceAll(ToUpperAscii(path), "\\OUTLOOK.EXE", "\\OUTLLIB.DLL");
}

FileVersion OutlookProbe::ReadLibraryVersion() const {
    const std::string path = GetOutlookLibraryPath();
    if (path.empty()) return FileVersion();
    return m_versions.Read(path);
}

std::string OutlookProbe::GetOutlookVersionText() const {
    const FileVersion version = ReadLibraryVersion();
    if (!version.found) return std::string();
    return text::Format("MS Outlook %d.%d.%d", static_cast<int>(version.major),
                        static_cast<int>(version.minor), static_cast<int>(version.build));
}

bool OutlookProbe::CheckOutlookVersion(std::int32_t minMajor, std::int32_t minMinor,
                                       std::int32_t minBuild,
                                       const std::string& blacklist) const {
    // The numbers count as they stand even when no version was found: what was not
    // parsed is 0 and fails any real minimum.
    const FileVersion version = ReadLibraryVersion();
    return IsVersionAccepted(version.major, version.minor, version.build, minMajor, minMinor,
                             minBuild, blacklist);
}

bool OutlookProbe::TestMapiLogon(std::string& message) {
    const OwnerDisabledScope ownerDisabled(m_pOwner);
    std::unique_ptr<MapiLibrary> mapi = m_mapi.Load();
    if (!mapi) {
        message = "Failed to initialize MAPI.";
        return false;
    }
    return LogOn(*mapi, message);
}
