#include "probes/software/ConflictingServices.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kProductSpecification[] =
    "MS Exchange:MSExchangeSA,MSExchangeIS,MSExchangeDS,MSExchangeMTA,MSExchangeMSMI,"
    "MSExchangeDX,MSExchangeIMC,MSExchangeFB,MSExchangeES,MSPOP3Connector;ISA Server:w3proxy;"
    "Lotus Domino Server:Lotus Domino Server*";

// Stopped, demand-start services registered for the length of one test. The image need
// not exist: the probe only looks services up and lists them.
class TestServices {
public:
    explicit TestServices(const std::vector<std::wstring>& keyNames)
        : m_manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)) {
        EXPECT_NE(m_manager, nullptr) << "OpenSCManagerW failed: " << ::GetLastError();
        for (const std::wstring& name : keyNames) {
            SC_HANDLE service = m_manager ? ::CreateServiceW(
                m_manager, name.c_str(), (L"Display of " + name).c_str(), SERVICE_ALL_ACCESS,
                SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                L"C:\\windows\\system32\\tarnvik-test-service.exe", nullptr, nullptr, nullptr, nullptr,
                nullptr) : nullptr;
            EXPECT_NE(service, nullptr) << "CreateServiceW failed: " << ::GetLastError();
            if (service) m_services.push_back(service);
        }
    }
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;
    ~TestServices() {
        for (SC_HANDLE service : m_services) {
            EXPECT_TRUE(::DeleteService(service)) << "DeleteService failed: " << ::GetLastError();
            ::CloseServiceHandle(service);
        }
        if (m_manager) ::CloseServiceHandle(m_manager);
    }

private:
    SC_HANDLE m_manager;
    std::vector<SC_HANDLE> m_services;
};

TEST(ConflictingServicesWin32, KeyNamesIgnoreCaseAndProductsAreJoinedInSpecificationOrder) {
    {
        const TestServices installed({L"w3proxy", L"MSExchangeSA", L"MSExchangeIS"});
        EXPECT_TRUE(ServiceExists("MSExchangeIS"));
        EXPECT_TRUE(ServiceExists("msexchangeis"));
        EXPECT_FALSE(ServiceExists("MSExchange"));
        // The display name is not a key name.
        EXPECT_FALSE(ServiceExists("Display of MSExchangeIS"));
        EXPECT_EQ(FindConflictingServices(kProductSpecification), "MS Exchange, ISA Server");
        EXPECT_EQ(FindConflictingServices("MS Exchange:msexchangeis"), "MS Exchange");
    }
    EXPECT_FALSE(ServiceExists("MSExchangeIS"));
}

TEST(ConflictingServicesWin32, PrefixMustStandAtTheStartOfTheKeyName) {
    {
        // With no listed service installed nothing is found.
        const TestServices installed({L"My Lotus Domino Server"});
        EXPECT_FALSE(AnyServiceNameStartsWith("Lotus Domino Server"));
        EXPECT_EQ(FindConflictingServices(kProductSpecification), "");
    }
    const TestServices installed({L"Lotus Domino Server (Lotusdominodata)"});
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
    const TestServices installed({L"Tarnvik Služba Ťest"});
    EXPECT_TRUE(AnyServiceNameStartsWith("tarnvik SLUŽBA ť"));
    EXPECT_TRUE(ServiceExists("TARNVIK Služba Ťest"));
    EXPECT_FALSE(AnyServiceNameStartsWith("Tarnvik Sluzba"));
}

TEST(ConflictingServicesWin32, EnumerationReachesEveryService) {
    // Many services with long names, so that the listing outgrows its first buffer; the
    // first and the last of them must both be seen.
    const std::string prefix = "zz Tarnvik enumeration test service with a long key name ";
    std::vector<std::wstring> names;
    for (int i = 100; i < 160; ++i)
        names.push_back(std::wstring(prefix.begin(), prefix.end()) + std::to_wstring(i));
    const TestServices installed(names);
    EXPECT_TRUE(AnyServiceNameStartsWith(prefix + "100"));
    EXPECT_TRUE(AnyServiceNameStartsWith(prefix + "159"));
    EXPECT_FALSE(AnyServiceNameStartsWith(prefix + "160"));
}

}  // namespace
