#include "probes/software/ConflictingServices.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char kProductSpecification[] =
    "MS Exchange:MSExchangeSA,MSExchangeIS,MSExchangeDS,MSExchangeMTA,MSExchangeMSMI,"
    "MSExchangeDX,MSExchangeIMC,MSExchangeFB,MSExchangeES,MSPOP3Connector;ISA Server:w3proxy;"
    "Lotus Domino Server:Lotus Domino Server*";

// A stopped, demand-start service registered for the length of one test. The image need
// not exist: the probe only looks services up and lists them.
class TestService {
public:
    explicit TestService(const std::wstring& keyName) : m_name(keyName) {
        SC_HANDLE manager = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        if (manager == nullptr) {
            ADD_FAILURE() << "OpenSCManagerW failed: " << ::GetLastError();
            return;
        }
        SC_HANDLE service = ::CreateServiceW(
            manager, m_name.c_str(), (L"Display of " + m_name).c_str(), SERVICE_ALL_ACCESS,
            SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
            L"C:\\windows\\system32\\tarnvik-test-service.exe", nullptr, nullptr, nullptr,
            nullptr, nullptr);
        if (service == nullptr) {
            ADD_FAILURE() << "CreateServiceW failed: " << ::GetLastError();
        } else {
            ::CloseServiceHandle(service);
            m_created = true;
        }
        ::CloseServiceHandle(manager);
    }
    TestService(const TestService&) = delete;
    TestService& operator=(const TestService&) = delete;
    ~TestService() {
        if (!m_created) return;
        SC_HANDLE manager = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        SC_HANDLE service = manager ? ::OpenServiceW(manager, m_name.c_str(), DELETE) : nullptr;
        EXPECT_TRUE(service != nullptr && ::DeleteService(service))
            << "deleting the test service failed: " << ::GetLastError();
        if (service) ::CloseServiceHandle(service);
        if (manager) ::CloseServiceHandle(manager);
    }

private:
    std::wstring m_name;
    bool m_created = false;
};

using Services = std::vector<std::unique_ptr<TestService>>;

Services Install(std::initializer_list<const wchar_t*> names) {
    Services services;
    for (const wchar_t* name : names) services.push_back(std::make_unique<TestService>(name));
    return services;
}

TEST(ConflictingServicesWin32, NoListedServiceGivesEmptyResult) {
    EXPECT_FALSE(ServiceExists("MSExchangeIS"));
    EXPECT_FALSE(AnyServiceNameStartsWith("Lotus Domino Server"));
    EXPECT_EQ(FindConflictingServices(kProductSpecification), "");
}

TEST(ConflictingServicesWin32, KeyNameLookupIgnoresCase) {
    {
        const Services installed = Install({L"MSExchangeIS"});
        EXPECT_TRUE(ServiceExists("MSExchangeIS"));
        EXPECT_TRUE(ServiceExists("msexchangeis"));
        EXPECT_FALSE(ServiceExists("MSExchange"));
        // The display name is not a key name.
        EXPECT_FALSE(ServiceExists("Display of MSExchangeIS"));
        EXPECT_EQ(FindConflictingServices(kProductSpecification), "MS Exchange");
        EXPECT_EQ(FindConflictingServices("MS Exchange:msexchangeis"), "MS Exchange");
    }
    EXPECT_FALSE(ServiceExists("MSExchangeIS"));
}

TEST(ConflictingServicesWin32, SeveralProductsAreJoinedInSpecificationOrder) {
    const Services installed = Install({L"w3proxy", L"MSExchangeSA", L"MSExchangeDS"});
    EXPECT_EQ(FindConflictingServices(kProductSpecification), "MS Exchange, ISA Server");
}

TEST(ConflictingServicesWin32, PrefixMustStandAtTheStartOfTheKeyName) {
    {
        const Services installed = Install({L"My Lotus Domino Server"});
        EXPECT_FALSE(AnyServiceNameStartsWith("Lotus Domino Server"));
        EXPECT_EQ(FindConflictingServices(kProductSpecification), "");
    }
    const Services installed = Install({L"Lotus Domino Server (Lotusdominodata)"});
    EXPECT_TRUE(AnyServiceNameStartsWith("Lotus Domino Server"));
    EXPECT_TRUE(AnyServiceNameStartsWith("lotus DOMINO server (LOTUS"));
    EXPECT_FALSE(AnyServiceNameStartsWith("Lotus Domino Server (Lotusdominodata) 2"));
    EXPECT_EQ(FindConflictingServices(kProductSpecification), "Lotus Domino Server");
}

TEST(ConflictingServicesWin32, LoneStarMatchesTheSystemsOwnServices) {
    EXPECT_TRUE(AnyServiceNameStartsWith(""));
    EXPECT_EQ(FindConflictingServices("Any:*"), "Any");
}

TEST(ConflictingServicesWin32, NonAsciiNamesMatchInEveryCase) {
    // ž and Ť are code page 1250 letters with lower-case forms outside ASCII.
    const Services installed = Install({L"Tarnvik Služba Ťest"});
    EXPECT_TRUE(AnyServiceNameStartsWith("tarnvik SLUŽBA ť"));
    EXPECT_TRUE(ServiceExists("TARNVIK Služba Ťest"));
    EXPECT_FALSE(AnyServiceNameStartsWith("Tarnvik Sluzba"));
}

TEST(ConflictingServicesWin32, EnumerationReachesEveryService) {
    // Many services with long names, so that the listing outgrows its first buffer; the
    // first and the last of them must both be seen.
    std::vector<std::wstring> names;
    for (int i = 0; i < 60; ++i) {
        wchar_t name[128];
        ::wsprintfW(name, L"zz Tarnvik enumeration test service with a long key name %03d", i);
        names.push_back(name);
    }
    Services installed;
    for (const std::wstring& name : names) installed.push_back(std::make_unique<TestService>(name));
    EXPECT_TRUE(AnyServiceNameStartsWith("zz Tarnvik enumeration test service with a long key name 000"));
    EXPECT_TRUE(AnyServiceNameStartsWith("zz Tarnvik enumeration test service with a long key name 059"));
    EXPECT_FALSE(AnyServiceNameStartsWith("zz Tarnvik enumeration test service with a long key name 060"));
}

}  // namespace
