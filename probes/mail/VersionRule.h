// The rule both mail client probes judge an installed version by: a minimum and a blacklist.
#pragma once

#include <string>

#include "probes/software/Version.h"

// True when `version` reaches `minimum` and its key "major.minor.build;" does not occur
// anywhere in `blacklist`, a text of such entries written back to back ("5.0.11;6.0.0;").
bool IsVersionAccepted(const Version& version, const Version& minimum,
                       const std::string& blacklist);
