// Who may change a file or folder, as its permissions say.
#pragma once

#include <string>

namespace platform {

// False when the file or folder at `path` lets the groups that every user of the PC belongs
// to (Users, Authenticated Users, Everyone, INTERACTIVE) change its data, attributes, name or
// permissions; also when it has no permissions at all or they cannot be read.
bool OnlyAdministratorsCanWrite(const std::string& path);

}  // namespace platform
