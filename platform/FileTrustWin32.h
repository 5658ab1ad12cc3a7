// What Windows says about a path, for the rule of FileTrust.h.
#pragma once

#include <string>

#include "platform/FileTrust.h"

namespace platform {

// Reads the owner and access list and the attributes of each name of TrustChain(path), and the
// type of its drive; reads nothing for a path that has no chain. `path` is taken in the ANSI code
// page, as the loader takes the same name, so both see the same file.
PathFacts ReadPathFacts(const std::string& path);

}  // namespace platform
