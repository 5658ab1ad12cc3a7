// Files the program writes: written new and moved into place.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// Writes all of `bytes` at the file's position and flushes them to the disk; false when any
// of it did not get there.
bool WriteWholeAndFlush(HANDLE file, const std::string& bytes);

// `folder` with a separator at its end, where it has none yet: "C:\x" and "C:\x\" give "C:\x\".
std::wstring WithSeparator(const std::wstring& folder);

enum class FileWriteResult {
    Written,
    // The new file cannot be created beside the old one, or the old one cannot be replaced
    // (held open by another process, read-only, a folder).
    CannotCreate,
    // Writing or flushing the new file failed, as on a full disk.
    WriteFailed,
};

// Writes `bytes` to a new file in the folder of `path` and then moves it over `path`. A link
// at `path` is replaced, never written through; the old file stays whole until the new one
// is complete, and the new file is removed again when anything fails. An `elevated` run also
// refuses a path with a link on the way to it (OutputPathWin32.h): it cannot create the file.
FileWriteResult WriteFileByReplacement(const std::wstring& path, const std::string& bytes,
                                       bool elevated);

}  // namespace platform
