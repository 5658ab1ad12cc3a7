// Files a run with administrator rights writes: never through a link on the way to them, which a
// user could have made to send the write into a file that only the run may change.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// False when `path` is on a local drive and one of its names that exist already is a junction,
// a symbolic link or another reparse point. Paths on shares are the server's to resolve.
bool HasNoLinkOnPath(const std::wstring& path);

// False when the opened `file` of a local `path` turns out to be another file than the one the
// path names, as Windows Vista and later can tell; true where they cannot.
bool IsOpenedAsNamed(HANDLE file, const std::wstring& path);

}  // namespace platform
