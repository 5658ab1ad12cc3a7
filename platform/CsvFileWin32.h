// Appends one row to a CSV file that many PCs write at once, often on a share.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

namespace platform {

// How long a file that another writer holds open is waited for by default.
inline constexpr std::chrono::milliseconds kCsvBusyWait = std::chrono::seconds(60);

// Adds `rowLine` at the end of the file at `path` (UNC paths included), first the UTF-8
// byte-order mark and `headerLine` when the file is new or empty. Both lines are complete,
// "\r\n" included. The file is held without sharing, so each row is written whole or not at
// all and rows of several PCs never interleave; a file held by another writer is tried again
// every 250 ms for `busyWait`, or until the event `stop` (may be null) is set. Returns false
// when the row was not written: a missing folder, no access, a file that stayed busy, a failed
// write, or a path that is a link; in an `elevated` run also a path with a link on the way to
// it (OutputPathWin32.h).
bool AppendCsvRow(const std::wstring& path, const std::string& headerLine,
                  const std::string& rowLine, bool elevated,
                  std::chrono::milliseconds busyWait = kCsvBusyWait, HANDLE stop = nullptr);

}  // namespace platform
