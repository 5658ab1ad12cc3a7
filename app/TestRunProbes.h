// The probes as the test run calls them, in one interface so that the run's order, texts and
// verdicts can be tested without Windows. One object serves one test run.
#pragma once

#include <cstdint>
#include <string>

class TestRunProbes {
public:
    virtual ~TestRunProbes() = default;

    virtual std::string GetMemoryText() = 0;
    virtual std::string GetProcessorText() = 0;
    virtual std::string GetDiskText() = 0;
    virtual bool HasEnoughDiskSpace(std::int32_t requiredBytes) = 0;
    virtual std::string DescribeOperatingSystem() = 0;
    virtual std::string DescribeIeVersion() = 0;
    virtual bool IsIeVersionAtLeast(std::int32_t major, std::int32_t minor, std::int32_t build) = 0;
    virtual bool CheckActiveXZonePolicy(const std::string& url, std::string& detail) = 0;
    virtual bool CheckEarlierInstallation(std::string& text) = 0;
    virtual bool TestUrl(const std::string& url, std::string& message) = 0;
    virtual bool IsUserInAdministrators() = 0;
    virtual std::string GetPrimaryDomainName() = 0;
    virtual std::string FindConflictingServices(const std::string& conflictSpec) = 0;
    virtual std::string GetOutlookVersionText() = 0;
    virtual bool CheckOutlookVersion(std::int32_t major, std::int32_t minor, std::int32_t build,
                                     const std::string& blacklist) = 0;
    virtual bool TestMapiLogon(std::string& message) = 0;
    virtual std::string GetNotesVersionText() = 0;
    virtual bool CheckNotesVersion(std::int32_t major, std::int32_t minor, std::int32_t build,
                                   const std::string& blacklist) = 0;
};
