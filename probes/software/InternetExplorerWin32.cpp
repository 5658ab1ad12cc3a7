#include <windows.h>
#include <urlmon.h>

#include "platform/ComWin32.h"
#include "platform/EncodingWin32.h"
#include "probes/PcWin32.h"

static_assert(kUrlActionActiveXRun == URLACTION_ACTIVEX_RUN &&
              kUrlActionDownloadSignedActiveX == URLACTION_DOWNLOAD_SIGNED_ACTIVEX &&
              kUrlActionScriptSafeActiveX == URLACTION_SCRIPT_SAFE_ACTIVEX &&
              kUrlPolicyDisallow == URLPOLICY_DISALLOW);

std::optional<std::vector<std::optional<std::uint32_t>>> PcWin32::ReadActionPolicies(
    const std::string& url, const std::vector<std::uint32_t>& actions) {
    // Declared in this order so that both managers are released before COM goes.
    const platform::ComApartment apartment;
    platform::ComRef<IInternetZoneManager> zones;
    platform::ComRef<IInternetSecurityManager> security;
    if (FAILED(::CoCreateInstance(CLSID_InternetZoneManager, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IInternetZoneManager, zones.Receive())) ||
        FAILED(::CoCreateInstance(CLSID_InternetSecurityManager, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IInternetSecurityManager, security.Receive()))) {
        return std::nullopt;
    }
    // A failed mapping may leave an invalid zone behind; the Internet zone stands then.
    DWORD zone = URLZONE_INTERNET;
    DWORD mapped = URLZONE_INTERNET;
    if (SUCCEEDED(security->MapUrlToZone(platform::WideFromProgramText(url).c_str(), &mapped, 0))) {
        zone = mapped;
    }
    std::vector<std::optional<std::uint32_t>> policies;
    for (const std::uint32_t action : actions) {
        DWORD policy = 0;
        const bool answered = SUCCEEDED(zones->GetZoneActionPolicy(
            zone, action, reinterpret_cast<BYTE*>(&policy), sizeof(policy), URLZONEREG_HKCU));
        policies.push_back(answered ? std::optional<std::uint32_t>(policy) : std::nullopt);
    }
    return policies;
}
