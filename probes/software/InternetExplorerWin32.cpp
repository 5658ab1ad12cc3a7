#include <windows.h>
#include <urlmon.h>

#include "platform/EncodingWin32.h"
#include "probes/software/InternetExplorer.h"
#include "probes/software/ModuleVersion.h"

namespace {

// Owns one reference to a COM interface.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (m_p != nullptr) m_p->Release();
    }
    Interface* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    void** Receive() { return reinterpret_cast<void**>(&m_p); }

private:
    Interface* m_p = nullptr;
};

// COM for the lifetime of one check; uninitialised only when this call initialised it.
class ComApartment {
public:
    ComApartment() : m_initialized(SUCCEEDED(::CoInitialize(nullptr))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (m_initialized) ::CoUninitialize();
    }

private:
    bool m_initialized;
};

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
    ComApartment m_apartment;
    ComRef<IInternetZoneManager> m_zones;
    ComRef<IInternetSecurityManager> m_security;
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
