// Appends one row to a CSV file that many PCs write at once, often on a share.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

namespace platform {

// How long a file that another writer holds open is waited for by default.
inline constexpr std::chrono::milliseconds kCsvBusyWait = std::chrono::seconds(60);

// Adds `rowLine` at the end of the file at `path` (UNC paths included) as SharedCsvAppendix
// says: the header into a new file, a line break where the last line lacks one, and nothing
// into a file that starts with another header. Both lines are complete,
// "\r\n" included. The file is held without sharing, so each row is written whole or not at
// all and rows of several PCs never interleave; a file held by another writer is tried again
// every 250 ms for `busyWait`, or until the event `stop` (may be null) is set. Returns false
// when the row was not written: a missing folder, no access, a file that stayed busy, a failed
// write, a path that is a link, another header; in an `elevated` run also a path with a link
// on the way to it (OutputPathWin32.h).
bool AppendCsvRow(const std::wstring& path, const std::string& headerLine,
                  const std::string& rowLine, bool elevated,
                  std::chrono::milliseconds busyWait = kCsvBusyWait, HANDLE stop = nullptr);

// A drop folder rather than a shared file: a path that ends in "\\" or "/", or an existing
// folder. Each PC writes a file of its own into it.
bool IsDropFolder(const std::wstring& path);

// Writes `fileName` in the drop folder `folder`: the byte-order mark, `headerLine` and `rowLine`,
// new and moved into place, so that a rerun replaces the PC's earlier answer and no PC ever
// waits for another. False when the file was not written; in an `elevated` run also for a path
// with a link on the way to it.
bool WriteDropFile(const std::wstring& folder, const std::wstring& fileName,
                   const std::string& headerLine, const std::string& rowLine, bool elevated);

}  // namespace platform
