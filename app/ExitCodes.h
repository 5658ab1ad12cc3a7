// What the process returns: logon scripts, scheduled tasks and deployment systems read it to
// tell the outcome of a silent run.
#pragma once

#include <cstddef>

inline constexpr int kExitPassed = 0;
inline constexpr int kExitConflictsFound = 1;
inline constexpr int kExitCommandLineNotUnderstood = 2;
inline constexpr int kExitCsvNotWritten = 3;  // also a report's page or merged CSV file
// /report found no row it could read.
inline constexpr int kExitNoReadableRow = 4;
// The protocol file could not be created or written.
inline constexpr int kExitProtocolNotCreated = -2;

// The exit code of a silent run that ended: a protocol that was not written wins over a
// CSV row that was not, which wins over the conflicts found.
inline int ExitCodeOf(bool protocolWritten, bool csvWritten, std::size_t conflicts) {
    if (!protocolWritten) return kExitProtocolNotCreated;
    if (!csvWritten) return kExitCsvNotWritten;
    return conflicts == 0 ? kExitPassed : kExitConflictsFound;
}
