// What the process returns: logon scripts, scheduled tasks and deployment systems read it to
// tell the outcome of an unattended run.
#pragma once

inline constexpr int kExitPassed = 0;
inline constexpr int kExitConflictsFound = 1;
inline constexpr int kExitCommandLineNotUnderstood = 2;
inline constexpr int kExitCsvNotWritten = 3;
// The protocol file could not be created or written.
inline constexpr int kExitProtocolNotCreated = -2;
