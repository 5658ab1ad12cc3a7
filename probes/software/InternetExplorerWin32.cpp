#include <windows.h>
#include <urlmon.h>

#include "platform/ComWin32.h"
#include "platform/EncodingWin32.h"
#include "probes/software/InternetExplorer.h"
#include "probes/software/ModuleVersion.h"

namespace {

// The browser's own zone and security managers. Members are released in reverse order,
// so both managers go before COM is uninitialised.
class ZonePolicyWin32 final : public ZonePolicySource {
public:
    bool OpenZoneOf(const std::string& url) override {
        if (FAILED(::CoCreateInstance(CLSID_InternetZoneManager, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IInternetZoneManager, m_zones.Receive())) ||
            FAILED(::CoCreateInstance(CLSID_InternetSecurityManager, nullptr,
                                      CLSCTX_INPROC_SERVER, IID_IInternetSecurityManager,
                                      m_security.Receive()))) {
            return false;
        }
        const std::wstring wideUrl = platform::WideFromProgramText(url);
        // A failed mapping may leave an invalid zone behind; the Internet zone stands then.
        DWORD zone = URLZONE_INTERNET;
        if (SUCCEEDED(m_security->MapUrlToZone(wideUrl.c_str(), &zone, 0))) m_zone = zone;
        return true;
    }

    std::optional<std::uint32_t> ActionPolicy(std::uint32_t action) const override {
        DWORD policy = 0;
        if (FAILED(m_zones->GetZoneActionPolicy(m_zone, action, reinterpret_cast<BYTE*>(&policy),
                                                sizeof(policy), URLZONEREG_HKCU))) {
            return std::nullopt;
        }
        return policy;
    }

private:
    platform::ComApartment m_apartment;
    platform::ComRef<IInternetZoneManager> m_zones;
    platform::ComRef<IInternetSecurityManager> m_security;
    DWORD m_zone = URLZONE_INTERNET;
};

}  // namespace

std::string DescribeIeVersion() { return DescribeIeVersion(ModuleVersion(kIeVersionLibrary)); }

bool IsIeVersionAtLeast(std::int32_t major, std::int32_t minor, std::int32_t build) {
    return IsIeVersionAtLeast(ModuleVersion(kIeVersionLibrary), major, minor, build);
}

bool CheckActiveXZonePolicy(std::string url, std::string& detail) {
    ZonePolicyWin32 source;
    return CheckActiveXZonePolicy(source, url, detail);
}
