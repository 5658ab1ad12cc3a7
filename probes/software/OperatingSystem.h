// A one-line description of the running Windows version, from the version record and,
// for early NT systems, the registry.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

// Which form of the version record Windows filled in.
enum class VersionRecordKind {
    Unavailable,  // neither the extended nor the plain record could be read
    Plain,        // only the plain record: no suite mask, no product type
    Extended,
};

// The fields of the Windows version record that the description uses, named as Windows
// names them.
struct OsVersionRecord {
    VersionRecordKind kind = VersionRecordKind::Unavailable;
    std::uint32_t dwMajorVersion = 0;
    std::uint32_t dwMinorVersion = 0;
    std::uint32_t dwBuildNumber = 0;
    std::uint32_t dwPlatformId = 0;
    std::string szCSDVersion;       // service-pack text, up to its first zero byte
    std::uint16_t wSuiteMask = 0;   // extended record only
    std::uint8_t wProductType = 0;  // extended record only
};

constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWin32Windows = 1;
constexpr std::uint32_t kPlatformWin32NT = 2;

constexpr std::uint16_t kSuiteEnterprise = 0x0002;
constexpr std::uint16_t kSuiteDatacenter = 0x0080;

constexpr std::uint8_t kProductWorkstation = 1;
constexpr std::uint8_t kProductDomainController = 2;
constexpr std::uint8_t kProductServer = 3;

// What the description asks of the system: the version record and, for early NT systems,
// the registry.
class OsSource : public virtual platform::RegistryReader {
public:
    // The record as GetVersionExA gives it: first the extended record, then the plain one.
    virtual OsVersionRecord ReadOsVersionRecord() const = 0;
};

// Never fails; may return an empty text.
std::string DescribeOperatingSystem(const OsSource& system);
