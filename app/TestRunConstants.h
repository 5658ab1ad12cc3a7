// The fixed inputs of a test run: thresholds, minimum versions, blacklists, the conflicting
// services and the two addresses requested (chosen at build time, see cmake/TestUrls.cmake).
#pragma once

#include <cstdint>

#include "TestUrls.h"

namespace run {

inline constexpr std::int32_t kRequiredDiskBytes = 100000000;  // "cca 100 MB"

// shlwapi.dll of Internet Explorer 5.5 SP1
inline constexpr std::int32_t kIeMajor = 5, kIeMinor = 50, kIeBuild = 4522;

inline constexpr const char* kConflictingServices =
    "MS Exchange:MSExchangeSA,MSExchangeIS,MSExchangeDS,MSExchangeMTA,MSExchangeMSMI,"
    "MSExchangeDX,MSExchangeIMC,MSExchangeFB,MSExchangeES,MSPOP3Connector;"
    "ISA Server:w3proxy;Lotus Domino Server:Lotus Domino Server*";

inline constexpr std::int32_t kOutlookMajor = 9, kOutlookMinor = 0, kOutlookBuild = 4527;
inline constexpr const char* kOutlookBlacklist = "10.0.2627;";

inline constexpr std::int32_t kNotesMajor = 5, kNotesMinor = 0, kNotesBuild = 6;
// The versions the Lotus Notes conflict message forbids: 5.0.11, 6.0 and 6.0.1.
inline constexpr const char* kNotesBlacklist = "5.0.11;6.0.0;6.0.1;";

}  // namespace run
